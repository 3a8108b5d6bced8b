#pragma once

#include <algorithm>
#include <cmath>
#include <limits>

#include "decoding/decoder_settings.h"

namespace brevandor {

// The log of no probability: the neutral value of both combinations below.
inline constexpr double kNoPath = -std::numeric_limits<double>::infinity();

// log(e^a + e^b), exactly: the larger term plus the correction log(1 + e^−|a−b|).
inline double jacobianLog(double a, double b) {
  const double larger = std::max(a, b);
  if (larger == kNoPath) {
    return kNoPath;
  }
  // Beyond a difference of 40 the correction, below e^−40 ≈ 4·10^−18, no longer counts
  // against 1e-9 in any ratio the decoder forms; leaving it out spares the two calls.
  constexpr double kNegligibleDifference = 40.0;
  const double difference = std::abs(a - b);
  return difference > kNegligibleDifference ? larger : larger + std::log1p(std::exp(-difference));
}

// The combination of two log-domain path metrics under an algorithm.
template <SisoAlgorithm Algorithm>
inline double combine(double a, double b) {
  if constexpr (Algorithm == SisoAlgorithm::LogMap) {
    return jacobianLog(a, b);
  } else {
    return std::max(a, b);
  }
}

}  // namespace brevandor
