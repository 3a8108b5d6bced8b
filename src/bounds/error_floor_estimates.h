#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "bounds/bound_kinds.h"
#include "bounds/ebn0_grid.h"
#include "bounds/union/bound_engines.h"
#include "progress/run_context.h"

namespace brevandor {

// A sum counts as settled when the terms of its last four weights add at most 1 % to it.
inline constexpr std::int32_t kSettlingWeights = 4;
inline constexpr long double kSettlingShare = 0.01L;

// Whether a sum has settled, from the sum and the same sum without its last weights' terms.
constexpr bool sumSettled(long double total, long double withoutLastWeights) {
  return total - withoutLastWeights <= kSettlingShare * total;
}

// The sums of the low-weight mode's "BER" stage: the selected bounds summed over the weights
// d ≤ maxWeight of a code of `blockLength` output bits, and the rows where a sum has not
// settled.
struct ErrorFloorEstimates {
  BoundTables sums;
  std::vector<bool> unsettled;  // one entry per point of the grid
  std::int32_t maxWeight = 0;
  std::int32_t blockLength = 0;
};

// The "BER" stage of the low-weight mode. The weighted spectrum is known for the weights
// d ≤ maxWeight only (log10 values, LogZero for zero). The selected bounds summed over these
// weights are no longer upper bounds but estimates of the error floor. Nothing when cancelled.
std::optional<ErrorFloorEstimates> computeErrorFloorEstimates(
    double rate, std::span<const double> log10WeightedSpectrum, std::int32_t maxWeight,
    std::int32_t blockLength, BerBoundSet bounds, const RunContext& context,
    const EbN0Grid& grid = {});

}  // namespace brevandor
