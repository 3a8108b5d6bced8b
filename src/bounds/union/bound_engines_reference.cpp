#include <cmath>

#include "bounds/union/bound_engines.h"
#include "bounds/union/bound_formulas.h"
#include "bounds/union/union_sum.h"

namespace brevandor {

namespace {

// The improved bound of the true spectrum, each exponent evaluated afresh.
BoundValue viterbiBoundReference(const BoundSpectrum& spectrum, double rate, double snr) {
  // The literal formula takes its block length from the last entry.
  if (spectrum.literal() && spectrum.blockLength == spectrum.maxWeight) {
    const double sum = boundViterbi(spectrum.scaled, spectrum.maxWeight, rate, snr);
    if (literalSumHolds(sum)) {
      return literalBound(sum);
    }
  }
  const double n = spectrum.blockLength;
  const double c = snr * rate;
  return logDomainBound(unionTermSum(spectrum, 0, [&](std::int32_t d) {
    const double delta = d / n;
    const double r = spectrum.logPerSymbol(d);
    const double rho = optimalRho(delta, r, c);
    return -n * viterbiExponent(rho, delta, r, c);
  }));
}

}  // namespace

std::optional<BoundTables> computeBoundTablesReference(const BoundSpectrum& spectrum, double rate,
                                                       BerBoundSet bounds,
                                                       const RunContext& context,
                                                       const EbN0Grid& grid) {
  return fillBoundTables(spectrum, rate, bounds, context, grid, viterbiBoundReference);
}

}  // namespace brevandor
