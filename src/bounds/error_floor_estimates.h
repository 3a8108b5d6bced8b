#pragma once

#include <cstdint>
#include <cstdio>
#include <span>

#include "bounds/ebn0_grid.h"
#include "progress/run_context.h"

namespace brevandor {

struct BoundTables;

// A sum counts as settled when the terms of its last four weights add at most 1 % to it.
inline constexpr std::int32_t kSettlingWeights = 4;
inline constexpr long double kSettlingShare = 0.01L;

// Whether a sum has settled, from the sum and the same sum without its last weights' terms.
constexpr bool sumSettled(long double total, long double withoutLastWeights) {
  return total - withoutLastWeights <= kSettlingShare * total;
}

// The "BER" stage of the low-weight mode. The weighted spectrum is known for the weights
// d ≤ maxWeight only (log10 values, LogZero for zero) of a code of `blockLength` output bits.
// The selected bounds summed over these weights are no longer upper bounds but estimates of
// the error floor: the section says so under its title, and marks every row where a sum has
// not settled. Returns 0, or −1 when cancelled (nothing is then written). When `written` is
// given, it receives the values the section shows.
std::int32_t computeErrorFloorEstimates(std::FILE* file, double rate,
                                        std::span<const double> log10WeightedSpectrum,
                                        std::int32_t maxWeight, std::int32_t blockLength,
                                        std::int32_t mask, const RunContext& context,
                                        const EbN0Grid& grid = {}, BoundTables* written = nullptr);

}  // namespace brevandor
