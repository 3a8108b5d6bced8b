#include "bounds/union/union_word_bound.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "bounds/numerics/incomplete_functions.h"
#include "bounds/union/union_sum.h"

namespace brevandor {

double logUnionTerm(const BoundSpectrum& spectrum, std::int32_t d, double symbolEnergy) {
  const auto logCount = static_cast<double>(spectrum.logTrue[static_cast<std::size_t>(d)]);
  return logCount + logGaussianTail(std::sqrt(2.0 * d * symbolEnergy));
}

UnionTermFilter::UnionTermFilter(const BoundSpectrum& spectrum, double symbolEnergy)
    : spectrum_(spectrum), symbolEnergy_(symbolEnergy) {
  double largest = -std::numeric_limits<double>::infinity();
  for (std::int32_t d = 1; d <= spectrum.maxWeight; ++d) {
    largest = std::max(largest, ceiling(d));
  }
  threshold_ = largest - 60.0;
}

double UnionTermFilter::ceiling(std::int32_t d) const {
  return static_cast<double>(spectrum_.logTrue[static_cast<std::size_t>(d)]) - d * symbolEnergy_;
}

double logUnionBoundQ(const BoundSpectrum& spectrum, double symbolEnergy) {
  const UnionTermFilter filter(spectrum, symbolEnergy);
  const LogSum sum = unionTermSum(
      spectrum, 1, [&](std::int32_t d) { return logUnionTerm(spectrum, d, symbolEnergy); },
      [&](std::int32_t d) { return filter.mayCount(d); });
  return static_cast<double>(sum.logValue());
}

double logUnionBoundExp(const BoundSpectrum& spectrum, double symbolEnergy) {
  const UnionTermFilter filter(spectrum, symbolEnergy);
  const LogSum sum = unionTermSum(
      spectrum, 1,
      [&](std::int32_t d) {
        return spectrum.logTrue[static_cast<std::size_t>(d)] - d * symbolEnergy;
      },
      [&](std::int32_t d) { return filter.mayCount(d); });
  return static_cast<double>(sum.logValue());
}

}  // namespace brevandor
