#include "enumerators/cwef_fast/cwef_fast_layer.h"

#include <algorithm>
#include <cassert>
#include <cstring>
#include <utility>

#include "enumerators/log_table.h"

namespace brevandor {

namespace {

std::int32_t ceilDivide(std::int32_t numerator, std::int32_t denominator) {
  return numerator >= 0 ? (numerator + denominator - 1) / denominator : -(-numerator / denominator);
}

std::int32_t floorDivide(std::int32_t numerator, std::int32_t denominator) {
  return numerator >= 0 ? numerator / denominator : -((-numerator + denominator - 1) / denominator);
}

// Whether some row's window is narrower than the whole row.
bool anyNarrowRow(const CwefPlan& plan) {
  for (std::int32_t s = 0; s < plan.states; ++s) {
    for (std::int32_t d = 0; d <= plan.maxWeight; ++d) {
      if (rowWindow(plan, s, d).width() < plan.capacity[static_cast<std::size_t>(s)]) {
        return true;
      }
    }
  }
  return false;
}

// Cells of storage of each row of a state: its window, or the whole row.
template <typename Cell>
std::size_t rowCells(const CwefPlan& plan, bool windowed, std::int32_t state, std::int32_t weight) {
  const std::int32_t width = windowed ? rowWindow(plan, state, weight).width()
                                      : plan.capacity[static_cast<std::size_t>(state)];
  return paddedStride<Cell>(static_cast<std::size_t>(width));
}

template <typename Cell>
std::size_t spareCells(const CwefPlan& plan, std::int32_t state) {
  return paddedStride<Cell>(
      static_cast<std::size_t>(plan.capacity[static_cast<std::size_t>(state)]));
}

}  // namespace

RowWindow rowWindow(const CwefPlan& plan, std::int32_t state, std::int32_t weight) {
  // d − w lies between min(0, T · smallest gain) and max(0, T · largest gain), T sections.
  const std::int64_t sections = plan.sections;
  const std::int64_t lowest = std::min<std::int64_t>(0, sections * plan.minGain);
  const std::int64_t highest = std::max<std::int64_t>(0, sections * plan.maxGain);
  const auto lowWeight = static_cast<std::int32_t>(std::max<std::int64_t>(0, weight - highest));
  const auto highWeight =
      static_cast<std::int32_t>(std::min<std::int64_t>(plan.frameLength, weight - lowest));
  const std::int32_t offset = plan.classOffset[static_cast<std::size_t>(state)];
  const std::int32_t capacity = plan.capacity[static_cast<std::size_t>(state)];
  return RowWindow{std::max(0, ceilDivide(lowWeight - offset, plan.classStep)),
                   std::min(capacity - 1, floorDivide(highWeight - offset, plan.classStep))};
}

template <typename Cell>
std::uint64_t CompactLayer<Cell>::bytesFor(const CwefPlan& plan, std::int32_t slots) {
  const bool windowed = anyNarrowRow(plan);
  std::uint64_t cells = 0;
  for (std::int32_t s = 0; s < plan.states; ++s) {
    for (std::int32_t d = 0; d <= plan.maxWeight; ++d) {
      cells += rowCells<Cell>(plan, windowed, s, d);
    }
    cells += static_cast<std::uint64_t>(slots) * spareCells<Cell>(plan, s);
  }
  const auto states = static_cast<std::uint64_t>(plan.states);
  const std::uint64_t rows = states * (static_cast<std::uint64_t>(plan.maxWeight) + 1);
  return cells * sizeof(Cell) + rows * sizeof(CompactRow<Cell>) +
         static_cast<std::uint64_t>(slots) * states * sizeof(Cell*);
}

template <typename Cell>
CompactLayer<Cell>::CompactLayer(const CwefPlan& plan, std::int32_t slots)
    : states_(static_cast<std::size_t>(plan.states)),
      rowsPerState_(static_cast<std::size_t>(plan.maxWeight) + 1),
      windowed_(anyNarrowRow(plan)) {
  blocks_.reserve(states_);
  rows_.resize(states_ * rowsPerState_);
  spares_.resize(static_cast<std::size_t>(slots) * states_);
  for (std::int32_t s = 0; s < plan.states; ++s) {
    const auto state = static_cast<std::size_t>(s);
    std::size_t size = static_cast<std::size_t>(slots) * spareCells<Cell>(plan, s);
    for (std::int32_t d = 0; d <= plan.maxWeight; ++d) {
      size += rowCells<Cell>(plan, windowed_, s, d);
    }
    blocks_.emplace_back(size);
    Cell* next = blocks_.back().data();
    for (std::int32_t d = 0; d <= plan.maxWeight; ++d) {
      // A window's storage stands for positions low … high, so that cells[j] is position j.
      const std::int32_t low = windowed_ ? rowWindow(plan, s, d).low : 0;
      rows_[state * rowsPerState_ + static_cast<std::size_t>(d)].cells = next - low;
      next += rowCells<Cell>(plan, windowed_, s, d);
    }
    for (std::size_t slot = 0; slot < static_cast<std::size_t>(slots); ++slot) {
      spares_[slot * states_ + state] = next;
      next += spareCells<Cell>(plan, s);
    }
  }
}

template <typename Cell>
void CompactLayer<Cell>::install(std::int32_t slot, std::int32_t state, std::int32_t weight,
                                 std::int32_t first, std::int32_t last) {
  CompactRow<Cell>& target = row(state, weight);
  target.first = first;
  target.last = last;
  if (first > last) {
    return;
  }
  Cell*& spareCells =
      spares_[static_cast<std::size_t>(slot) * states_ + static_cast<std::size_t>(state)];
  if (!windowed_) {
    std::swap(target.cells, spareCells);
    return;
  }
  std::memcpy(target.cells + first, spareCells + first,
              static_cast<std::size_t>(last - first + 1) * sizeof(Cell));
}

template class CompactLayer<float>;
template class CompactLayer<double>;

}  // namespace brevandor
