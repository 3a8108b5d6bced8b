#pragma once

// The double-precision log-add of eight lanes that the AVX-512 kernels of both table
// precisions share. Include it only in files compiled for AVX-512. Its helpers have internal
// linkage, so that every such file keeps its own copy, compiled for its own instruction set.

#include <immintrin.h>

#include "logmath/log_domain.h"
#include "logmath/simd_log_add_constants.h"

// The helpers below make up the bodies of the row loops and must be inlined there.
#ifndef BREVANDOR_HOT
#define BREVANDOR_HOT inline __attribute__((always_inline))
#endif

namespace brevandor::simd {
namespace {

// m + log10(1 + 10^(m − n)) in double, δ = m − n; as the AVX2 logAddCore.
BREVANDOR_HOT __m512d logAddCore(__m512d m, __m512d delta) {
  delta = _mm512_min_pd(delta, _mm512_set1_pd(kMaxDelta));
  const __m512d x = _mm512_mul_pd(delta, _mm512_set1_pd(-kLn10));
  const __m512d k = _mm512_roundscale_pd(_mm512_mul_pd(x, _mm512_set1_pd(kLog2e)),
                                         _MM_FROUND_TO_NEAREST_INT | _MM_FROUND_NO_EXC);
  __m512d r = _mm512_fnmadd_pd(k, _mm512_set1_pd(kLn2Hi), x);
  r = _mm512_fnmadd_pd(k, _mm512_set1_pd(kLn2Lo), r);
  __m512d p = _mm512_set1_pd(1.0 / 39916800.0);
  p = _mm512_fmadd_pd(p, r, _mm512_set1_pd(1.0 / 3628800.0));
  p = _mm512_fmadd_pd(p, r, _mm512_set1_pd(1.0 / 362880.0));
  p = _mm512_fmadd_pd(p, r, _mm512_set1_pd(1.0 / 40320.0));
  p = _mm512_fmadd_pd(p, r, _mm512_set1_pd(1.0 / 5040.0));
  p = _mm512_fmadd_pd(p, r, _mm512_set1_pd(1.0 / 720.0));
  p = _mm512_fmadd_pd(p, r, _mm512_set1_pd(1.0 / 120.0));
  p = _mm512_fmadd_pd(p, r, _mm512_set1_pd(1.0 / 24.0));
  p = _mm512_fmadd_pd(p, r, _mm512_set1_pd(1.0 / 6.0));
  p = _mm512_fmadd_pd(p, r, _mm512_set1_pd(0.5));
  p = _mm512_fmadd_pd(p, r, _mm512_set1_pd(1.0));
  p = _mm512_fmadd_pd(p, r, _mm512_set1_pd(1.0));
  const __m512d y = _mm512_scalef_pd(p, k);
  const __mmask8 big = _mm512_cmp_pd_mask(y, _mm512_set1_pd(kSqrt2Minus1), _CMP_GT_OQ);
  const __m512d oneIfBig = _mm512_maskz_mov_pd(big, _mm512_set1_pd(1.0));
  const __m512d u = _mm512_div_pd(_mm512_sub_pd(y, oneIfBig),
                                  _mm512_add_pd(_mm512_add_pd(y, _mm512_set1_pd(2.0)), oneIfBig));
  const __m512d u2 = _mm512_mul_pd(u, u);
  constexpr double c = 2.0 / kLn10;
  __m512d q = _mm512_set1_pd(c / 17.0);
  q = _mm512_fmadd_pd(q, u2, _mm512_set1_pd(c / 15.0));
  q = _mm512_fmadd_pd(q, u2, _mm512_set1_pd(c / 13.0));
  q = _mm512_fmadd_pd(q, u2, _mm512_set1_pd(c / 11.0));
  q = _mm512_fmadd_pd(q, u2, _mm512_set1_pd(c / 9.0));
  q = _mm512_fmadd_pd(q, u2, _mm512_set1_pd(c / 7.0));
  q = _mm512_fmadd_pd(q, u2, _mm512_set1_pd(c / 5.0));
  q = _mm512_fmadd_pd(q, u2, _mm512_set1_pd(c / 3.0));
  q = _mm512_fmadd_pd(q, u2, _mm512_set1_pd(c));
  return _mm512_add_pd(m,
                       _mm512_fmadd_pd(u, q, _mm512_maskz_mov_pd(big, _mm512_set1_pd(kLog10Of2))));
}

// logAdd in double for eight lanes: the values, the lanes that copy an argument (LogZero),
// and the lanes left to logAdd itself (subnormal powers).
struct Sum8 {
  __m512d value;
  __mmask8 copied;
  __mmask8 deferred;
};

// The lanes of a log-add of eight pairs, sorted before any arithmetic: the larger argument m
// and the difference δ, the lanes that copy an argument (LogZero), those left to logAdd
// (subnormal powers), and those already settled (a copy, or δ beyond `negligible`).
struct Lanes8 {
  __m512d m;
  __m512d delta;
  __mmask8 copied;
  __mmask8 deferred;
  __mmask8 settled;
};

BREVANDOR_HOT Lanes8 classify8(__m512d a, __m512d b, double negligible) {
  const __m512d logZero = _mm512_set1_pd(LogZero);
  const __mmask8 copied =
      _mm512_cmp_pd_mask(a, logZero, _CMP_EQ_OQ) | _mm512_cmp_pd_mask(b, logZero, _CMP_EQ_OQ);
  const __m512d m = _mm512_max_pd(a, b);  // a > b ? a : b, as logAdd chooses
  const auto deferred = static_cast<__mmask8>(
      ~copied & _mm512_cmp_pd_mask(m, _mm512_set1_pd(kSubnormalLimit), _CMP_LT_OQ));
  const __m512d delta = _mm512_sub_pd(m, _mm512_min_pd(a, b));
  const auto settled = static_cast<__mmask8>(
      copied | _mm512_cmp_pd_mask(delta, _mm512_set1_pd(negligible), _CMP_GT_OQ));
  return {m, delta, copied, deferred, settled};
}

BREVANDOR_HOT Sum8 logAdd8(__m512d a, __m512d b, double negligible = kNegligibleDelta) {
  const Lanes8 lanes = classify8(a, b, negligible);
  if (lanes.settled == 0xFF) {
    return {lanes.m, lanes.copied, lanes.deferred};
  }
  return {_mm512_mask_mov_pd(logAddCore(lanes.m, lanes.delta), lanes.copied, lanes.m), lanes.copied,
          lanes.deferred};
}

}  // namespace
}  // namespace brevandor::simd
