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

}  // namespace brevandor
