// The AVX2 + FMA row kernels of single-precision tables. The sums of counts (sumPairs) run a
// float path of their own and queue the cells it cannot settle for the double log-add;
// addTerms rounds the double log-add of simd_log_add_lanes.h to float where the rounding is
// certain; accumulate, foldRows and maxTerms are the kernels of simd_row_kernels.h. This
// file alone is compiled for AVX2; nothing in it runs unless the processor has been found to
// support it (see avx2RowKernels).

#include <immintrin.h>

#include <cstdint>

#include "logmath/log_domain.h"
#include "logmath/simd_log_add.h"
#include "logmath/simd_log_add_constants.h"
#include "logmath/simd_log_add_lanes.h"
#include "logmath/simd_log_add_sets.h"
#include "logmath/simd_packet_avx2.h"
#include "logmath/simd_row_kernels.h"

namespace brevandor {

namespace {

using namespace simd;

using Doubles = Avx2Doubles;

// Float logAdd for four lanes in double: the rounded results and the lanes that are certain.
BREVANDOR_HOT RoundedLanes<Doubles> logAddToFloat4(__m256d a, __m256d b) {
  return roundCertain(logAddLanes<Doubles>(a, b, kNegligibleForFloat));
}

BREVANDOR_HOT float lane(__m256 values, int index) {
  alignas(32) float lanes[8];
  _mm256_store_ps(lanes, values);
  return lanes[index];
}

BREVANDOR_HOT __m256 combine(__m128 low, __m128 high) {
  return _mm256_insertf128_ps(_mm256_castps128_ps256(low), high, 1);
}

// The four lane masks of a double comparison as four float lane masks.
BREVANDOR_HOT __m128 narrowMask(__m256d mask) {
  const __m256i lowHalves = _mm256_setr_epi32(0, 2, 4, 6, 0, 2, 4, 6);
  return _mm256_castps256_ps128(_mm256_permutevar8x32_ps(_mm256_castpd_ps(mask), lowHalves));
}

// The single-precision path for counts (both operands ≥ 0, the larger ≥ 1/4 or both 0):
// eight lanes of m + log10(1 + 10^(n − m)), returned as a float `sum` and the exact error
// `error` of that float sum against m + our correction. The correction is accurate to
// 4e-8 absolute; the caller accepts a lane only where that cannot move the rounding.
BREVANDOR_HOT __m256 countSumFloat(__m256 m, __m256 n, __m256& error) {
  constexpr double kLog2Of10 = 3.321928094887362348;
  constexpr float kLog2Of10Hi = static_cast<float>(kLog2Of10);
  constexpr float kLog2Of10Lo = static_cast<float>(kLog2Of10 - static_cast<double>(kLog2Of10Hi));
  // δ = m − n exactly as deltaHi + deltaLo (m ≥ n ≥ 0).
  __m256 deltaHi = _mm256_sub_ps(m, n);
  const __m256 deltaLo = _mm256_sub_ps(_mm256_sub_ps(m, deltaHi), n);
  // Beyond 18 the correction (< 5e-19) cannot move a sum of at least ¼; capping there also
  // keeps u² clear of subnormal floats, which the processor handles very slowly.
  deltaHi = _mm256_min_ps(deltaHi, _mm256_set1_ps(18.0f));
  // 10^(−δ) = 2^(−k) · 2^f with k = round(δ·log2 10) and f = k − δ·log2 10 in [−½, ½].
  const __m256 k = _mm256_round_ps(_mm256_mul_ps(deltaHi, _mm256_set1_ps(kLog2Of10Hi)),
                                   _MM_FROUND_TO_NEAREST_INT | _MM_FROUND_NO_EXC);
  __m256 f = _mm256_fnmadd_ps(deltaHi, _mm256_set1_ps(kLog2Of10Hi), k);
  f = _mm256_fnmadd_ps(deltaHi, _mm256_set1_ps(kLog2Of10Lo), f);
  f = _mm256_fnmadd_ps(deltaLo, _mm256_set1_ps(kLog2Of10Hi), f);
  // 2^f by its Taylor series to degree 7 (relative error below 6e-9 on [−½, ½]).
  // Estrin's scheme: a shorter chain of dependent operations than Horner's, which lets
  // more rows' cells be under way at once.
  const __m256 f2 = _mm256_mul_ps(f, f);
  const __m256 f4 = _mm256_mul_ps(f2, f2);
  const __m256 p01 =
      _mm256_fmadd_ps(f, _mm256_set1_ps(6.9314718055994531e-01f), _mm256_set1_ps(1.0f));
  const __m256 p23 = _mm256_fmadd_ps(f, _mm256_set1_ps(5.5504108664821580e-02f),
                                     _mm256_set1_ps(2.4022650695910071e-01f));
  const __m256 p45 = _mm256_fmadd_ps(f, _mm256_set1_ps(1.3333558146428443e-03f),
                                     _mm256_set1_ps(9.6181291076284772e-03f));
  const __m256 p67 = _mm256_fmadd_ps(f, _mm256_set1_ps(1.5252733804059840e-05f),
                                     _mm256_set1_ps(1.5403530393381608e-04f));
  const __m256 p =
      _mm256_fmadd_ps(f4, _mm256_fmadd_ps(f2, p67, p45), _mm256_fmadd_ps(f2, p23, p01));
  const __m256i kBits = _mm256_slli_epi32(_mm256_cvtps_epi32(k), 23);
  const __m256 y = _mm256_castsi256_ps(_mm256_sub_epi32(_mm256_castps_si256(p), kBits));
  // log10(1 + y) = 2·atanh(u)/ln10 (+ log10 2 when the argument is halved), |u| ≤ 0.172.
  const __m256 big = _mm256_cmp_ps(y, _mm256_set1_ps(static_cast<float>(kSqrt2Minus1)), _CMP_GT_OQ);
  const __m256 oneIfBig = _mm256_and_ps(big, _mm256_set1_ps(1.0f));
  const __m256 u = _mm256_div_ps(_mm256_sub_ps(y, oneIfBig),
                                 _mm256_add_ps(_mm256_add_ps(y, _mm256_set1_ps(2.0f)), oneIfBig));
  const __m256 u2 = _mm256_mul_ps(u, u);
  constexpr double c = 2.0 / kLn10;
  __m256 q = _mm256_set1_ps(static_cast<float>(c / 9.0));
  q = _mm256_fmadd_ps(q, u2, _mm256_set1_ps(static_cast<float>(c / 7.0)));
  q = _mm256_fmadd_ps(q, u2, _mm256_set1_ps(static_cast<float>(c / 5.0)));
  q = _mm256_fmadd_ps(q, u2, _mm256_set1_ps(static_cast<float>(c / 3.0)));
  q = _mm256_fmadd_ps(q, u2, _mm256_set1_ps(static_cast<float>(c)));
  const __m256 correction =
      _mm256_fmadd_ps(u, q, _mm256_and_ps(big, _mm256_set1_ps(static_cast<float>(kLog10Of2))));
  // The correction is at most log10 2 < ½ ≤ m (or m = 0), so the error of the sum is exact.
  const __m256 sum = _mm256_add_ps(m, correction);
  error = _mm256_sub_ps(correction, _mm256_sub_ps(sum, m));
  return sum;
}

// Bound on the error of countSumFloat's correction: twice the largest seen in a dense scan of
// the differences 0 … 30 (3.95e-8). It also covers logAdd's own deviation, which is far
// smaller at these magnitudes.
constexpr float kFloatPathSlack = 8e-8f;

// The lanes where the float sum is certainly what logAdd rounds to: the exact value lies
// within the slack of sum + error, and that whole interval lies inside half an ulp of sum
// (sums that are powers of two, whose lower neighbour is closer, are left to the caller).
BREVANDOR_HOT __m256 countSumCertain(__m256 sum, __m256 error) {
  const __m256i bits = _mm256_castps_si256(sum);
  const __m256 halfUlp = _mm256_castsi256_ps(_mm256_sub_epi32(
      _mm256_and_si256(bits, _mm256_set1_epi32(0x7F800000)), _mm256_set1_epi32(24 << 23)));
  const __m256 reach = _mm256_add_ps(_mm256_andnot_ps(_mm256_set1_ps(-0.0f), error),
                                     _mm256_set1_ps(kFloatPathSlack));
  const __m256 inside = _mm256_cmp_ps(reach, halfUlp, _CMP_LT_OQ);
  const __m256i mantissa = _mm256_and_si256(bits, _mm256_set1_epi32(0x007FFFFF));
  const __m256 powerOfTwo =
      _mm256_castsi256_ps(_mm256_cmpeq_epi32(mantissa, _mm256_setzero_si256()));
  return _mm256_andnot_ps(powerOfTwo, inside);
}

// For every 8-bit lane mask, the permutation that moves the marked lanes to the front in
// order: lets sumPairs queue its unsettled lanes without a branch per lane.
struct LanePacking {
  alignas(32) std::int32_t order[256][8];

