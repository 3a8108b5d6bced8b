#include <cmath>

#include "bounds/numerics/incomplete_functions.h"
#include "bounds/tangential_sphere/tangential_sphere_terms.h"
#include "logmath/log_quadrature.h"
#include "logmath/log_sum.h"

namespace brevandor {

double logConditionalTermReference(const TangentialSphereCone& cone, double rho) {
  const double n = cone.blockLength;
  const double a1 = 0.5 * (n - 1.0);
  const double a2 = 0.5 * (n - 2.0);
  LogSum sum;
  sum.add(logGammaQ(a1, 0.5 * rho * rho));
  const LogFunction integrand = [&](double t) {
    return logNormalDensity(t) + logGammaP(a2, 0.5 * (rho - t) * (rho + t));
  };
  for (std::size_t i = 0; i < cone.cosines.size(); ++i) {
    const double z = rho * cone.cosines[i];
    // The integrand falls from its value at z (both factors decrease with t).
    sum.add(cone.logCounts[i] + logConcaveIntegral(integrand, z, z, rho, 1.0 / (z + 1.0)));
  }
  return static_cast<double>(sum.logValue());
}

}  // namespace brevandor
