#include "bounds/simple/simple_bound.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "bounds/union/union_word_bound.h"
#include "logmath/log_sum.h"

namespace brevandor {

double simpleBoundLogTerm(const BoundSpectrum& spectrum, std::int32_t d, double symbolEnergy) {
  constexpr double kNotApplicable = std::numeric_limits<double>::quiet_NaN();
  const double n = spectrum.blockLength;
  const double delta = d / n;
  const double r = static_cast<double>(spectrum.logTrue[static_cast<std::size_t>(d)]) / n;
  if (!(r > 0.0) || d >= spectrum.blockLength) {
    return kNotApplicable;
  }
  const double c = symbolEnergy;
  const double shrink = -std::expm1(-2.0 * r);  // 1 − e^−2r, in (0, 1)
  const double threshold = shrink * (1.0 - delta) / (2.0 * delta);
  if (!(c > threshold)) {
    return kNotApplicable;
  }
  const double f = std::sqrt(c / threshold + 2.0 * c + c * c) - c - 1.0;
  const double beta = (1.0 - delta) / delta * f;
  if (!(beta < 1.0)) {
    return kNotApplicable;
  }
  const double exponent =
      0.5 * std::log1p(-beta * shrink) + beta * delta * c / (1.0 - delta + beta * delta);
  return -n * exponent;
}

double logSimpleBound(const BoundSpectrum& spectrum, double symbolEnergy) {
  // Every weight counts: the union sums' filter measures a weight against the largest union
  // term, but below the cutoff rate the heavy weights' union terms exceed the whole simple
  // bound by far, and the low weights that the filter would drop decide it.
  LogSum sum;
  for (std::int32_t d = 1; d <= spectrum.maxWeight; ++d) {
    if (!spectrum.positive(d)) {
      continue;
    }
    const double unionTerm = logUnionTerm(spectrum, d, symbolEnergy);
    const double exponentTerm = simpleBoundLogTerm(spectrum, d, symbolEnergy);
    sum.add(std::isnan(exponentTerm) ? unionTerm : std::min(unionTerm, exponentTerm));
  }
  return static_cast<double>(sum.logValue());
}

}  // namespace brevandor
