#pragma once

#include <cstdint>
#include <vector>

#include "bounds/bound_spectrum.h"

namespace brevandor {

// The cone of the tangential-sphere bound for a spectrum C[k] (A_k for word errors, B_k for
// bit errors) of a code of length n: its axis is the sent word, its half-angle such that the
// cone meets the sphere of the received points at radius r. Measured in units of the sent
// word's length √(n Es), the optimal radius r̃ does not depend on Eb/N0: it is the root of
//   Σ_{k : t_k < r̃} C[k] I_{1 − t_k²/r̃²}((n − 2)/2, ½) = 2,   t_k = √(k / (n − k)),
// whose left side grows with r̃ (the condition t_k < r̃ says the hyperplane halfway to a word
// of weight k cuts the cone). A weight k inside the cone sits at the cosine τ_k = t_k / r̃.
struct TangentialSphereCone {
  std::int32_t blockLength = 0;       // n
  double radius = 0.0;                // r̃; +∞ when the equation has no root
  std::vector<double> cosines;        // τ_k of the weights inside the cone, ascending
  std::vector<double> logCounts;      // ln C[k] of the same weights
  std::vector<std::int32_t> weights;  // the weights k themselves

  bool bounded() const;  // whether the radius is finite
};

// The cone of `spectrum` (of a code of length n = blockLength ≥ 3). The root is bracketed and then
// found by the Illinois form of regula falsi on ln r̃, to a relative 10^−13.
TangentialSphereCone tangentialSphereCone(const BoundSpectrum& spectrum);

// ln of the left side of the radius equation at r̃ (−∞ when no weight is inside the cone).
double logRadiusEquation(const BoundSpectrum& spectrum, double radius);

}  // namespace brevandor
