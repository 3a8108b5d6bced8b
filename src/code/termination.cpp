#include "code/termination.h"

#include <array>
#include <utility>

#include "code/name_table.h"

namespace brevandor {

namespace {

constexpr std::array<std::pair<Termination, std::string_view>, 6> kNames{{
    {Termination::Both, "both"},
    {Termination::First, "first"},
    {Termination::Open, "open"},
    {Termination::TailBiting, "tail-biting"},
    {Termination::TailBitingOuter, "tail-biting-outer"},
    {Termination::TailBitingInner, "tail-biting-inner"},
}};

// Whether constituent `index` (0 the outer code) of the termination is tail-biting.
bool tailBitingAt(Termination termination, std::int32_t index) {
  return termination == Termination::TailBiting ||
         (termination == Termination::TailBitingOuter && index == 0) ||
         (termination == Termination::TailBitingInner && index > 0);
}

}  // namespace

std::string_view terminationName(Termination termination) {
  return nameIn(kNames, termination, "both");
}

std::optional<Termination> parseTermination(std::string_view name) {
  return valueNamed(kNames, name);
}

bool hasTailBiting(Termination termination) {
  return tailBitingAt(termination, 0) || tailBitingAt(termination, 1);
}

FrameEnding frameEndingOf(Termination termination, const TailRule& rule, std::int32_t index) {
  FrameEnding ending;
  ending.tailBiting = tailBitingAt(termination, index);
  ending.terminated = termination == Termination::Both ||
                      (termination == Termination::First && index == 0) ||
                      ((termination == Termination::TailBitingOuter ||
                        termination == Termination::TailBitingInner) &&
                       !ending.tailBiting);
  ending.sendsTailInput = ending.terminated && !(rule.firstTailInputOnly && index > 0);
  ending.punctureTail = ending.terminated && rule.punctureTail;
  return ending;
}

}  // namespace brevandor
