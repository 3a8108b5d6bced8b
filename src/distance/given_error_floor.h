#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "distance/given_spectrum.h"

namespace brevandor {

// The union bound with the Q function, Σ_d m_d Q(√(2 d R Eb/N0)), summed over the weights
// d = 0 … D that `multiplicities` holds (m_d = B_d for the bit error rate). Truncated at D it
// is no longer an upper bound but an estimate of the error floor.
long double truncatedUnionEstimate(std::span<const long double> multiplicities, double rate,
                                   double ebn0Ratio);

// The natural log of truncatedUnionEstimate, finite where the sum itself lies below even the
// extended range (a weight of 40 at 30 dB gives about 10^-5800); −∞ when every m_d is 0.
long double logTruncatedUnionEstimate(std::span<const long double> multiplicities, double rate,
                                      double ebn0Ratio);

// The bit error rate estimate of the given permutation at each Eb/N0 ratio: B_d of the search.
std::vector<long double> givenBitErrorEstimates(const GivenSpectrum& spectrum, double rate,
                                                std::span<const double> ebn0Ratios);

// The natural logs of the same estimates (logTruncatedUnionEstimate).
std::vector<long double> logGivenBitErrorEstimates(const GivenSpectrum& spectrum, double rate,
                                                   std::span<const double> ebn0Ratios);

}  // namespace brevandor
