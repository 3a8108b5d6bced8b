#include "enumerators/cwef_fast_layer.h"

#include <utility>

#include "enumerators/log_table.h"

namespace brevandor {

namespace {

template <typename Cell>
std::size_t rowStride(const CwefPlan& plan, std::size_t state) {
  return paddedStride<Cell>(static_cast<std::size_t>(plan.capacity[state]));
}

std::size_t rowsPerBlock(const CwefPlan& plan, std::int32_t slots) {
  return static_cast<std::size_t>(plan.maxWeight) + 1 + static_cast<std::size_t>(slots);
}

}  // namespace

template <typename Cell>
std::uint64_t CompactLayer<Cell>::bytesFor(const CwefPlan& plan, std::int32_t slots) {
  std::uint64_t bytes = 0;
  const auto states = static_cast<std::size_t>(plan.states);
  for (std::size_t s = 0; s < states; ++s) {
    bytes += rowsPerBlock(plan, slots) * rowStride<Cell>(plan, s) * sizeof(Cell);
  }
  const std::uint64_t rows = states * (static_cast<std::uint64_t>(plan.maxWeight) + 1);
  return bytes + rows * sizeof(CompactRow<Cell>) +
         static_cast<std::uint64_t>(slots) * states * sizeof(Cell*);
}

template <typename Cell>
CompactLayer<Cell>::CompactLayer(const CwefPlan& plan, std::int32_t slots)
    : states_(static_cast<std::size_t>(plan.states)),
      rowsPerState_(static_cast<std::size_t>(plan.maxWeight) + 1) {
  blocks_.reserve(states_);
  rows_.resize(states_ * rowsPerState_);
  spares_.resize(static_cast<std::size_t>(slots) * states_);
  for (std::size_t s = 0; s < states_; ++s) {
    const std::size_t stride = rowStride<Cell>(plan, s);
    blocks_.emplace_back(rowsPerBlock(plan, slots) * stride);
    Cell* cells = blocks_.back().data();
    for (std::size_t d = 0; d < rowsPerState_; ++d) {
      rows_[s * rowsPerState_ + d].cells = cells + d * stride;
    }
    for (std::size_t slot = 0; slot < static_cast<std::size_t>(slots); ++slot) {
      spares_[slot * states_ + s] = cells + (rowsPerState_ + slot) * stride;
    }
  }
}

template <typename Cell>
void CompactLayer<Cell>::install(std::int32_t slot, std::int32_t state, std::int32_t weight,
                                 std::int32_t first, std::int32_t last) {
  CompactRow<Cell>& target = row(state, weight);
  target.first = first;
  target.last = last;
  if (first <= last) {
    std::swap(target.cells,
              spares_[static_cast<std::size_t>(slot) * states_ + static_cast<std::size_t>(state)]);
  }
}

template class CompactLayer<float>;
template class CompactLayer<double>;

}  // namespace brevandor
