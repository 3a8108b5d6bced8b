#include "bounds/union/union_bounds.h"

#include <cmath>

#include "bounds/numerics/special_functions.h"
#include "bounds/union/bound_formulas.h"
#include "logmath/log_sum.h"

namespace brevandor {

long double unionQBound(const BoundSpectrum& spectrum, double rate, double snr) {
  if (spectrum.literal()) {
    const double sum = boundUnionQ(spectrum.scaled, spectrum.maxWeight, rate, snr);
    if (std::isfinite(sum)) {
      return sum;
    }
  }
  LogSum sum;
  for (std::int32_t d = 0; d <= spectrum.maxWeight; ++d) {
    if (spectrum.positive(d)) {
      const double logQ = logGaussianQ(std::sqrt(2.0 * snr * rate * d));
      sum.add(spectrum.logTrue[static_cast<std::size_t>(d)] + logQ);
    }
  }
  return sum.clippedValue();
}

long double unionExpBound(const BoundSpectrum& spectrum, double rate, double snr) {
  if (spectrum.literal()) {
    const double sum = boundUnionExp(spectrum.scaled, spectrum.maxWeight, rate, snr);
    if (std::isfinite(sum)) {
      return sum;
    }
  }
  LogSum sum;
  for (std::int32_t d = 0; d <= spectrum.maxWeight; ++d) {
    if (spectrum.positive(d)) {
      sum.add(spectrum.logTrue[static_cast<std::size_t>(d)] + (-d * rate * snr));
    }
  }
  return sum.clippedValue();
}

}  // namespace brevandor