  LanePacking() {
    for (int mask = 0; mask < 256; ++mask) {
      int next = 0;
      for (int lane = 0; lane < 8; ++lane) {
        if ((mask >> lane) & 1) {
          order[mask][next++] = lane;
        }
      }
      while (next < 8) {
        order[mask][next++] = 0;
      }
    }
  }
};

const LanePacking& lanePacking() {
  static const LanePacking packing;
  return packing;
}

// Cells that the float path of sumPairs could not settle, with their operands as loaded
// (dst may be one of the operand rows), waiting to go four at a time through the double
// path; what that cannot settle either goes to logAdd. The caller keeps the count in a
// local variable: as a member it would be reloaded after every vector store.
class PendingCells {
 public:
  PendingCells() : packing_(lanePacking()) {}

  // Queues the lanes of `lanes` (a lane mask) of the eight cells at `first`; returns the
  // new count.
  BREVANDOR_HOT std::size_t add(std::size_t count, std::int32_t first, int lanes, __m256 a,
                                __m256 b) {
    const __m256i order =
        _mm256_load_si256(reinterpret_cast<const __m256i*>(packing_.order[lanes]));
    _mm256_storeu_ps(a_ + count, _mm256_permutevar8x32_ps(a, order));
    _mm256_storeu_ps(b_ + count, _mm256_permutevar8x32_ps(b, order));
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(index_ + count),
                        _mm256_add_epi32(order, _mm256_set1_epi32(first)));
    return count + static_cast<std::size_t>(__builtin_popcount(static_cast<unsigned>(lanes)));
  }
  static bool nearlyFull(std::size_t count) { return count + 8 > kCapacity; }

