#pragma once

#include <cstdint>

namespace brevandor {

// The cone of the sphere-packing lower bound for codes of 2^K words of length n on the
// sphere of radius √(n Es): its half-angle θ gives one word's share of the sphere,
// Ω(θ) / Ω(π) = 2^−K, i.e. I_{sin²θ}((n − 1)/2, ½) = 2^(1−K).
struct SpherePackingCone {
  std::int32_t blockLength = 0;  // n
  double logTanSquared = 0.0;    // ln tan²θ; +∞ when θ = π/2 (K = 1)
};

// Solves for the cone once; it does not depend on the signal-to-noise ratio. n ≥ 2, K ≥ 1.
SpherePackingCone spherePackingCone(std::int32_t blockLength, std::int32_t infoBits);

// ln of the sphere-packing lower bound on the word error probability of any code with the
// cone's n and K at symbol energy c = Es/N0: the probability that the noise carries the
// received point out of the cone around the sent word,
//   Q(√(2nc)) + ∫₀^∞ φ(v − √(2nc)) Q((n − 1)/2, v² tan²θ / 2) dv,
// with Q(a, x) the regularized upper incomplete gamma function. For θ = π/2 it is
// Q(√(2nc)) exactly.
double logSpherePackingBound(const SpherePackingCone& cone, double symbolEnergy);

}  // namespace brevandor
