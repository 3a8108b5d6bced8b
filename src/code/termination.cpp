#include "code/termination.h"

#include <array>
#include <utility>

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
  for (const auto& [value, name] : kNames) {
    if (value == termination) {
      return name;
    }
  }
  return "both";
}

std::optional<Termination> parseTermination(std::string_view name) {
  for (const auto& [value, known] : kNames) {
    if (known == name) {
      return value;
    }
  }
  return std::nullopt;
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
