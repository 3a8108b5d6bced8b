// The lane kernels of sixteen states in one AVX-512 register of floats. This file alone is
// compiled for AVX-512F; nothing in it runs unless the processor has been found to support it.

// GCC 12 reports the deliberately undefined lanes inside its own AVX-512 intrinsics.
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic ignored "-Wuninitialized"
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
#endif

#include <immintrin.h>

#include "decoding/siso_lanes_body.h"
#include "decoding/siso_lanes_sets.h"

namespace brevandor {

namespace {

struct Avx512Lanes {
  static constexpr std::int32_t kLanes = 16;
  using Vec = __m512;
  using Idx = __m512i;

  BREVANDOR_LANE_HOT static Vec load(const float* p) { return _mm512_loadu_ps(p); }
  BREVANDOR_LANE_HOT static void store(float* p, Vec v) { _mm512_storeu_ps(p, v); }
  BREVANDOR_LANE_HOT static Vec set1(float x) { return _mm512_set1_ps(x); }
  BREVANDOR_LANE_HOT static Idx loadIndices(const std::int32_t* p) { return _mm512_loadu_si512(p); }
  BREVANDOR_LANE_HOT static Vec add(Vec a, Vec b) { return _mm512_add_ps(a, b); }
  BREVANDOR_LANE_HOT static Vec sub(Vec a, Vec b) { return _mm512_sub_ps(a, b); }
  BREVANDOR_LANE_HOT static Vec mul(Vec a, Vec b) { return _mm512_mul_ps(a, b); }
  BREVANDOR_LANE_HOT static Vec div(Vec a, Vec b) { return _mm512_div_ps(a, b); }
  // a > b ? a : b and a < b ? a : b, as the portable lanes compare.
  BREVANDOR_LANE_HOT static Vec max(Vec a, Vec b) { return _mm512_max_ps(a, b); }
  BREVANDOR_LANE_HOT static Vec min(Vec a, Vec b) { return _mm512_min_ps(a, b); }
  BREVANDOR_LANE_HOT static Vec abs(Vec a) {
    return _mm512_castsi512_ps(
        _mm512_and_si512(_mm512_castps_si512(a), _mm512_set1_epi32(0x7fffffff)));
  }
  BREVANDOR_LANE_HOT static Vec permute(Vec v, Idx indices) {
    return _mm512_permutexvar_ps(indices, v);
  }
  BREVANDOR_LANE_HOT static float first(Vec v) { return _mm512_cvtss_f32(v); }
  // The largest lane of a and of b: a's and b's halves side by side (a in the lower 256 bits,
  // b in the upper), their quarters swapped, then two swaps within the 128-bit quarters, so
  // that lane 0 holds a's and lane 8 b's.
  BREVANDOR_LANE_HOT static void largestOfEach(Vec a, Vec b, float& largestA, float& largestB) {
    Vec m = _mm512_max_ps(_mm512_shuffle_f32x4(a, b, 0x44), _mm512_shuffle_f32x4(a, b, 0xee));
    m = _mm512_max_ps(m, _mm512_shuffle_f32x4(m, m, 0xb1));  // quarters 1, 0, 3, 2
    m = _mm512_max_ps(m, _mm512_permute_ps(m, 0x4e));        // lanes 2, 3, 0, 1 of each quarter
    m = _mm512_max_ps(m, _mm512_permute_ps(m, 0xb1));        // lanes 1, 0, 3, 2 of each quarter
    largestA = _mm512_cvtss_f32(m);
    largestB = _mm_cvtss_f32(_mm512_extractf32x4_ps(m, 2));
  }
  BREVANDOR_LANE_HOT static Vec exponent(Vec y) {
    const __m512i biased = _mm512_srli_epi32(_mm512_castps_si512(y), 23);
    return _mm512_cvtepi32_ps(_mm512_sub_epi32(biased, _mm512_set1_epi32(127)));
  }
  BREVANDOR_LANE_HOT static Vec mantissa(Vec y) {
    const __m512i fraction =
        _mm512_and_si512(_mm512_castps_si512(y), _mm512_set1_epi32(0x007fffff));
    return _mm512_castsi512_ps(_mm512_or_si512(fraction, _mm512_set1_epi32(0x3f800000)));
  }
  BREVANDOR_LANE_HOT static Vec powerOfTwo(Vec k) {
    const __m512i exponent = _mm512_add_epi32(_mm512_cvttps_epi32(k), _mm512_set1_epi32(127));
    return _mm512_castsi512_ps(_mm512_slli_epi32(exponent, 23));
  }
};

}  // namespace

const LaneSisoKernels& avx512LaneSisoKernelsUnchecked() {
  static const LaneSisoKernels kernels = lanes::kernelsOf<Avx512Lanes>("avx512");
  return kernels;
}

}  // namespace brevandor
