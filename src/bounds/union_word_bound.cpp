#include "bounds/union_word_bound.h"

#include <cmath>

#include "bounds/incomplete_functions.h"
#include "logmath/log_sum.h"

namespace brevandor {

double logUnionTerm(const BoundSpectrum& spectrum, std::int32_t d, double symbolEnergy) {
  const auto logCount = static_cast<double>(spectrum.logTrue[static_cast<std::size_t>(d)]);
  return logCount + logGaussianTail(std::sqrt(2.0 * d * symbolEnergy));
}

double logUnionBoundQ(const BoundSpectrum& spectrum, double symbolEnergy) {
  LogSum sum;
  for (std::int32_t d = 1; d <= spectrum.maxWeight; ++d) {
    if (spectrum.positive(d)) {
      sum.add(logUnionTerm(spectrum, d, symbolEnergy));
    }
  }
  return static_cast<double>(sum.logValue());
}

double logUnionBoundExp(const BoundSpectrum& spectrum, double symbolEnergy) {
  LogSum sum;
  for (std::int32_t d = 1; d <= spectrum.maxWeight; ++d) {
    if (spectrum.positive(d)) {
      sum.add(spectrum.logTrue[static_cast<std::size_t>(d)] - d * symbolEnergy);
    }
  }
  return static_cast<double>(sum.logValue());
}

}  // namespace brevandor
