#pragma once

#include "bounds/bound_spectrum.h"

namespace brevandor {

// The two union bounds of the true spectrum at one point, shared by both engines. With scale
// 0 they are the literal double sums wherever those are finite; otherwise every term, the
// factor 10^e included, is worked as a natural log and the sum is kept in extended precision.

long double unionQBound(const BoundSpectrum& spectrum, double rate, double snr);

long double unionExpBound(const BoundSpectrum& spectrum, double rate, double snr);

}  // namespace brevandor
