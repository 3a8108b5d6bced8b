#include "code/termination.h"

#include <array>
#include <utility>

#include "code/name_table.h"

namespace brevandor {

namespace {

constexpr std::array<std::pair<Termination, std::string_view>, 4> kNames{{
    {Termination::Both, "both"},
    {Termination::First, "first"},
    {Termination::Open, "open"},
    {Termination::TailBiting, "tail-biting"},
}};

}  // namespace

std::string_view terminationName(Termination termination) {
  return nameIn(kNames, termination, "both");
}

std::optional<Termination> parseTermination(std::string_view name) {
  return valueNamed(kNames, name);
}

FrameEnding frameEndingOf(Termination termination, const TailRule& rule, std::int32_t index) {
  FrameEnding ending;
  ending.terminated =
      termination == Termination::Both || (termination == Termination::First && index == 0);
  ending.tailBiting = termination == Termination::TailBiting;
  ending.sendsTailInput = ending.terminated && !(rule.firstTailInputOnly && index > 0);
  ending.punctureTail = ending.terminated && rule.punctureTail;
  return ending;
}

}  // namespace brevandor
