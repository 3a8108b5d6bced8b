#pragma once

#include <cstdint>
#include <vector>

#include "enumerators/cwef_fast/cwef_fast_layer.h"
#include "enumerators/cwef_fast/cwef_fast_plan.h"
#include "logmath/simd_log_add.h"

namespace brevandor {

// Writes the first section into an empty layer: one path per branch out of state 0.
template <typename Cell>
void startFirstSection(const CwefPlan& plan, CompactLayer<Cell>& layer);

// Advances rows of the layer by one section, one output weight at a time. Keeps its
// scratch between calls, so the recursion allocates nothing; one per concurrent slot.
template <typename Cell>
class RowAdvancer {
 public:
  using Kernels = BasicLogAddRowKernels<Cell>;
  using Layer = CompactLayer<Cell>;

  RowAdvancer(const CwefPlan& plan, const Kernels& kernels);

  // Advances row `weight` of every state to section `section`: the new row of each
  // to-state sums the rows of its from-states that reach it (at the section's branch output
  // weights below `weight`),
  // from-states in order, as the reference recursion adds them. All new rows are computed
  // into the spares of `slot` before any is installed, so the rows of this output weight
  // are read at their old section. Rows below `weight` must still be at the old section.
  void advance(Layer& layer, std::int32_t section, std::int32_t weight, std::int32_t slot);

  // A from-state row as seen from the to-state's row: position j reads cells[j − shift],
  // and positions first … last hold counts.
  struct Source {
    const Cell* cells;
    std::int32_t shift;
    std::int32_t first;
    std::int32_t last;

    const Cell* at(std::int32_t position) const { return cells + (position - shift); }
  };

 private:
  // The new row of one to-state into `out`; returns its first and last position (first >
  // last when no from-state row reaches it).
  std::pair<std::int32_t, std::int32_t> combine(const Layer& layer, std::int32_t section,
                                                std::int32_t to, std::int32_t weight, Cell* out);

  const CwefPlan& plan_;
  const Kernels& kernels_;
  std::vector<Source> sources_;
  std::vector<std::pair<std::int32_t, std::int32_t>> ranges_;
};

}  // namespace brevandor
