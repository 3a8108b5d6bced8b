#pragma once

// Constants shared by the vector log-add kernels (AVX2 and AVX-512). The limits below decide
// when a kernel's result is known to round exactly as logAdd's does, so both kernel sets must
// use the same values.

namespace brevandor::simd {

inline constexpr double kLn10 = 2.302585092994045684;
inline constexpr double kLog2e = 1.442695040888963407;
// ln 2 split so that k · kLn2Hi is exact for the integers k of the range reduction.
inline constexpr double kLn2Hi = 6.93147180369123816490e-01;
inline constexpr double kLn2Lo = 1.90821492927058770002e-10;
inline constexpr double kLog10Of2 = 0.301029995663981195;
inline constexpr double kSqrt2Minus1 = 0.414213562373095049;

// Differences above this are treated as this (the correction is then far below any ulp).
inline constexpr double kMaxDelta = 40.0;
// Beyond this difference the double result is the larger argument to a few double ulps.
inline constexpr double kNegligibleDelta = 17.0;
// For a result rounded to float a smaller difference will do: beyond 10.3 the correction is
// below 2.2e-11, which the rounding slack covers.
inline constexpr double kNegligibleForFloat = 10.3;
// Below this the vector code's powers of ten would be subnormal or vanish; such lanes are left
// to logAdd itself, which shifts them into the normal range.
inline constexpr double kSubnormalLimit = -300.0;
// Bound on |a kernel's double result − logAdd's double result| where the result is rounded to
// float: a few double ulps of the result, logAdd's pow/log10 round trip at the shift threshold
// (a few ulps of 308), and a correction left out beyond kNegligibleForFloat.
inline constexpr double kRoundingSlackAbsolute = 5e-11;
inline constexpr double kRoundingSlackRelative = 1e-15;

inline constexpr float kLogZeroF = -308.0f;

}  // namespace brevandor::simd
