#pragma once

// The double-precision log-add of four lanes that the AVX2 kernels of both table precisions
// share. Include it only in files compiled for AVX2 + FMA. Its helpers have internal linkage,
// so that every such file keeps its own copy, compiled for its own instruction set.

#include <immintrin.h>

#include "logmath/log_domain.h"
#include "logmath/simd_log_add_constants.h"

// The helpers below make up the bodies of the row loops: they must be inlined there, or
// every call passes its vectors through memory.
#ifndef BREVANDOR_HOT
#define BREVANDOR_HOT inline __attribute__((always_inline))
#endif

namespace brevandor::simd {
namespace {

// c(δ) = log10(1 + 10^(−δ)) + m for δ = m − n ≥ 0, to about 3e-16 absolute plus the
// rounding of the final sum. 10^(−δ) = 2^k · e^r with |r| ≤ ln2/2; log10(1 + y) through
// 2·atanh(u)/ln10 with |u| ≤ 3 − 2√2 (the argument halved when y > √2 − 1).
BREVANDOR_HOT __m256d logAddCore(__m256d m, __m256d delta) {
  // NaN (both arguments −inf) and huge differences both become kMaxDelta.
  delta = _mm256_min_pd(delta, _mm256_set1_pd(kMaxDelta));
  const __m256d x = _mm256_mul_pd(delta, _mm256_set1_pd(-kLn10));
  const __m256d k = _mm256_round_pd(_mm256_mul_pd(x, _mm256_set1_pd(kLog2e)),
                                    _MM_FROUND_TO_NEAREST_INT | _MM_FROUND_NO_EXC);
  __m256d r = _mm256_fnmadd_pd(k, _mm256_set1_pd(kLn2Hi), x);
  r = _mm256_fnmadd_pd(k, _mm256_set1_pd(kLn2Lo), r);
  // e^r by its Taylor series to degree 11: relative error below 7e-15 for |r| ≤ 0.347.
  __m256d p = _mm256_set1_pd(1.0 / 39916800.0);
  p = _mm256_fmadd_pd(p, r, _mm256_set1_pd(1.0 / 3628800.0));
  p = _mm256_fmadd_pd(p, r, _mm256_set1_pd(1.0 / 362880.0));
  p = _mm256_fmadd_pd(p, r, _mm256_set1_pd(1.0 / 40320.0));
  p = _mm256_fmadd_pd(p, r, _mm256_set1_pd(1.0 / 5040.0));
  p = _mm256_fmadd_pd(p, r, _mm256_set1_pd(1.0 / 720.0));
  p = _mm256_fmadd_pd(p, r, _mm256_set1_pd(1.0 / 120.0));
  p = _mm256_fmadd_pd(p, r, _mm256_set1_pd(1.0 / 24.0));
  p = _mm256_fmadd_pd(p, r, _mm256_set1_pd(1.0 / 6.0));
  p = _mm256_fmadd_pd(p, r, _mm256_set1_pd(0.5));
  p = _mm256_fmadd_pd(p, r, _mm256_set1_pd(1.0));
  p = _mm256_fmadd_pd(p, r, _mm256_set1_pd(1.0));
  // Scale by 2^k (k ≥ −133, so the result stays normal): k sits in the low mantissa bits
  // after adding 1.5·2^52, and shifts from there into the exponent field.
  const __m256i kBits = _mm256_slli_epi64(
      _mm256_castpd_si256(_mm256_add_pd(k, _mm256_set1_pd(6755399441055744.0))), 52);
  const __m256d y = _mm256_castsi256_pd(_mm256_add_epi64(_mm256_castpd_si256(p), kBits));

  const __m256d big = _mm256_cmp_pd(y, _mm256_set1_pd(kSqrt2Minus1), _CMP_GT_OQ);
  const __m256d oneIfBig = _mm256_and_pd(big, _mm256_set1_pd(1.0));
  const __m256d numerator = _mm256_sub_pd(y, oneIfBig);
  const __m256d denominator = _mm256_add_pd(_mm256_add_pd(y, _mm256_set1_pd(2.0)), oneIfBig);
  const __m256d u = _mm256_div_pd(numerator, denominator);
  const __m256d u2 = _mm256_mul_pd(u, u);
  // 2·atanh(u)/ln10 = u · Σ 2 u^(2i) / ((2i + 1) ln10), i = 0 … 8.
  constexpr double c = 2.0 / kLn10;
  __m256d q = _mm256_set1_pd(c / 17.0);
  q = _mm256_fmadd_pd(q, u2, _mm256_set1_pd(c / 15.0));
  q = _mm256_fmadd_pd(q, u2, _mm256_set1_pd(c / 13.0));
  q = _mm256_fmadd_pd(q, u2, _mm256_set1_pd(c / 11.0));
  q = _mm256_fmadd_pd(q, u2, _mm256_set1_pd(c / 9.0));
  q = _mm256_fmadd_pd(q, u2, _mm256_set1_pd(c / 7.0));
  q = _mm256_fmadd_pd(q, u2, _mm256_set1_pd(c / 5.0));
  q = _mm256_fmadd_pd(q, u2, _mm256_set1_pd(c / 3.0));
  q = _mm256_fmadd_pd(q, u2, _mm256_set1_pd(c));
  const __m256d correction = _mm256_fmadd_pd(u, q, _mm256_and_pd(big, _mm256_set1_pd(kLog10Of2)));
  return _mm256_add_pd(m, correction);
}

// logAdd(a, b) in double for four lanes: the results, the lanes that are plain copies of an
// argument (logAdd's rule for LogZero: the larger of the two, b on a tie), and the lanes
// (`deferred`) that must be computed by logAdd itself. The transcendental work is skipped
// when every lane is settled.
struct Sum4 {
  __m256d value;
  __m256d copied;
  int deferred;
};

BREVANDOR_HOT Sum4 logAdd4(__m256d a, __m256d b, double negligible = kNegligibleDelta) {
  const __m256d logZero = _mm256_set1_pd(LogZero);
  const __m256d copied =
      _mm256_or_pd(_mm256_cmp_pd(a, logZero, _CMP_EQ_OQ), _mm256_cmp_pd(b, logZero, _CMP_EQ_OQ));
  const __m256d m = _mm256_max_pd(a, b);  // a > b ? a : b, as logAdd chooses
  const int deferred = _mm256_movemask_pd(
      _mm256_andnot_pd(copied, _mm256_cmp_pd(m, _mm256_set1_pd(kSubnormalLimit), _CMP_LT_OQ)));
  const __m256d delta = _mm256_sub_pd(m, _mm256_min_pd(a, b));
  const __m256d settled =
      _mm256_or_pd(copied, _mm256_cmp_pd(delta, _mm256_set1_pd(negligible), _CMP_GT_OQ));
  if (_mm256_movemask_pd(settled) == 0xF) {
    return {m, copied, deferred};
  }
  return {_mm256_blendv_pd(logAddCore(m, delta), m, copied), copied, deferred};
}

BREVANDOR_HOT float lane(__m256 values, int index) {
  alignas(32) float lanes[8];
  _mm256_store_ps(lanes, values);
  return lanes[index];
}

BREVANDOR_HOT double lane(__m256d values, int index) {
  alignas(32) double lanes[4];
  _mm256_store_pd(lanes, values);
  return lanes[index];
}

// The sum with its deferred lanes computed by logAdd from the operands a and b.
inline __m256d deferredLanes(const Sum4& sum, __m256d a, __m256d b) {
  alignas(32) double values[4];
  _mm256_store_pd(values, sum.value);
  for (int index = 0; index < 4; ++index) {
    if ((sum.deferred >> index) & 1) {
      values[index] = logAdd(lane(a, index), lane(b, index));
    }
  }
  return _mm256_load_pd(values);
}

}  // namespace
}  // namespace brevandor::simd
