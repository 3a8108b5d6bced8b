#pragma once

// The AVX2 + FMA packets over which the row kernels are written: four doubles (the log-add
// arithmetic) and eight floats (the cells of single-precision tables). Include it only in
// files compiled for AVX2 + FMA. Everything here has internal linkage, so that every such
// file keeps its own copy, compiled for its own instruction set.
//
// AVX2 has no masked loads of its own kind, so its kernels walk whole packets and leave the
// last cells of a row (fewer than a packet) to logAdd.

#include <immintrin.h>

#include <cstddef>

#include "logmath/simd_packet_shape.h"

namespace brevandor::simd {
namespace {

// Four doubles; lane masks are vectors of all-ones or all-zeros lanes.
struct Avx2Doubles : PacketShape<4, false> {
  using Vector = __m256d;
  using Mask = __m256d;
  using Floats = __m128;  // the same four lanes rounded to float

  BREVANDOR_HOT static Vector set1(double x) { return _mm256_set1_pd(x); }
  BREVANDOR_HOT static Vector load(const double* p, unsigned /*lanes*/, double /*fill*/) {
    return _mm256_loadu_pd(p);
  }
  BREVANDOR_HOT static Vector load(const float* p, unsigned /*lanes*/, double /*fill*/) {
    return _mm256_cvtps_pd(_mm_loadu_ps(p));
  }
  BREVANDOR_HOT static void store(double* p, unsigned /*lanes*/, Vector v) {
    _mm256_storeu_pd(p, v);
  }
  // Stores the lanes of v where `where` is set; the others keep what p holds.
  BREVANDOR_HOT static void storeWhere(double* p, Mask where, Vector v) {
    _mm256_storeu_pd(p, _mm256_blendv_pd(_mm256_loadu_pd(p), v, where));
  }
  // Lane l of each column packet is rows[l][c].
  BREVANDOR_HOT static Vector column(const double* const* rows, std::size_t c) {
    return _mm256_setr_pd(rows[0][c], rows[1][c], rows[2][c], rows[3][c]);
  }
  BREVANDOR_HOT static Vector column(const float* const* rows, std::size_t c) {
    return _mm256_cvtps_pd(_mm_set_ps(rows[3][c], rows[2][c], rows[1][c], rows[0][c]));
  }

  BREVANDOR_HOT static Vector add(Vector a, Vector b) { return _mm256_add_pd(a, b); }
  BREVANDOR_HOT static Vector sub(Vector a, Vector b) { return _mm256_sub_pd(a, b); }
  BREVANDOR_HOT static Vector mul(Vector a, Vector b) { return _mm256_mul_pd(a, b); }
  BREVANDOR_HOT static Vector div(Vector a, Vector b) { return _mm256_div_pd(a, b); }
  BREVANDOR_HOT static Vector fmadd(Vector a, Vector b, Vector c) {
    return _mm256_fmadd_pd(a, b, c);
  }
  BREVANDOR_HOT static Vector fnmadd(Vector a, Vector b, Vector c) {
    return _mm256_fnmadd_pd(a, b, c);
  }
  // a > b ? a : b, lane by lane (b where they are equal or either is NaN).
  BREVANDOR_HOT static Vector max(Vector a, Vector b) { return _mm256_max_pd(a, b); }
  BREVANDOR_HOT static Vector min(Vector a, Vector b) { return _mm256_min_pd(a, b); }
  BREVANDOR_HOT static Vector abs(Vector a) { return _mm256_andnot_pd(_mm256_set1_pd(-0.0), a); }
  BREVANDOR_HOT static Vector roundToNearest(Vector a) {
    return _mm256_round_pd(a, _MM_FROUND_TO_NEAREST_INT | _MM_FROUND_NO_EXC);
  }
  // p · 2^k for integral k where the result is normal: k sits in the low mantissa bits after
  // adding 1.5·2^52, and shifts from there into the exponent field.
  BREVANDOR_HOT static Vector scaleByPowerOfTwo(Vector p, Vector k) {
    const __m256i kBits = _mm256_slli_epi64(
        _mm256_castpd_si256(_mm256_add_pd(k, _mm256_set1_pd(6755399441055744.0))), 52);
    return _mm256_castsi256_pd(_mm256_add_epi64(_mm256_castpd_si256(p), kBits));
  }

