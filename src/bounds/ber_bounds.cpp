#include "bounds/ber_bounds.h"

#include "bounds/bound_section.h"
#include "bounds/bound_spectrum.h"
#include "bounds/union/bound_engines.h"

namespace brevandor {

namespace {

std::int32_t evaluateAndWrite(std::FILE* file, double rate, const BoundSpectrum& spectrum,
                              std::int32_t mask, const RunContext& context, const EbN0Grid& grid,
                              BoundTables* written = nullptr) {
  BoundTables tables;
  if (computeBoundTables(spectrum, rate, mask, context, tables, grid) != 0) {
    return -1;
  }
  writeBoundSection(file, rate, mask, tables, grid);
  if (written != nullptr) {
    *written = tables;
  }
  return 0;
}

}  // namespace

std::int32_t computeBerBounds(std::FILE* file, double rate,
                              std::span<const double> weightedSpectrum, std::int32_t maxWeight,
                              std::int32_t mask, double weightedScale, const RunContext& context,
                              const EbN0Grid& grid) {
  return evaluateAndWrite(file, rate,
                          boundSpectrumFromScaled(weightedSpectrum, maxWeight, weightedScale), mask,
                          context, grid);
}

std::int32_t computeBerBoundsFromLog10(std::FILE* file, double rate,
                                       std::span<const double> log10WeightedSpectrum,
                                       std::int32_t maxWeight, std::int32_t mask,
                                       const RunContext& context, const EbN0Grid& grid,
                                       BoundTables* written) {
  return evaluateAndWrite(file, rate, boundSpectrumFromLog10(log10WeightedSpectrum, maxWeight),
                          mask, context, grid, written);
}

}  // namespace brevandor
