#include "bench/cwef_cells.h"

#include <algorithm>
#include <vector>

#include "enumerators/cwef_fast/cwef_fast_plan.h"
#include "enumerators/weight_enumerator.h"

namespace brevandor::bench {

namespace {

struct Range {
  std::int32_t first = 0;
  std::int32_t last = -1;
};

}  // namespace

std::int64_t cwefCellUpdates(const ConvCode& code, std::int32_t frameLength,
                             std::uint32_t countsInputBits) {
  WeightEnumerator enumerator;
  enumerator.frameLength = frameLength;
  enumerator.countsInputBits = countsInputBits;
  enumerator.allocateLogTransferMatrix(code);
  enumerator.computeLogTransferMatrix(code);
  const auto plan = buildCwefPlan(enumerator.logTransferMatrix, frameLength,
                                  enumerator.layerMaxWeight(code), code.sectionCount(frameLength));
  if (!plan.has_value()) {
    return 0;
  }
  const auto rows = static_cast<std::size_t>(plan->maxWeight) + 1;
  const auto states = static_cast<std::size_t>(plan->states);
  std::vector<Range> current(states * rows);
  std::vector<Range> next(states * rows);
  for (std::size_t s = 0; s < states; ++s) {
    if (const auto& start = plan->start[s]) {
      current[s * rows + static_cast<std::size_t>(start->outputWeight)] = {start->index,
                                                                           start->index};
    }
  }
  std::int64_t cells = 0;
  for (std::int32_t section = 1; section < plan->sections; ++section) {
    for (std::size_t to = 0; to < states; ++to) {
      for (std::size_t d = 0; d < rows; ++d) {
        Range range;
        for (const CwefInflow& branch : plan->inflow(section, static_cast<std::int32_t>(to))) {
          const auto from = static_cast<std::int64_t>(d) - branch.outputWeight;
          if (from < 0) {
            continue;
          }
          const Range& source = current[static_cast<std::size_t>(branch.from) * rows +
                                        static_cast<std::size_t>(from)];
          const std::int32_t first = source.first + branch.shift;
          const std::int32_t last = std::min(source.last + branch.shift, plan->capacity[to] - 1);
          if (source.first > source.last || first > last) {
            continue;
          }
          range = range.first > range.last
                      ? Range{first, last}
                      : Range{std::min(range.first, first), std::max(range.last, last)};
        }
        next[to * rows + d] = range;
        cells += range.last - range.first + 1;
      }
    }
    std::swap(current, next);
  }
  return cells;
}

}  // namespace brevandor::bench