  BREVANDOR_HOT static Mask equal(Vector a, Vector b) { return _mm256_cmp_pd(a, b, _CMP_EQ_OQ); }
  BREVANDOR_HOT static Mask notEqual(Vector a, Vector b) {
    return _mm256_cmp_pd(a, b, _CMP_NEQ_UQ);
  }
  BREVANDOR_HOT static Mask less(Vector a, Vector b) { return _mm256_cmp_pd(a, b, _CMP_LT_OQ); }
  BREVANDOR_HOT static Mask greater(Vector a, Vector b) { return _mm256_cmp_pd(a, b, _CMP_GT_OQ); }
  BREVANDOR_HOT static Mask notLess(Vector a, Vector b) { return _mm256_cmp_pd(a, b, _CMP_GE_OQ); }
  BREVANDOR_HOT static Mask either(Mask a, Mask b) { return _mm256_or_pd(a, b); }
  BREVANDOR_HOT static Mask both(Mask a, Mask b) { return _mm256_and_pd(a, b); }
  BREVANDOR_HOT static Mask butNot(Mask a, Mask b) { return _mm256_andnot_pd(b, a); }
  // The lanes of m among `lanes` (always every lane here).
  BREVANDOR_HOT static Mask within(Mask m, unsigned /*lanes*/) { return m; }
  BREVANDOR_HOT static unsigned bits(Mask m) {
    return static_cast<unsigned>(_mm256_movemask_pd(m));
  }
  // ifSet where m is set, else ifClear.
  BREVANDOR_HOT static Vector select(Mask m, Vector ifSet, Vector ifClear) {
    return _mm256_blendv_pd(ifClear, ifSet, m);
  }
  // v where m is set, else 0.
  BREVANDOR_HOT static Vector zeroUnless(Mask m, Vector v) { return _mm256_and_pd(m, v); }
  // v where m is clear, else 0.
  BREVANDOR_HOT static Vector zeroWhere(Mask m, Vector v) { return _mm256_andnot_pd(m, v); }

  BREVANDOR_HOT static Floats toFloats(Vector v) { return _mm256_cvtpd_ps(v); }
  BREVANDOR_HOT static unsigned equalBits(Floats a, Floats b) {
    return static_cast<unsigned>(_mm_movemask_ps(_mm_cmpeq_ps(a, b)));
  }
  BREVANDOR_HOT static void storeFloats(float* p, Floats v) { _mm_store_ps(p, v); }
};

// Eight floats: the cells of single-precision tables where no log-add is involved.
struct Avx2Floats : PacketShape<8, false> {
  using Vector = __m256;
  using Mask = __m256;
  BREVANDOR_HOT static Vector set1(float x) { return _mm256_set1_ps(x); }
  BREVANDOR_HOT static Vector load(const float* p, unsigned /*lanes*/, float /*fill*/) {
    return _mm256_loadu_ps(p);
  }
  BREVANDOR_HOT static void store(float* p, unsigned /*lanes*/, Vector v) {
    _mm256_storeu_ps(p, v);
  }
  BREVANDOR_HOT static Vector add(Vector a, Vector b) { return _mm256_add_ps(a, b); }
  BREVANDOR_HOT static Vector max(Vector a, Vector b) { return _mm256_max_ps(a, b); }
  BREVANDOR_HOT static Mask notEqual(Vector a, Vector b) {
    return _mm256_cmp_ps(a, b, _CMP_NEQ_UQ);
  }
  BREVANDOR_HOT static Vector select(Mask m, Vector ifSet, Vector ifClear) {
    return _mm256_blendv_ps(ifClear, ifSet, m);
  }
};

}  // namespace
}  // namespace brevandor::simd
