#include "code/conv_code.h"

#include <vector>

namespace brevandor {

ConvCode::ConvCode(const CodeDescription& from)
    : description(from), kind(from.kind), k(from.k), n(from.n) {
  registerLength = buildTrellis(description, forwardTrellis, reverseTrellis);
  stateCount = 1 << (registerLength - k);
}

std::int32_t ConvCode::computeTailInputs(std::span<std::int32_t> tails) const {
  struct TailEntry {
    std::int32_t state;
    std::int32_t inputs;
  };
  const std::int32_t sections = registerLength / k - 1;

  // Grow the tree backwards from state 0, one tail section per level.
  std::vector<TailEntry> level;
  for (const TrellisBranch& branch : reverseTrellis.row(0)) {
    if (branch.state >= 0) {
      level.push_back({branch.state, branch.input});
    }
  }
  for (std::int32_t depth = 1; depth < sections; ++depth) {
    std::vector<TailEntry> next;
    for (const TailEntry& entry : level) {
      for (const TrellisBranch& branch : reverseTrellis.row(entry.state)) {
        if (branch.state >= 0) {
          next.push_back({branch.state, branch.input | (entry.inputs << k)});
        }
      }
    }
    level = std::move(next);
  }

  std::vector<bool> marked(static_cast<std::size_t>(stateCount), false);
  for (const TailEntry& entry : level) {
    marked[static_cast<std::size_t>(entry.state)] = true;
  }
  for (const bool isMarked : marked) {
    if (!isMarked) {
      return -1;
    }
  }
  for (const TailEntry& entry : level) {
    tails[static_cast<std::size_t>(entry.state)] = entry.inputs;
  }
  return sections;
}

}  // namespace brevandor
