#pragma once

// The AVX-512 packets over which the row kernels are written: eight doubles (the log-add
// arithmetic) and sixteen floats (the cells of single-precision tables), with bit masks for
// lanes. Include it only in files compiled for AVX-512F and VL. Everything here has internal
// linkage, so that every such file keeps its own copy, compiled for its own instruction set.
//
// The last cells of a row go through the vector code with masked loads and stores
// (kMaskedTail), the missing lanes filled with a value that settles them at once.

// GCC 12 reports the deliberately undefined lanes inside its own AVX-512 intrinsics.
#pragma GCC diagnostic ignored "-Wuninitialized"
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"

#include <immintrin.h>

#include <cstddef>

#include "logmath/simd_packet_shape.h"

namespace brevandor::simd {
namespace {

// Eight doubles; lane masks are the bits of an __mmask8.
struct Avx512Doubles : PacketShape<8, true> {
  using Vector = __m512d;
  using Mask = __mmask8;
  using Floats = __m256;  // the same eight lanes rounded to float

  BREVANDOR_HOT static Vector set1(double x) { return _mm512_set1_pd(x); }
  // The `lanes` of p, the others `fill`.
  BREVANDOR_HOT static Vector load(const double* p, unsigned lanes, double fill) {
    return _mm512_mask_loadu_pd(_mm512_set1_pd(fill), static_cast<Mask>(lanes), p);
  }
  BREVANDOR_HOT static Vector load(const float* p, unsigned lanes, double fill) {
    return _mm512_cvtps_pd(_mm256_mask_loadu_ps(_mm256_set1_ps(static_cast<float>(fill)),
                                                static_cast<Mask>(lanes), p));
  }
  BREVANDOR_HOT static void store(double* p, unsigned lanes, Vector v) {
    _mm512_mask_storeu_pd(p, static_cast<Mask>(lanes), v);
  }
  BREVANDOR_HOT static void storeWhere(double* p, Mask where, Vector v) {
    _mm512_mask_storeu_pd(p, where, v);
  }
  BREVANDOR_HOT static Vector column(const double* const* rows, std::size_t c) {
    return _mm512_setr_pd(rows[0][c], rows[1][c], rows[2][c], rows[3][c], rows[4][c], rows[5][c],
                          rows[6][c], rows[7][c]);
  }

  BREVANDOR_HOT static Vector add(Vector a, Vector b) { return _mm512_add_pd(a, b); }
  BREVANDOR_HOT static Vector sub(Vector a, Vector b) { return _mm512_sub_pd(a, b); }
  BREVANDOR_HOT static Vector mul(Vector a, Vector b) { return _mm512_mul_pd(a, b); }
  BREVANDOR_HOT static Vector div(Vector a, Vector b) { return _mm512_div_pd(a, b); }
  BREVANDOR_HOT static Vector fmadd(Vector a, Vector b, Vector c) {
    return _mm512_fmadd_pd(a, b, c);
  }
  BREVANDOR_HOT static Vector fnmadd(Vector a, Vector b, Vector c) {
    return _mm512_fnmadd_pd(a, b, c);
  }
  // a > b ? a : b, lane by lane (b where they are equal or either is NaN).
  BREVANDOR_HOT static Vector max(Vector a, Vector b) { return _mm512_max_pd(a, b); }
  BREVANDOR_HOT static Vector min(Vector a, Vector b) { return _mm512_min_pd(a, b); }
  BREVANDOR_HOT static Vector abs(Vector a) { return _mm512_abs_pd(a); }
  BREVANDOR_HOT static Vector roundToNearest(Vector a) {
    return _mm512_roundscale_pd(a, _MM_FROUND_TO_NEAREST_INT | _MM_FROUND_NO_EXC);
  }
  // p · 2^k for integral k where the result is normal.
  BREVANDOR_HOT static Vector scaleByPowerOfTwo(Vector p, Vector k) {
    return _mm512_scalef_pd(p, k);
  }