  // Settles the `count` waiting cells of dst.
  void settle(float* dst, std::size_t count) {
    std::size_t done = 0;
    for (; done + 4 <= count; done += 4) {
      settleFour(dst, done, 4);
    }
    if (done < count) {
      // The group is filled up with copies of its first cell, whose results are not stored.
      for (std::size_t k = count; k < done + 4; ++k) {
        a_[k] = a_[done];
        b_[k] = b_[done];
      }
      settleFour(dst, done, count - done);
    }
  }

 private:
  static constexpr std::size_t kCapacity = 64;

  void settleFour(float* dst, std::size_t first, std::size_t used) {
    const RoundedLanes<Doubles> rounded = logAddToFloat4(_mm256_cvtps_pd(_mm_loadu_ps(a_ + first)),
                                                         _mm256_cvtps_pd(_mm_loadu_ps(b_ + first)));
    alignas(16) float results[4];
    _mm_store_ps(results, rounded.value);
    const unsigned settled = rounded.certain;
    for (std::size_t k = 0; k < used; ++k) {
      const std::size_t cell = first + k;
      dst[index_[cell]] =
          ((settled >> k) & 1) != 0 ? results[k] : static_cast<float>(logAdd(a_[cell], b_[cell]));
    }
  }

  const LanePacking& packing_;
  // Room for a full vector beyond the capacity, which add writes whole.
  std::int32_t index_[kCapacity + 8];
  float a_[kCapacity + 8];
  float b_[kCapacity + 8];
};

// Eight cells of sumPairs at `i`; cells the float path cannot settle wait in `pending`.
BREVANDOR_HOT void sumPairs8(float* dst, const float* a, const float* b, std::size_t i,
                             PendingCells& pending, std::size_t& pendingCount) {
  const __m256 va = _mm256_loadu_ps(a + i);
  const __m256 vb = _mm256_loadu_ps(b + i);
  const __m256 logZero = _mm256_set1_ps(kLogZeroF);
  const __m256 aZero = _mm256_cmp_ps(va, logZero, _CMP_EQ_OQ);
  const __m256 zero = _mm256_or_ps(aZero, _mm256_cmp_ps(vb, logZero, _CMP_EQ_OQ));
  const __m256 larger = _mm256_max_ps(va, vb);  // a > b ? a : b, as logAdd chooses
  // Where an operand is LogZero, logAdd's result is the other one.
  const __m256 other = _mm256_blendv_ps(va, vb, aZero);
  const int zeroLanes = _mm256_movemask_ps(zero);
  if (zeroLanes == 0xFF) {
    _mm256_storeu_ps(dst + i, other);
    return;
  }
  const __m256 smaller = _mm256_min_ps(va, vb);
  const __m256 eligible =
      _mm256_and_ps(_mm256_cmp_ps(smaller, _mm256_setzero_ps(), _CMP_GE_OQ),
                    _mm256_or_ps(_mm256_cmp_ps(larger, _mm256_set1_ps(0.25f), _CMP_GE_OQ),
                                 _mm256_cmp_ps(larger, _mm256_setzero_ps(), _CMP_EQ_OQ)));
  __m256 error;
  const __m256 sum = countSumFloat(larger, smaller, error);
  const __m256 certain = _mm256_and_ps(eligible, countSumCertain(sum, error));
  _mm256_storeu_ps(dst + i, _mm256_blendv_ps(sum, other, zero));
  // Queued without a branch: whether a vector has such a lane is hard to predict.
  pendingCount = pending.add(pendingCount, static_cast<std::int32_t>(i),
                             ~(_mm256_movemask_ps(certain) | zeroLanes) & 0xFF, va, vb);
}

// The last count % 8 cells of a row, through the vector code on a padded copy: `body` runs
// on eight-cell copies of the given rows (padded with `fill`), and the first `rest` cells of
// the copy of `out` are stored back.
template <typename Body>
BREVANDOR_HOT void paddedTail(float* out, std::size_t rest, const float* in1, const float* in2,
                              float fill1, float fill2, Body body) {
  alignas(32) float copyOut[8];
  alignas(32) float copy1[8];
  alignas(32) float copy2[8];
  for (std::size_t k = 0; k < 8; ++k) {
    copyOut[k] = k < rest ? out[k] : kLogZeroF;
    copy1[k] = k < rest ? in1[k] : fill1;
    copy2[k] = k < rest ? in2[k] : fill2;
  }
  body(copyOut, copy1, copy2);
  for (std::size_t k = 0; k < rest; ++k) {
    out[k] = copyOut[k];
  }
}

void sumPairsAvx2(float* dst, const float* a, const float* b, std::size_t count) {
  PendingCells pending;
  std::size_t pendingCount = 0;
  std::size_t i = 0;
  for (; i + 8 <= count; i += 8) {
    sumPairs8(dst, a, b, i, pending, pendingCount);
    if (PendingCells::nearlyFull(pendingCount)) {
      pending.settle(dst, pendingCount);
      pendingCount = 0;
    }
  }
  pending.settle(dst, pendingCount);
  if (i < count) {
    paddedTail(dst + i, count - i, a + i, b + i, kLogZeroF, kLogZeroF,
               [](float* out, const float* first, const float* second) {
                 PendingCells tail;
                 std::size_t tailCount = 0;
                 sumPairs8(out, first, second, 0, tail, tailCount);
                 tail.settle(out, tailCount);
               });
  }
}

// The shared body of addTerms and addTermsAbove for eight cells at `i`.
template <bool kWithFloor>
BREVANDOR_HOT void addTerms8(float* acc, const float* src, const float* floor, std::size_t i,
                             __m256d x, __m256d y) {
  const __m256 vs = _mm256_loadu_ps(src + i);
  __m256 skip = _mm256_cmp_ps(vs, _mm256_set1_ps(kLogZeroF), _CMP_EQ_OQ);
  if (_mm256_movemask_ps(skip) == 0xFF) {
    return;
  }
  const __m256 va = _mm256_loadu_ps(acc + i);
  const __m256d accLow = _mm256_cvtps_pd(_mm256_castps256_ps128(va));
  const __m256d accHigh = _mm256_cvtps_pd(_mm256_extractf128_ps(va, 1));
  const __m256d termLow =
      _mm256_sub_pd(_mm256_add_pd(x, _mm256_cvtps_pd(_mm256_castps256_ps128(vs))), y);
  const __m256d termHigh =
      _mm256_sub_pd(_mm256_add_pd(x, _mm256_cvtps_pd(_mm256_extractf128_ps(vs, 1))), y);
  if constexpr (kWithFloor) {
    const __m256 vf = _mm256_loadu_ps(floor + i);
    const __m128 belowLow =
        narrowMask(_mm256_cmp_pd(termLow, _mm256_cvtps_pd(_mm256_castps256_ps128(vf)), _CMP_LT_OQ));
    const __m128 belowHigh = narrowMask(
        _mm256_cmp_pd(termHigh, _mm256_cvtps_pd(_mm256_extractf128_ps(vf, 1)), _CMP_LT_OQ));
    skip = _mm256_or_ps(skip, combine(belowLow, belowHigh));
    if (_mm256_movemask_ps(skip) == 0xFF) {
      return;
    }
  }
  const RoundedLanes<Doubles> low = logAddToFloat4(accLow, termLow);
  const RoundedLanes<Doubles> high = logAddToFloat4(accHigh, termHigh);
  const __m256 result = _mm256_blendv_ps(combine(low.value, high.value), va, skip);
  _mm256_storeu_ps(acc + i, result);
  const unsigned uncertain =
      ~(low.certain | high.certain << 4 | static_cast<unsigned>(_mm256_movemask_ps(skip))) & 0xFFu;
  if (uncertain != 0) {
    const double xs = _mm256_cvtsd_f64(x);
    const double ys = _mm256_cvtsd_f64(y);
    for (int index = 0; index < 8; ++index) {
      if ((uncertain >> index) & 1) {
        const std::size_t j = i + static_cast<std::size_t>(index);
        acc[j] = static_cast<float>(logAdd(lane(va, index), (xs + src[j]) - ys));
      }
    }
  }
}

template <bool kWithFloor>
void addTermsRow(float* acc, const float* src, const float* floor, std::size_t count, double x,
                 double y) {
  const __m256d vx = _mm256_set1_pd(x);
  const __m256d vy = _mm256_set1_pd(y);
  std::size_t i = 0;
  for (; i + 8 <= count; i += 8) {
    addTerms8<kWithFloor>(acc, src, floor, i, vx, vy);
  }
  if (i < count) {
    // Without a floor the second copy is unused (and there is no floor row to copy from).
    paddedTail(acc + i, count - i, src + i, kWithFloor ? floor + i : src + i, kLogZeroF, 0.0f,
               [&](float* out, const float* terms, const float* floors) {
                 addTerms8<kWithFloor>(out, terms, floors, 0, vx, vy);
               });
  }
}

}  // namespace

template <>
const LogAddRowKernels& avx2RowKernelsUnchecked<float>() {
  static const LogAddRowKernels kernels =
      floatTableKernels<Doubles, Avx2Floats, addTermsRow<false>, addTermsRow<true>>(
          "avx2", sumPairsAvx2, foldRowGroups<Doubles, float>);
  return kernels;
}

}  // namespace brevandor
