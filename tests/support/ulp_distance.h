#pragma once

#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>

namespace brevandor::testing {

// The number of single-precision values between a and b (0 when equal, including +0 and −0;
// the largest value when either is a NaN).
inline std::int64_t ulpDistance(float a, float b) {
  if (std::isnan(a) || std::isnan(b)) {
    return std::numeric_limits<std::int64_t>::max();
  }
  // Maps the floats onto a line of integers ordered as the values are.
  auto ordered = [](float x) {
    const auto bits = static_cast<std::int64_t>(std::bit_cast<std::int32_t>(x));
    return bits < 0 ? std::int64_t{std::numeric_limits<std::int32_t>::min()} - bits : bits;
  };
  const std::int64_t difference = ordered(a) - ordered(b);
  return difference < 0 ? -difference : difference;
}

}  // namespace brevandor::testing
