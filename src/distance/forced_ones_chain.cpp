#include "distance/forced_ones_chain.h"

#include <algorithm>
#include <type_traits>

namespace brevandor {

namespace {

std::int32_t add(std::int32_t a, std::int32_t b) {
  return std::min(a + b, kUnreachableWeight);
}

// Calls `kernel` with the state count as a compile-time constant for the usual trellis sizes,
// so that the S-long loops below are unrolled and vectorised, and as a plain int otherwise.
template <typename Kernel>
auto withStateCount(std::int32_t states, Kernel kernel) {
  switch (states) {
    case 2:
      return kernel(std::integral_constant<std::int32_t, 2>{});
    case 4:
      return kernel(std::integral_constant<std::int32_t, 4>{});
    case 8:
      return kernel(std::integral_constant<std::int32_t, 8>{});
    case 16:
      return kernel(std::integral_constant<std::int32_t, 16>{});
    default:
      return kernel(states);
  }
}

// reached[b] = min over a of at[a] + matrix[a][b]. The sums of two weights ≤ kUnreachableWeight
// stay inside an int32, so the saturation is done once at the end.
template <typename Count>
void minPlusRow(Count states, const std::int32_t* at, const std::int32_t* matrix,
                std::int32_t* reached) {
  const std::int32_t count = states;
  for (std::int32_t b = 0; b < count; ++b) {
    reached[b] = kUnreachableWeight;
  }
  for (std::int32_t a = 0; a < count; ++a) {
    const std::int32_t here = at[a];
    const std::int32_t* row = matrix + static_cast<std::ptrdiff_t>(a) * count;
    for (std::int32_t b = 0; b < count; ++b) {
      reached[b] = std::min(reached[b], here + row[b]);
    }
  }
  for (std::int32_t b = 0; b < count; ++b) {
    reached[b] = std::min(reached[b], kUnreachableWeight);
  }
}

// min over s, c of leave[s] + matrix[s][c] + rest[c] (three weights still fit an int32).
template <typename Count>
std::int32_t minPlusClose(Count states, const std::int32_t* leave, const std::int32_t* matrix,
                          const std::int32_t* rest) {
  const std::int32_t count = states;
  std::int32_t bound = kUnreachableWeight;
  for (std::int32_t s = 0; s < count; ++s) {
    const std::int32_t* row = matrix + static_cast<std::ptrdiff_t>(s) * count;
    std::int32_t best = 2 * kUnreachableWeight;
    for (std::int32_t c = 0; c < count; ++c) {
      best = std::min(best, row[c] + rest[c]);
    }
    bound = std::min(bound, leave[s] + best);
  }
  return std::min(bound, kUnreachableWeight);
}

}  // namespace

ForcedOnesChain::ForcedOnesChain(const ConstituentTables& tables)
    : tables_(tables),
      levels_(1),
      arrive_(static_cast<std::size_t>(tables.states())),
      leave_(static_cast<std::size_t>(tables.states())) {}

void ForcedOnesChain::forceOne(std::int32_t position, std::span<const std::int32_t> before,
                               std::span<std::int32_t> after) const {
  const std::int32_t* weights = tables_.branchWeights(position);
  const std::int32_t* next = tables_.nextStates();
  std::fill(after.begin(), after.end(), kUnreachableWeight);
  for (std::size_t s = 0; s < before.size(); ++s) {
    // The 1-branch of state s: entry 2s + 1. Two weights stay inside an int32.
    std::int32_t& to = after[static_cast<std::size_t>(next[2 * s + 1])];
    to = std::min(to, std::min(before[s] + weights[2 * s + 1], kUnreachableWeight));
  }
}

void ForcedOnesChain::crossGap(std::int32_t from, std::int32_t to, std::span<const std::int32_t> at,
                               std::span<std::int32_t> reached) const {
  const std::int32_t* matrix = tables_.stretchMatrix(to - from);
  withStateCount(tables_.states(),
                 [&](auto states) { minPlusRow(states, at.data(), matrix, reached.data()); });
}

void ForcedOnesChain::computeForward(Level& level, std::size_t from) const {
  const auto states = static_cast<std::size_t>(tables_.states());
  std::vector<std::int32_t>& at = arrive_;
  for (std::size_t i = from; i < level.ones.size(); ++i) {
    const std::int32_t one = level.ones[i];
    if (i == 0) {
      for (std::int32_t s = 0; s < tables_.states(); ++s) {
        at[static_cast<std::size_t>(s)] = tables_.freeFromStart(one, s);
      }
    } else {
      crossGap(level.ones[i - 1] + 1, one,
               std::span<const std::int32_t>(level.forward).subspan(cell(i - 1, 0), states), at);
    }
    forceOne(one, at, std::span<std::int32_t>(level.forward).subspan(cell(i, 0), states));
  }
}

void ForcedOnesChain::computeBackward(Level& level, std::size_t through) const {
  const std::size_t count = level.ones.size();
  for (std::size_t i = through + 1; i-- > 0;) {
    const std::int32_t one = level.ones[i];
    const std::int32_t* matrix =
        i + 1 == count ? nullptr : tables_.stretchMatrix(level.ones[i + 1] - one - 1);
    for (std::int32_t s = 0; s < tables_.states(); ++s) {
      const std::int32_t after = tables_.next(s, 1);
      std::int32_t rest = kUnreachableWeight;
      if (matrix == nullptr) {
        rest = tables_.freeToEnd(one + 1, after);
      } else {
        const std::int32_t* row = matrix + cell(static_cast<std::size_t>(after), 0);
        for (std::int32_t c = 0; c < tables_.states(); ++c) {
          rest = std::min(rest, add(row[c], level.backward[cell(i + 1, c)]));
        }
      }
      level.backward[cell(i, s)] = add(tables_.weight(one, s, 1), rest);
    }
  }
}

void ForcedOnesChain::computeBound(Level& level) const {
  if (level.ones.empty()) {
    level.bound = 0;
    return;
  }
  const std::size_t last = level.ones.size() - 1;
  level.bound = kUnreachableWeight;
  for (std::int32_t s = 0; s < tables_.states(); ++s) {
    level.bound = std::min(
        level.bound, add(level.forward[cell(last, s)], tables_.freeToEnd(level.ones[last] + 1, s)));
  }
}

void ForcedOnesChain::push(std::int32_t position) {
  if (levels_.size() == depth_ + 1) {
    levels_.emplace_back();
  }
  const Level& from = levels_[depth_];
  Level& to = levels_[depth_ + 1];
  const auto at = static_cast<std::size_t>(
      std::lower_bound(from.ones.begin(), from.ones.end(), position) - from.ones.begin());
  to.ones.assign(from.ones.begin(), from.ones.end());
  to.ones.insert(to.ones.begin() + static_cast<std::ptrdiff_t>(at), position);
  const std::size_t cells = cell(to.ones.size(), 0);
  to.forward.resize(cells);
  to.backward.resize(cells);
  // The forward weights before the new one and the backward weights after it stay as they
  // were; the rest depend on it.
  std::copy_n(from.forward.begin(), cell(at, 0), to.forward.begin());
  std::copy(from.backward.begin() + static_cast<std::ptrdiff_t>(cell(at, 0)), from.backward.end(),
            to.backward.begin() + static_cast<std::ptrdiff_t>(cell(at + 1, 0)));
  computeForward(to, at);
  computeBackward(to, at);
  computeBound(to);
  ++depth_;
}

std::int32_t ForcedOnesChain::boundWith(std::int32_t position) const {
  const Level& level = levels_[depth_];
  const auto states = static_cast<std::size_t>(tables_.states());
  const auto at = static_cast<std::size_t>(
      std::lower_bound(level.ones.begin(), level.ones.end(), position) - level.ones.begin());
  if (at == 0) {
    std::copy_n(tables_.freeFromStartRow(position), states, arrive_.begin());
  } else {
    crossGap(level.ones[at - 1] + 1, position,
             std::span<const std::int32_t>(level.forward).subspan(cell(at - 1, 0), states),
             arrive_);
  }
  forceOne(position, arrive_, leave_);
  if (at == level.ones.size()) {
    std::int32_t bound = kUnreachableWeight;
    for (std::int32_t s = 0; s < tables_.states(); ++s) {
      bound = std::min(
          bound, add(leave_[static_cast<std::size_t>(s)], tables_.freeToEnd(position + 1, s)));
    }
    return bound;
  }
  const std::int32_t* matrix = tables_.stretchMatrix(level.ones[at] - position - 1);
  const std::int32_t* rest = level.backward.data() + cell(at, 0);
  return withStateCount(tables_.states(), [&](auto count) {
    return minPlusClose(count, leave_.data(), matrix, rest);
  });
}

}  // namespace brevandor
