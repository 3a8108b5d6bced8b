#pragma once

#include <cstdint>
#include <optional>
#include <span>

#include "bounds/bound_kinds.h"
#include "bounds/ebn0_grid.h"
#include "bounds/union/bound_engines.h"
#include "progress/run_context.h"

namespace brevandor {

// The "BER" stage: evaluates the selected bounds at the points of `grid` (by default
// Eb/N0 = 0, 0.25, … 5 dB) from the weighted spectrum. `weightedSpectrum` holds
// B[0 … maxWeight] as scaleSpectrum left them, divided by 10^weightedScale; every bound term
// puts that factor back, so the bounds are those of the true spectrum. Nothing when cancelled.
std::optional<BoundTables> computeBerBounds(double rate, std::span<const double> weightedSpectrum,
                                            std::int32_t maxWeight, BerBoundSet bounds,
                                            double weightedScale, const RunContext& context,
                                            const EbN0Grid& grid = {});

// The same stage from the weighted spectrum in the log10 domain (LogZero for zero entries), as
// the spectrum stage leaves it before scaling. Identical to computeBerBounds on the scaled
// values, except that entries which scaling by 10^−e would flush to zero (frames where e is
// in the hundreds) still contribute their terms.
std::optional<BoundTables> computeBerBoundsFromLog10(double rate,
                                                     std::span<const double> log10WeightedSpectrum,
                                                     std::int32_t maxWeight, BerBoundSet bounds,
                                                     const RunContext& context,
                                                     const EbN0Grid& grid = {});

}  // namespace brevandor
