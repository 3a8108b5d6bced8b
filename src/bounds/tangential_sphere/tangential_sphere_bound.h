#pragma once

#include <memory>
#include <vector>

#include "bounds/bound_spectrum.h"
#include "bounds/tangential_sphere/tangential_sphere_cone.h"
#include "bounds/tangential_sphere/tangential_sphere_terms.h"
#include "progress/run_context.h"

namespace brevandor {

// The tangential-sphere bound on the error probability of maximum-likelihood decoding of a
// code of length n = spectrum.blockLength with spectrum C[k] (A_k: word errors; B_k: bit
// errors, the weighted spectrum in the sum and in the radius equation alike), at symbol
// energy c = R·Eb/N0:
//   TSB = Q(√(2nc)) + ∫_{−∞}^{√(2nc)} φ(z₁) H(r̃(√(2nc) − z₁)) dz₁,
// H the conditional term of tangential_sphere_terms.h. The cone is solved once on
// construction. Where there is no cone (n < 3, or the radius equation without a root, the
// limit r̃ → ∞) the union bound stands in its place; elsewhere the smaller of the two is
// given (they meet at high Eb/N0, where the integration error could put the integral a hair
// above the union bound).
class TangentialSphereBound {
 public:
  TangentialSphereBound(const BoundSpectrum& spectrum, Engine engine);
  ~TangentialSphereBound();
  TangentialSphereBound(const TangentialSphereBound&) = delete;
  TangentialSphereBound& operator=(const TangentialSphereBound&) = delete;

  // ln TSB at symbol energy c.
  double logBound(double symbolEnergy);

  const TangentialSphereCone& cone() const { return cone_; }

 private:
  double logConditional(double rho) const;
  double logBoundAdaptive(double centre) const;
  double logBoundOnGrid(double centre);
  double logConditionalOnGrid(std::int32_t j);

  const BoundSpectrum& spectrum_;
  Engine engine_;
  TangentialSphereCone cone_;
  std::unique_ptr<ConditionalTermFast> fast_;
  // The fast engine's outer integral is a trapezoid sum over z₁ = √(2nc) − j·step, whose
  // radii ρ_j = r̃·j·step do not depend on c: ln H(ρ_j) is kept for every point (NaN: not yet).
  double step_ = 0.0;
  std::vector<double> gridLogH_;
};

}  // namespace brevandor
