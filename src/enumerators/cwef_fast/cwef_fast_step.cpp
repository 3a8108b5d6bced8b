#include "enumerators/cwef_fast/cwef_fast_step.h"

#include <algorithm>
#include <cstring>

#include "enumerators/log_table.h"

namespace brevandor {

namespace {

template <typename Cell>
using Source = typename RowAdvancer<Cell>::Source;

template <typename Cell>
void copyPositions(Cell* out, const Source<Cell>& source, std::int32_t first, std::int32_t last) {
  if (first <= last) {
    std::memcpy(out + first, source.at(first),
                static_cast<std::size_t>(last - first + 1) * sizeof(Cell));
  }
}

template <typename Cell>
void clearPositions(Cell* out, std::int32_t first, std::int32_t last) {
  std::fill(out + first, out + last + 1, kLogZeroCell<Cell>);
}

// Two sources: their overlap is summed, the rest copied, and a gap between them cleared.
template <typename Cell>
void combineTwo(Cell* out, const Source<Cell>& a, const Source<Cell>& b,
                const BasicLogAddRowKernels<Cell>& kernels) {
  const std::int32_t overlapFirst = std::max(a.first, b.first);
  const std::int32_t overlapLast = std::min(a.last, b.last);
  if (overlapFirst > overlapLast) {
    const Source<Cell>& low = a.first < b.first ? a : b;
    const Source<Cell>& high = a.first < b.first ? b : a;
    copyPositions(out, low, low.first, low.last);
    clearPositions(out, low.last + 1, high.first - 1);
    copyPositions(out, high, high.first, high.last);
    return;
  }
  kernels.sumPairs(out + overlapFirst, a.at(overlapFirst), b.at(overlapFirst),
                   static_cast<std::size_t>(overlapLast - overlapFirst + 1));
  const Source<Cell>& leading = a.first < b.first ? a : b;
  copyPositions(out, leading, std::min(a.first, b.first), overlapFirst - 1);
  const Source<Cell>& trailing = a.last > b.last ? a : b;
  copyPositions(out, trailing, overlapLast + 1, std::max(a.last, b.last));
}

// Any number of sources, summed in order into a cleared row.
template <typename Cell>
void combineInOrder(Cell* out, const Source<Cell>* sources, std::size_t count, std::int32_t first,
                    std::int32_t last, const BasicLogAddRowKernels<Cell>& kernels) {
  clearPositions(out, first, last);
  copyPositions(out, sources[0], sources[0].first, sources[0].last);
  for (std::size_t i = 1; i < count; ++i) {
    const Source<Cell>& s = sources[i];
    kernels.sumPairs(out + s.first, out + s.first, s.at(s.first),
                     static_cast<std::size_t>(s.last - s.first + 1));
  }
}

}  // namespace

template <typename Cell>
void startFirstSection(const CwefPlan& plan, CompactLayer<Cell>& layer) {
  for (std::int32_t s = 0; s < plan.states; ++s) {
    const auto& start = plan.start[static_cast<std::size_t>(s)];
    if (start.has_value() && start->index < plan.capacity[static_cast<std::size_t>(s)]) {
      CompactRow<Cell>& row = layer.row(s, start->outputWeight);
      row.cells[start->index] = Cell{0};  // one path: log10 1
      row.first = start->index;
      row.last = start->index;
    }
  }
}

template <typename Cell>
RowAdvancer<Cell>::RowAdvancer(const CwefPlan& plan, const Kernels& kernels)
    : plan_(plan), kernels_(kernels), ranges_(static_cast<std::size_t>(plan.states)) {
  std::size_t widest = 0;
  for (const auto& phase : plan.inflowByPhase) {
    for (const auto& branches : phase) {
      widest = std::max(widest, branches.size());
    }
  }
  sources_.resize(widest);
}

template <typename Cell>
std::pair<std::int32_t, std::int32_t> RowAdvancer<Cell>::combine(const Layer& layer,
                                                                 std::int32_t section,
                                                                 std::int32_t to,
                                                                 std::int32_t weight, Cell* out) {
  const auto t = static_cast<std::size_t>(to);
  const std::int32_t capacity = plan_.capacity[t];
  std::size_t count = 0;
  for (const CwefInflow& branch : plan_.inflow(section, to)) {
    const std::int32_t from = weight - branch.outputWeight;
    if (from < 0) {
      continue;
    }
    const CompactRow<Cell>& row = layer.row(branch.from, from);
    const std::int32_t first = row.first + branch.shift;
    // Positions beyond the row's capacity stand for input weights above N: dropped.
    const std::int32_t last = std::min(row.last + branch.shift, capacity - 1);
    if (row.empty() || first > last) {
      continue;
    }
    sources_[count++] = Source{row.cells, branch.shift, first, last};
  }
  if (count == 0) {
    return {0, -1};
  }
  std::int32_t first = sources_[0].first;
  std::int32_t last = sources_[0].last;
  for (std::size_t i = 1; i < count; ++i) {
    first = std::min(first, sources_[i].first);
    last = std::max(last, sources_[i].last);
  }
  if (count == 1) {
    copyPositions(out, sources_[0], first, last);
  } else if (count == 2) {
    combineTwo(out, sources_[0], sources_[1], kernels_);
  } else {
    combineInOrder(out, sources_.data(), count, first, last, kernels_);
  }
  return {first, last};
}

template <typename Cell>
void RowAdvancer<Cell>::advance(Layer& layer, std::int32_t section, std::int32_t weight,
                                std::int32_t slot) {
  for (std::int32_t to = 0; to < plan_.states; ++to) {
    ranges_[static_cast<std::size_t>(to)] =
        combine(layer, section, to, weight, layer.spare(slot, to));
  }
  for (std::int32_t to = 0; to < plan_.states; ++to) {
    const auto& [first, last] = ranges_[static_cast<std::size_t>(to)];
    layer.install(slot, to, weight, first, last);
  }
}

template void startFirstSection(const CwefPlan&, CompactLayer<float>&);
template void startFirstSection(const CwefPlan&, CompactLayer<double>&);
template class RowAdvancer<float>;
template class RowAdvancer<double>;

}  // namespace brevandor