  BREVANDOR_HOT static Mask equal(Vector a, Vector b) {
    return _mm512_cmp_pd_mask(a, b, _CMP_EQ_OQ);
  }
  BREVANDOR_HOT static Mask notEqual(Vector a, Vector b) {
    return _mm512_cmp_pd_mask(a, b, _CMP_NEQ_UQ);
  }
  BREVANDOR_HOT static Mask less(Vector a, Vector b) {
    return _mm512_cmp_pd_mask(a, b, _CMP_LT_OQ);
  }
  BREVANDOR_HOT static Mask greater(Vector a, Vector b) {
    return _mm512_cmp_pd_mask(a, b, _CMP_GT_OQ);
  }
  BREVANDOR_HOT static Mask notLess(Vector a, Vector b) {
    return _mm512_cmp_pd_mask(a, b, _CMP_GE_OQ);
  }
  BREVANDOR_HOT static Mask either(Mask a, Mask b) { return static_cast<Mask>(a | b); }
  BREVANDOR_HOT static Mask both(Mask a, Mask b) { return static_cast<Mask>(a & b); }
  BREVANDOR_HOT static Mask butNot(Mask a, Mask b) { return static_cast<Mask>(a & ~b); }
  BREVANDOR_HOT static Mask within(Mask m, unsigned lanes) { return static_cast<Mask>(m & lanes); }
  BREVANDOR_HOT static unsigned bits(Mask m) { return m; }
  BREVANDOR_HOT static Vector select(Mask m, Vector ifSet, Vector ifClear) {
    return _mm512_mask_mov_pd(ifClear, m, ifSet);
  }
  BREVANDOR_HOT static Vector zeroUnless(Mask m, Vector v) { return _mm512_maskz_mov_pd(m, v); }
  BREVANDOR_HOT static Vector zeroWhere(Mask m, Vector v) {
    return _mm512_maskz_mov_pd(static_cast<Mask>(~m), v);
  }

  BREVANDOR_HOT static Floats toFloats(Vector v) { return _mm512_cvtpd_ps(v); }
  BREVANDOR_HOT static unsigned equalBits(Floats a, Floats b) {
    return static_cast<unsigned>(_mm256_movemask_ps(_mm256_cmp_ps(a, b, _CMP_EQ_OQ)));
  }
  BREVANDOR_HOT static void storeFloats(float* p, Floats v) { _mm256_store_ps(p, v); }
};

// Sixteen floats: the cells of single-precision tables where no log-add is involved.
struct Avx512Floats : PacketShape<16, true> {
  using Vector = __m512;
  using Mask = __mmask16;
  BREVANDOR_HOT static Vector set1(float x) { return _mm512_set1_ps(x); }
  BREVANDOR_HOT static Vector load(const float* p, unsigned lanes, float fill) {
    return _mm512_mask_loadu_ps(_mm512_set1_ps(fill), static_cast<Mask>(lanes), p);
  }
  BREVANDOR_HOT static void store(float* p, unsigned lanes, Vector v) {
    _mm512_mask_storeu_ps(p, static_cast<Mask>(lanes), v);
  }
  BREVANDOR_HOT static Vector add(Vector a, Vector b) { return _mm512_add_ps(a, b); }
  BREVANDOR_HOT static Vector max(Vector a, Vector b) { return _mm512_max_ps(a, b); }
  BREVANDOR_HOT static Mask notEqual(Vector a, Vector b) {
    return _mm512_cmp_ps_mask(a, b, _CMP_NEQ_UQ);
  }
  BREVANDOR_HOT static unsigned bits(Mask m) { return m; }
  BREVANDOR_HOT static Vector select(Mask m, Vector ifSet, Vector ifClear) {
    return _mm512_mask_mov_ps(ifClear, m, ifSet);
  }
};

}  // namespace
}  // namespace brevandor::simd
