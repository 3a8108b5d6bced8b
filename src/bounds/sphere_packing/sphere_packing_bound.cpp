#include "bounds/sphere_packing/sphere_packing_bound.h"

#include <cmath>
#include <limits>
#include <numbers>

#include "bounds/numerics/incomplete_functions.h"
#include "logmath/log_quadrature.h"
#include "logmath/log_sum.h"

namespace brevandor {

namespace {

constexpr double kInfinity = std::numeric_limits<double>::infinity();

}  // namespace

SpherePackingCone spherePackingCone(std::int32_t blockLength, std::int32_t infoBits) {
  SpherePackingCone cone{blockLength, kInfinity};
  const double target = (1.0 - infoBits) * std::numbers::ln2;
  if (!(target < 0.0)) {
    return cone;
  }
  const double a = 0.5 * (blockLength - 1);
  // ln I_{sin²θ}(a, ½) grows with θ from −∞ at 0 to 0 at π/2: bisection on θ.
  double low = 0.0;
  double high = 0.5 * std::numbers::pi;
  for (int i = 0; i < 200 && high - low > 1e-16 * high; ++i) {
    const double middle = 0.5 * (low + high);
    const double sine = std::sin(middle);
    (logBetaI(a, 0.5, sine * sine) < target ? low : high) = middle;
  }
  const double theta = 0.5 * (low + high);
  cone.logTanSquared = 2.0 * std::log(std::tan(theta));
  return cone;
}

double logSpherePackingBound(const SpherePackingCone& cone, double symbolEnergy) {
  const double centre = std::sqrt(2.0 * cone.blockLength * symbolEnergy);
  const double logBehind = logGaussianTail(centre);  // the received point behind the origin
  if (cone.logTanSquared == kInfinity) {
    return logBehind;
  }
  const double a = 0.5 * (cone.blockLength - 1);
  const double tanSquared = std::exp(cone.logTanSquared);
  // v: the received point's component along the sent word; outside the cone when the rest
  // of the noise, a χ² variable of n − 1 degrees, exceeds (v tan θ)².
  const LogFunction outside = [&](double v) {
    return logNormalDensity(v - centre) + logGammaQ(a, 0.5 * v * v * tanSquared);
  };
  LogSum sum;
  sum.add(logBehind);
  sum.add(logConcaveIntegral(outside, centre, 0.0, kInfinity, 1.0));
  return static_cast<double>(sum.logValue());
}

}  // namespace brevandor
