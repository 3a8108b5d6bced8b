// The lane kernels of eight states in one AVX2 register of floats. This file alone is
// compiled for AVX2; nothing in it runs unless the processor has been found to support it.

#include <immintrin.h>

#include "decoding/siso_lanes_body.h"
#include "decoding/siso_lanes_sets.h"

namespace brevandor {

namespace {

struct Avx2Lanes {
  static constexpr std::int32_t kLanes = 8;
  using Vec = __m256;
  using Idx = __m256i;

  BREVANDOR_LANE_HOT static Vec load(const float* p) { return _mm256_loadu_ps(p); }
  BREVANDOR_LANE_HOT static void store(float* p, Vec v) { _mm256_storeu_ps(p, v); }
  BREVANDOR_LANE_HOT static Vec set1(float x) { return _mm256_set1_ps(x); }
  BREVANDOR_LANE_HOT static Idx loadIndices(const std::int32_t* p) {
    return _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p));
  }
  BREVANDOR_LANE_HOT static Vec add(Vec a, Vec b) { return _mm256_add_ps(a, b); }
  BREVANDOR_LANE_HOT static Vec sub(Vec a, Vec b) { return _mm256_sub_ps(a, b); }
  BREVANDOR_LANE_HOT static Vec mul(Vec a, Vec b) { return _mm256_mul_ps(a, b); }
  BREVANDOR_LANE_HOT static Vec div(Vec a, Vec b) { return _mm256_div_ps(a, b); }
  // a > b ? a : b and a < b ? a : b, as the portable lanes compare.
  BREVANDOR_LANE_HOT static Vec max(Vec a, Vec b) { return _mm256_max_ps(a, b); }
  BREVANDOR_LANE_HOT static Vec min(Vec a, Vec b) { return _mm256_min_ps(a, b); }
  BREVANDOR_LANE_HOT static Vec abs(Vec a) { return _mm256_andnot_ps(_mm256_set1_ps(-0.0f), a); }
  BREVANDOR_LANE_HOT static Vec permute(Vec v, Idx indices) {
    return _mm256_permutevar8x32_ps(v, indices);
  }
  BREVANDOR_LANE_HOT static float first(Vec v) { return _mm256_cvtss_f32(v); }
  // The largest lane of a and of b: a's and b's halves side by side, then two swaps within
  // the 128-bit halves, so that lane 0 holds a's and lane 4 b's.
  BREVANDOR_LANE_HOT static void largestOfEach(Vec a, Vec b, float& largestA, float& largestB) {
    Vec m = _mm256_max_ps(_mm256_permute2f128_ps(a, b, 0x20), _mm256_permute2f128_ps(a, b, 0x31));
    m = _mm256_max_ps(m, _mm256_permute_ps(m, 0x4e));  // lanes 2, 3, 0, 1 of each half
    m = _mm256_max_ps(m, _mm256_permute_ps(m, 0xb1));  // lanes 1, 0, 3, 2 of each half
    largestA = _mm256_cvtss_f32(m);
    largestB = _mm_cvtss_f32(_mm256_extractf128_ps(m, 1));
  }
  BREVANDOR_LANE_HOT static Vec exponent(Vec y) {
    const __m256i biased = _mm256_srli_epi32(_mm256_castps_si256(y), 23);
    return _mm256_cvtepi32_ps(_mm256_sub_epi32(biased, _mm256_set1_epi32(127)));
  }
  BREVANDOR_LANE_HOT static Vec mantissa(Vec y) {
    const __m256i fraction =
        _mm256_and_si256(_mm256_castps_si256(y), _mm256_set1_epi32(0x007fffff));
    return _mm256_castsi256_ps(_mm256_or_si256(fraction, _mm256_set1_epi32(0x3f800000)));
  }
  BREVANDOR_LANE_HOT static Vec powerOfTwo(Vec k) {
    const __m256i exponent = _mm256_add_epi32(_mm256_cvttps_epi32(k), _mm256_set1_epi32(127));
    return _mm256_castsi256_ps(_mm256_slli_epi32(exponent, 23));
  }
};

}  // namespace

const LaneSisoKernels& avx2LaneSisoKernelsUnchecked() {
  static const LaneSisoKernels kernels = lanes::kernelsOf<Avx2Lanes>("avx2");
  return kernels;
}

}  // namespace brevandor
