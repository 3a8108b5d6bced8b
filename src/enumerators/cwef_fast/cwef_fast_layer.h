#pragma once

#include <cstdint>
#include <vector>

#include "enumerators/aligned_buffer.h"
#include "enumerators/cwef_fast/cwef_fast_plan.h"

namespace brevandor {

// One row of the fast CWEF's layer: the counts of one state and output weight, by position
// (see CwefPlan). Only positions first … last hold counts; the rest of the row is unused
// and never read. first > last: the row holds no count. Cells are float or double, as the
// enumerator's tables.
template <typename Cell>
struct CompactRow {
  Cell* cells = nullptr;  // position j at cells[j]; only the row's window is backed by storage
  std::int32_t first = 0;
  std::int32_t last = -1;

  bool empty() const { return first > last; }
};

// The positions a row can ever hold counts in: every path of t sections has an output weight
// d and an input weight w with d − w between t times the smallest and t times the largest
// gain of one branch (its output weight less its input weight). Where every branch adds at
// least as much output as input weight (all output bits of a systematic code are counted, as
// in serial concatenation), row d holds input weights up to d only, and a row's window is
// about half the row.
struct RowWindow {
  std::int32_t low = 0;
  std::int32_t high = -1;

  std::int32_t width() const { return high >= low ? high - low + 1 : 0; }
};
RowWindow rowWindow(const CwefPlan& plan, std::int32_t state, std::int32_t weight);

// The single layer that the fast CWEF updates in place, section after section: S × (D + 1)
// rows, plus a few spare rows per state. A new row is written into a spare and then put in
// place, so the row it replaces stays readable until then: swapped in where every row spans
// all positions, copied into the row's own window where rows are narrower. Each concurrent
// row update ("slot") owns one spare per state.
template <typename Cell>
class CompactLayer {
 public:
  CompactLayer(const CwefPlan& plan, std::int32_t slots);

  // Bytes a layer of this plan with this many slots allocates.
  static std::uint64_t bytesFor(const CwefPlan& plan, std::int32_t slots);

  CompactRow<Cell>& row(std::int32_t state, std::int32_t weight) {
    return rows_[static_cast<std::size_t>(state) * rowsPerState_ +
                 static_cast<std::size_t>(weight)];
  }
  const CompactRow<Cell>& row(std::int32_t state, std::int32_t weight) const {
    return rows_[static_cast<std::size_t>(state) * rowsPerState_ +
                 static_cast<std::size_t>(weight)];
  }
  Cell* spare(std::int32_t slot, std::int32_t state) {
    return spares_[static_cast<std::size_t>(slot) * states_ + static_cast<std::size_t>(state)];
  }
  // Makes the new row in the spare of (slot, state), with counts in first … last, the row
  // (state, weight). An empty result only marks the row empty.
  void install(std::int32_t slot, std::int32_t state, std::int32_t weight, std::int32_t first,
               std::int32_t last);

 private:
  std::size_t states_;
  std::size_t rowsPerState_;
  bool windowed_;                            // rows narrower than the whole row: copied in
  std::vector<AlignedBuffer<Cell>> blocks_;  // per state: its rows and its spares
  std::vector<CompactRow<Cell>> rows_;
  std::vector<Cell*> spares_;
};

}  // namespace brevandor
