#include "bounds/ber_bounds.h"

#include "bounds/bound_spectrum.h"

namespace brevandor {

std::optional<BoundTables> computeBerBounds(double rate, std::span<const double> weightedSpectrum,
                                            std::int32_t maxWeight, BerBoundSet bounds,
                                            double weightedScale, const RunContext& context,
                                            const EbN0Grid& grid) {
  return computeBoundTables(boundSpectrumFromScaled(weightedSpectrum, maxWeight, weightedScale),
                            rate, bounds, context, grid);
}

std::optional<BoundTables> computeBerBoundsFromLog10(double rate,
                                                     std::span<const double> log10WeightedSpectrum,
                                                     std::int32_t maxWeight, BerBoundSet bounds,
                                                     const RunContext& context,
                                                     const EbN0Grid& grid) {
  return computeBoundTables(boundSpectrumFromLog10(log10WeightedSpectrum, maxWeight), rate, bounds,
                            context, grid);
}

}  // namespace brevandor
