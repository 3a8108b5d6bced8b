#pragma once

#include "bounds/bound_spectrum.h"

namespace brevandor {

// The union bound of a spectrum C[d] (A_d for word errors, B_d for bit errors) at symbol
// energy c = R·Eb/N0, as natural logs, every term worked in the log domain with an accurate
// Gaussian tail: ln Σ_{d ≥ 1} C[d] Q(√(2dc)). −∞ for an empty spectrum.
double logUnionBoundQ(const BoundSpectrum& spectrum, double symbolEnergy);

// Its exponential form, ln Σ_{d ≥ 1} C[d] e^−dc.
double logUnionBoundExp(const BoundSpectrum& spectrum, double symbolEnergy);

// ln C[d] Q(√(2dc)), the union term of weight d (C[d] > 0).
double logUnionTerm(const BoundSpectrum& spectrum, std::int32_t d, double symbolEnergy);

// Whether weight d can add to a union-type sum at all: its term lies below ½ C[d] e^−dc, the
// largest term at most e^−12 below its own ceiling (Q(x) ≥ e^(−x²/2) / (1.3 x) for the x of
// any code here), and there are fewer than e^16 terms; so the terms whose ceilings lie e^−60
// below the largest ceiling add less than 10^−13 to the sum together. Sums over tens of
// thousands of weights skip most of them this way.
class UnionTermFilter {
 public:
  UnionTermFilter(const BoundSpectrum& spectrum, double symbolEnergy);
  bool mayCount(std::int32_t d) const { return ceiling(d) >= threshold_; }

 private:
  double ceiling(std::int32_t d) const;

  const BoundSpectrum& spectrum_;
  double symbolEnergy_;
  double threshold_;
};

}  // namespace brevandor
