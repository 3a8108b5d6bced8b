#include "enumerators/cwef_fast_step.h"

#include <algorithm>
#include <cstring>

#include "enumerators/log_table.h"

namespace brevandor {

namespace {

using Source = RowAdvancer::Source;

void copyPositions(float* out, const Source& source, std::int32_t first, std::int32_t last) {
  if (first <= last) {
    std::memcpy(out + first, source.at(first),
                static_cast<std::size_t>(last - first + 1) * sizeof(float));
  }
}

void clearPositions(float* out, std::int32_t first, std::int32_t last) {
  std::fill(out + first, out + last + 1, kLogZeroFloat);
}

// Two sources: their overlap is summed, the rest copied, and a gap between them cleared.
void combineTwo(float* out, const Source& a, const Source& b, const LogAddRowKernels& kernels) {
  const std::int32_t overlapFirst = std::max(a.first, b.first);
  const std::int32_t overlapLast = std::min(a.last, b.last);
  if (overlapFirst > overlapLast) {
    const Source& low = a.first < b.first ? a : b;
    const Source& high = a.first < b.first ? b : a;
    copyPositions(out, low, low.first, low.last);
    clearPositions(out, low.last + 1, high.first - 1);
    copyPositions(out, high, high.first, high.last);
    return;
  }
  kernels.sumPairs(out + overlapFirst, a.at(overlapFirst), b.at(overlapFirst),
                   static_cast<std::size_t>(overlapLast - overlapFirst + 1));
  const Source& leading = a.first < b.first ? a : b;
  copyPositions(out, leading, std::min(a.first, b.first), overlapFirst - 1);
  const Source& trailing = a.last > b.last ? a : b;
  copyPositions(out, trailing, overlapLast + 1, std::max(a.last, b.last));
}

// Any number of sources, summed in order into a cleared row.
void combineInOrder(float* out, const Source* sources, std::size_t count, std::int32_t first,
                    std::int32_t last, const LogAddRowKernels& kernels) {
  clearPositions(out, first, last);
  copyPositions(out, sources[0], sources[0].first, sources[0].last);
  for (std::size_t i = 1; i < count; ++i) {
    const Source& s = sources[i];
    kernels.sumPairs(out + s.first, out + s.first, s.at(s.first),
                     static_cast<std::size_t>(s.last - s.first + 1));
  }
}

}  // namespace

void startFirstSection(const CwefPlan& plan, CompactLayer& layer) {
  for (std::int32_t s = 0; s < plan.states; ++s) {
    const auto& start = plan.start[static_cast<std::size_t>(s)];
    if (start.has_value() && start->index < plan.capacity[static_cast<std::size_t>(s)]) {
      CompactRow& row = layer.row(s, start->outputWeight);
      row.cells[start->index] = 0.0f;  // one path: log10 1
      row.first = start->index;
      row.last = start->index;
    }
  }
}

RowAdvancer::RowAdvancer(const CwefPlan& plan, const LogAddRowKernels& kernels)
    : plan_(plan), kernels_(kernels), ranges_(static_cast<std::size_t>(plan.states)) {
  std::size_t widest = 0;
  for (const auto& phase : plan.inflowByPhase) {
    for (const auto& branches : phase) {
      widest = std::max(widest, branches.size());
    }
  }
  sources_.resize(widest);
}

std::pair<std::int32_t, std::int32_t> RowAdvancer::combine(const CompactLayer& layer,
                                                           std::int32_t section, std::int32_t to,
                                                           std::int32_t weight, float* out) {
  const auto t = static_cast<std::size_t>(to);
  const std::int32_t capacity = plan_.capacity[t];
  std::size_t count = 0;
  for (const CwefInflow& branch : plan_.inflow(section, to)) {
    const std::int32_t from = weight - branch.outputWeight;
    if (from < 0) {
      continue;
    }
    const CompactRow& row = layer.row(branch.from, from);
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

void RowAdvancer::advance(CompactLayer& layer, std::int32_t section, std::int32_t weight,
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

}  // namespace brevandor
