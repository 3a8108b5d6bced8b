#pragma once

#include "bounds/bound_spectrum.h"

namespace brevandor {

// The simple bound on the error probability of maximum-likelihood decoding of a block code
// of length n = spectrum.blockLength with spectrum C[d] (A_d: word errors, B_d: bit errors), at
// symbol energy c = R·Eb/N0, as a natural log. Each weight d contributes the smaller of
// e^−nE(c, δ, β*) and its union term C[d] Q(√(2dc)), with δ = d/n, r = ln C[d] / n and
//   E(c, δ, β) = ½ ln(1 − β(1 − e^−2r)) + βδc / (1 − δ + βδ),
// maximised by β* = (1 − δ)/δ · (√(c/c₀ + 2c + c²) − c − 1), c₀ = (1 − e^−2r)(1 − δ)/(2δ).
// The union term alone stands where the exponent does not apply: C[d] ≤ 1 (r ≤ 0), d = n,
// c ≤ c₀ (below the weight's own threshold) and β* ≥ 1 (where β = 1 is the union bound's
// exponent, which the Q-function term beats).
double logSimpleBound(const BoundSpectrum& spectrum, double symbolEnergy);

// The exponent e^−nE of weight d at its optimum, as −nE, when it applies; NaN otherwise.
double simpleBoundLogTerm(const BoundSpectrum& spectrum, std::int32_t d, double symbolEnergy);

}  // namespace brevandor
