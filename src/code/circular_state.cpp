#include "code/circular_state.h"

namespace brevandor {

std::int32_t circularStatesOfZeroWord(const ConvCode& code, std::int32_t frameLength) {
  // A state returns to itself after N zero-input sections exactly when it lies on a cycle of
  // the zero-input state map whose length divides N.
  const std::int32_t sections = code.sectionCount(frameLength);
  const auto zeroInputNext = [&](std::int32_t state) {
    return code.forwardTrellis.row(state)[0].state;
  };
  std::int32_t count = 0;
  for (std::int32_t start = 0; start < code.stateCount; ++start) {
    std::int32_t state = zeroInputNext(start);
    std::int32_t length = 1;
    while (state != start && length <= code.stateCount) {
      state = zeroInputNext(state);
      ++length;
    }
    if (state == start && sections % length == 0) {
      ++count;
    }
  }
  return count;
}

bool hasSingleCircularStates(const ConvCode& code, std::int32_t frameLength) {
  return circularStatesOfZeroWord(code, frameLength) == 1;
}

}  // namespace brevandor
