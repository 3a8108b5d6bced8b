#pragma once

#include <cstdint>
#include <vector>

#include "bounds/tangential_sphere/tangential_sphere_cone.h"

namespace brevandor {

// The tangential-sphere bound given the noise component z₁ along the sent word depends on z₁
// only through the cone's radius ρ = r̃(√(2nc) − z₁) at the received point's level (noise in
// units of its standard deviation, c = Es/N0):
//   H(ρ) = Q((n − 1)/2, ρ²/2) + Σ_k C[k] J_ρ(ρ τ_k),
//   J_ρ(z) = ∫_z^ρ φ(t) P((n − 2)/2, (ρ² − t²)/2) dt,
// the first term the chance of leaving the cone, the second the union of the pairwise errors
// inside it (t the noise along the direction to a word of weight k, the rest a χ² variable of
// n − 2 degrees within the cone's cross-section). Both engines compute ln H(ρ).

// Every term from its own adaptive quadrature with the incomplete gamma function evaluated
// at each node.
double logConditionalTermReference(const TangentialSphereCone& cone, double rho);

// The same sum with ln P((n − 2)/2, ·) interpolated from a table, weights whose terms cannot
// reach e^−46 of the sum so far skipped after a cheap upper bound, and each remaining
// integral from a few Gauss–Legendre panels sized to its decay.
class ConditionalTermFast {
 public:
  explicit ConditionalTermFast(const TangentialSphereCone& cone);

  double logValue(double rho) const;

  // ln P((n − 2)/2, x) from the table (exact outside it), for tests.
  double logLowerGamma(double x) const;

 private:
  // ln P and d ln P / d ln x at x from the table (exact outside it).
  void lowerGamma(double x, double& logP, double& slope) const;
  double logIntegralFrom(double rho, double z) const;

  const TangentialSphereCone& cone_;
  double a1_ = 0.0;  // (n − 1)/2
  double a2_ = 0.0;  // (n − 2)/2
  // The table over t = ln x, uniform from tFirst_ in steps of tStep_.
  double tFirst_ = 0.0;
  double tStep_ = 0.0;
  std::vector<double> logP_;
  std::vector<double> slope_;  // d ln P / d t
  double saturated_ = 0.0;     // x beyond which ln P = 0 to double precision
  // Blocks of consecutive cone weights and the largest ln C[k] of each.
  std::vector<double> blockLargest_;
};

inline constexpr std::int32_t kConeBlock = 32;

}  // namespace brevandor
