#include "bounds/union/union_bounds.h"

#include <cmath>

#include "bounds/numerics/special_functions.h"
#include "bounds/union/bound_formulas.h"
#include "bounds/union/union_sum.h"

namespace brevandor {

namespace {

// The literal double sum where it holds, else the sum of the log terms in extended precision.
template <typename LogTerm>
BoundValue unionBound(const BoundSpectrum& spectrum, double literalSum, LogTerm&& logTerm) {
  if (spectrum.literal() && literalSumHolds(literalSum)) {
    return literalBound(literalSum);
  }
  return logDomainBound(unionTermSum(spectrum, 0, logTerm));
}

}  // namespace

BoundValue unionQBound(const BoundSpectrum& spectrum, double rate, double snr) {
  const double literal =
      spectrum.literal() ? boundUnionQ(spectrum.scaled, spectrum.maxWeight, rate, snr) : 0.0;
  return unionBound(spectrum, literal, [&](std::int32_t d) {
    const double logQ = logGaussianQ(std::sqrt(2.0 * snr * rate * d));
    return spectrum.logTrue[static_cast<std::size_t>(d)] + logQ;
  });
}

BoundValue unionExpBound(const BoundSpectrum& spectrum, double rate, double snr) {
  const double literal =
      spectrum.literal() ? boundUnionExp(spectrum.scaled, spectrum.maxWeight, rate, snr) : 0.0;
  return unionBound(spectrum, literal, [&](std::int32_t d) {
    return spectrum.logTrue[static_cast<std::size_t>(d)] + (-d * rate * snr);
  });
}

}  // namespace brevandor
