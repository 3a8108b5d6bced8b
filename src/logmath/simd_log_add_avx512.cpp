// The AVX-512 row kernels: sixteen floats (eight doubles) at a time, with lane masks
// instead of blends, masked loads for row ends and compressed stores for the cells the float
// path leaves open. The sums of counts (sumPairs) take the correction from piecewise
// polynomials fetched by permutes and carry the rounding error of the sum, so that almost
// every cell is settled in single precision without a division; addTerms rounds the double
// log-add of simd_log_add_lanes.h to float, from a table where it can; accumulate and
// maxTerms are the kernels of simd_row_kernels.h, foldRows the AVX2 one. Measured about twice as
// fast as the AVX2 kernels (see bench/README.md). This file alone is compiled for AVX-512; nothing
// in it runs unless the processor has been found to support it.

#include <immintrin.h>

#include <cstdint>

#include "logmath/log_add_correction.h"
#include "logmath/log_domain.h"
#include "logmath/simd_log_add.h"
#include "logmath/simd_log_add_constants.h"
#include "logmath/simd_log_add_lanes.h"
#include "logmath/simd_log_add_sets.h"
#include "logmath/simd_log_add_table_avx512.h"
#include "logmath/simd_packet_avx512.h"
#include "logmath/simd_row_kernels.h"

namespace brevandor {

namespace {

using namespace simd;

using Doubles = Avx512Doubles;

using DoubleCorrectionRegisters = CorrectionTableRegisters<LogAddCorrectionDoubleTable>;

// logAddLanes for results that are rounded to float (the negligible difference is
// kNegligibleForFloat): the table where every open lane's difference lies within it, else
// logAddCore (differences beyond the table are rare in the engine's sums).
BREVANDOR_HOT LaneSums<Doubles> logAdd8ForFloat(__m512d a, __m512d b,
                                                const DoubleCorrectionRegisters& table) {
  return logAddLanesFromTable(a, b, kNegligibleForFloat, table);
}

// The correction table in registers: each coefficient's 32 interval values as two vectors,
// so that one permute fetches sixteen lanes' coefficients.
struct CorrectionRegisters {
  static constexpr int kCoefficients = LogAddCorrectionTable::kDegree + 3;  // c0, c1 as pairs
  __m512 low[kCoefficients];
  __m512 high[kCoefficients];

  explicit CorrectionRegisters(const LogAddCorrectionTable& table) {
    const float* rows[kCoefficients] = {table.c0Hi,      table.c0Lo,      table.c1Hi,
                                        table.c1Lo,      table.higher[0], table.higher[1],
                                        table.higher[2], table.higher[3], table.higher[4]};
    for (int j = 0; j < kCoefficients; ++j) {
      low[j] = _mm512_load_ps(rows[j]);
      high[j] = _mm512_load_ps(rows[j] + 16);
    }
  }
  BREVANDOR_HOT __m512 at(int j, __m512i interval) const {
    return _mm512_permutex2var_ps(low[j], interval, high[j]);
  }
};
static_assert(LogAddCorrectionTable::kIntervals == 32 && LogAddCorrectionTable::kDegree == 6,
              "the permutes below fetch 32 intervals of a degree-6 fit");

// Bound on |exact sum − (result + residual)| of countSumTable: the fit's own error (2e-10),
// the float evaluation of its smaller terms, and logAdd's deviation from the exact sum
// (below 1e-13 at these magnitudes); 2.7 times the largest seen in a scan of 2·10^7 pairs.
constexpr float kTableSlack = 2e-9f;

// m + log10(1 + 10^(n − m)) for counts (m ≥ n ≥ 0), from the piecewise polynomials: the
// rounded float `result`, and `residual`, what the exact sum exceeds it by to within
// kTableSlack. The two large terms of the correction (c0 and c1·t) are added to m with their
// rounding errors kept, so the residual is accurate far below the float spacing. Lanes where
// the reasoning fails (δ beyond the table, or m − n not exact in float) are left out of
// `usable`; the caller also needs m ≥ ¼ or m = 0 for the first error-free sum.
BREVANDOR_HOT __m512 countSumTable(__m512 m, __m512 n, const CorrectionRegisters& table,
                                   __m512& residual, __mmask16& usable) {
  const __m512 delta = _mm512_sub_ps(m, n);
  const __m512 deltaError = _mm512_sub_ps(_mm512_sub_ps(m, delta), n);  // exact as n ≥ 0
  usable = _mm512_cmp_ps_mask(deltaError, _mm512_setzero_ps(), _CMP_EQ_OQ) &
           _mm512_cmp_ps_mask(delta, _mm512_set1_ps(LogAddCorrectionTable::kReach), _CMP_LT_OQ);
  // k = round(4δ) lands in the low mantissa bits of `rounded`; t = 4δ − k is exact.
  const __m512 scale = _mm512_set1_ps(LogAddCorrectionTable::kIntervalsPerUnit);
  const __m512 magic = _mm512_set1_ps(12582912.0f);  // 1.5 · 2^23
  const __m512 rounded = _mm512_fmadd_ps(delta, scale, magic);
  const __m512 t = _mm512_fmsub_ps(delta, scale, _mm512_sub_ps(rounded, magic));
  const __m512i interval = _mm512_castps_si512(rounded);  // permutes read its low 5 bits

  // c2 + c3·t + … + c6·t^4, whose contribution t²·(…) is below 0.005.
  __m512 higher = table.at(8, interval);
  for (int j = 7; j >= 4; --j) {
    higher = _mm512_fmadd_ps(higher, t, table.at(j, interval));
  }
  const __m512 c0Hi = table.at(0, interval);
  const __m512 c1Hi = table.at(2, interval);
  const __m512 linear = _mm512_mul_ps(c1Hi, t);
  const __m512 linearError = _mm512_fmsub_ps(c1Hi, t, linear);
  const __m512 small = _mm512_fmadd_ps(
      _mm512_mul_ps(t, t), higher,
      _mm512_fmadd_ps(table.at(3, interval), t, _mm512_add_ps(table.at(1, interval), linearError)));
  // Two error-free sums: m + c0Hi, then + c1Hi·t (|c0Hi| ≤ log10 2 is within m's binade or
  // below it, and |c1Hi·t| < ⅛ ≤ the first sum).
  const __m512 first = _mm512_add_ps(m, c0Hi);
  const __m512 firstError = _mm512_sub_ps(c0Hi, _mm512_sub_ps(first, m));
  const __m512 second = _mm512_add_ps(first, linear);
  const __m512 secondError = _mm512_sub_ps(linear, _mm512_sub_ps(second, first));
  const __m512 error = _mm512_add_ps(_mm512_add_ps(firstError, secondError), small);
  const __m512 result = _mm512_add_ps(second, error);
  residual = _mm512_add_ps(_mm512_sub_ps(second, result), error);
  return result;
}

// The lanes where every value within kTableSlack of result + residual rounds to result.
BREVANDOR_HOT __mmask16 roundsToResult(__m512 result, __m512 residual) {
  const __m512 slack = _mm512_set1_ps(kTableSlack);
  const __m512 above = _mm512_add_ps(result, _mm512_add_ps(residual, slack));
  const __m512 below = _mm512_add_ps(result, _mm512_sub_ps(residual, slack));
  return _mm512_cmp_ps_mask(above, result, _CMP_EQ_OQ) &
         _mm512_cmp_ps_mask(below, result, _CMP_EQ_OQ);
}

// Cells the float path left open, with their operands as loaded, waiting to go eight at a
// time through the double path; what that cannot settle goes to logAdd. The caller keeps
// the count in a local variable: as a member it would be reloaded after every store.
class PendingCells {
 public:
  // Queues the `lanes` of the sixteen cells at `first`; returns the new count. Compressed in
  // registers and stored whole: compressing straight to memory is slow on some processors.
  BREVANDOR_HOT std::size_t add(std::size_t count, std::int32_t first, __mmask16 lanes, __m512 a,
                                __m512 b) {
    _mm512_storeu_ps(a_ + count, _mm512_maskz_compress_ps(lanes, a));
    _mm512_storeu_ps(b_ + count, _mm512_maskz_compress_ps(lanes, b));
    const __m512i positions =
        _mm512_add_epi32(_mm512_set1_epi32(first),
                         _mm512_setr_epi32(0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15));
    _mm512_storeu_si512(index_ + count, _mm512_maskz_compress_epi32(lanes, positions));
    return count + static_cast<std::size_t>(__builtin_popcount(lanes));
  }
  static bool nearlyFull(std::size_t count) { return count + 16 > kCapacity; }

  // Settles the `count` waiting cells of dst. Kept out of line: it is rarely called, and
  // inlined its registers would crowd those of the row loop.
  __attribute__((noinline)) void settle(float* dst, std::size_t count) {
    for (std::size_t done = 0; done < count; done += 8) {
      const std::size_t used = count - done < 8 ? count - done : 8;
      const auto lanes = static_cast<__mmask8>((1u << used) - 1u);
      const __m512d logZero = _mm512_set1_pd(LogZero);
      const __m512d a = _mm512_mask_cvtps_pd(logZero, lanes, _mm256_loadu_ps(a_ + done));
      const __m512d b = _mm512_mask_cvtps_pd(logZero, lanes, _mm256_loadu_ps(b_ + done));
      const RoundedLanes<Doubles> rounded =
          roundCertain(logAddLanes<Doubles>(a, b, kNegligibleForFloat));
      const unsigned certain = rounded.certain;
      alignas(32) float results[8];
      _mm256_store_ps(results, rounded.value);
      for (std::size_t k = 0; k < used; ++k) {
        const std::size_t cell = done + k;
        dst[index_[cell]] =
            ((certain >> k) & 1) != 0 ? results[k] : static_cast<float>(logAdd(a_[cell], b_[cell]));
      }
    }
  }

 private:
  static constexpr std::size_t kCapacity = 128;
  std::int32_t index_[kCapacity + 16];
  float a_[kCapacity + 16];
  float b_[kCapacity + 16];
};

// Sixteen cells (or the `lanes` of them) of sumPairs at `i`. The float path settles almost
// every cell; the few it cannot (doubtful rounding, unusual operands) wait in `pending`.
BREVANDOR_HOT void sumPairs16(float* dst, const float* a, const float* b, std::size_t i,
                              __mmask16 lanes, const CorrectionRegisters& table,
                              PendingCells& pending, std::size_t& pendingCount) {
  const __m512 logZero = _mm512_set1_ps(kLogZeroF);
  const __m512 va = _mm512_mask_loadu_ps(logZero, lanes, a + i);
  const __m512 vb = _mm512_mask_loadu_ps(logZero, lanes, b + i);
  const __mmask16 aZero = _mm512_cmp_ps_mask(va, logZero, _CMP_EQ_OQ);
  const __mmask16 zero = aZero | _mm512_cmp_ps_mask(vb, logZero, _CMP_EQ_OQ);
  const __m512 larger = _mm512_max_ps(va, vb);  // a > b ? a : b, as logAdd chooses
  // Where an operand is LogZero, logAdd's result is the other one.
  const __m512 other = _mm512_mask_mov_ps(va, aZero, vb);
  if (zero == 0xFFFF) {
    _mm512_mask_storeu_ps(dst + i, lanes, other);
    return;
  }
  const __m512 smaller = _mm512_min_ps(va, vb);
  const __mmask16 counts = _mm512_cmp_ps_mask(smaller, _mm512_setzero_ps(), _CMP_GE_OQ) &
                           (_mm512_cmp_ps_mask(larger, _mm512_set1_ps(0.25f), _CMP_GE_OQ) |
                            _mm512_cmp_ps_mask(larger, _mm512_setzero_ps(), _CMP_EQ_OQ));
  __m512 residual;
  __mmask16 usable;
  const __m512 sum = countSumTable(larger, smaller, table, residual, usable);
  const __mmask16 certain = counts & usable & roundsToResult(sum, residual);
  _mm512_mask_storeu_ps(dst + i, lanes, _mm512_mask_mov_ps(sum, zero, other));
  const auto open = static_cast<__mmask16>(lanes & ~(certain | zero));
  if (open != 0) {
    pendingCount = pending.add(pendingCount, static_cast<std::int32_t>(i), open, va, vb);
  }
}

void sumPairsAvx512(float* dst, const float* a, const float* b, std::size_t count) {
  const CorrectionRegisters table(logAddCorrectionTable());
  PendingCells pending;
  std::size_t pendingCount = 0;
  std::size_t i = 0;
  for (; i + 16 <= count; i += 16) {
    sumPairs16(dst, a, b, i, 0xFFFF, table, pending, pendingCount);
    if (PendingCells::nearlyFull(pendingCount)) {
      pending.settle(dst, pendingCount);
      pendingCount = 0;
    }
  }
  if (i < count) {
    sumPairs16(dst, a, b, i, static_cast<__mmask16>(Avx512Floats::firstLanes(count - i)), table,
               pending, pendingCount);
  }
  if (pendingCount != 0) {
    pending.settle(dst, pendingCount);
  }
}

// The lanes whose term is too small to move the float sum at all: logAdd's double result
// is the sum plus less than a quarter of its half-ulp, so it rounds back to the sum. That
// holds once the term lies log10(4 / (ln10 · half-ulp)) below the sum; sums below 2^−10 in
// magnitude are left alone, since there logAdd's own round trip through pow is coarser, and
// so are sums below −300, where logAdd's powers of ten are subnormal and it moves even a sum
// whose term is negligible (such lanes are logAdd's own, as everywhere else).
BREVANDOR_HOT __mmask8 beneathRounding(__m512d sum, __m512d term) {
  const __m512d exponent = _mm512_getexp_pd(_mm512_abs_pd(sum));  // floor(log2 |sum|)
  // log10(4 / ln10) + 24·log10 2 − exponent·log10 2
  const __m512d orders = _mm512_fmadd_pd(exponent, _mm512_set1_pd(-kLog10Of2),
                                         _mm512_set1_pd(0.2398626 + 24.0 * kLog10Of2));
  return static_cast<__mmask8>(
      _mm512_cmp_pd_mask(_mm512_sub_pd(sum, term), orders, _CMP_GT_OQ) &
      _mm512_cmp_pd_mask(exponent, _mm512_set1_pd(-10.0), _CMP_GE_OQ) &
      _mm512_cmp_pd_mask(sum, _mm512_set1_pd(kSubnormalLimit), _CMP_GE_OQ));
}

// Eight cells (or the `lanes` of them) of addTerms at `i`, in double. (A float path like
// sumPairs' was tried: the sums of the spectrum rows are mostly of small magnitude, whose
// fine ulps left too many cells to the double path, and it came out slower.)
template <bool kWithFloor>
BREVANDOR_HOT void addTerms8(float* acc, const float* src, const float* floor, std::size_t i,
                             __mmask8 lanes, __m512d x, __m512d y,
                             const DoubleCorrectionRegisters& table) {
  const __m256 logZero = _mm256_set1_ps(kLogZeroF);
  const __m256 vs = _mm256_mask_loadu_ps(logZero, lanes, src + i);
  __mmask8 skip = static_cast<__mmask8>(_mm256_movemask_ps(_mm256_cmp_ps(vs, logZero, _CMP_EQ_OQ)) |
                                        static_cast<__mmask8>(~lanes));
  if (skip == 0xFF) {
    return;
  }
  const __m256 va = _mm256_mask_loadu_ps(logZero, lanes, acc + i);
  const __m512d before = _mm512_cvtps_pd(va);
  const __m512d term = _mm512_sub_pd(_mm512_add_pd(x, _mm512_cvtps_pd(vs)), y);
  if constexpr (kWithFloor) {
    const __m512d lowest = _mm512_cvtps_pd(_mm256_mask_loadu_ps(logZero, lanes, floor + i));
    skip = static_cast<__mmask8>(skip | _mm512_cmp_pd_mask(term, lowest, _CMP_LT_OQ));
    if (skip == 0xFF) {
      return;
    }
  }
  skip = static_cast<__mmask8>(skip | beneathRounding(before, term));
  if (skip == 0xFF) {
    return;
  }
  const RoundedLanes<Doubles> rounded = roundCertain(logAdd8ForFloat(before, term, table));
  const auto write = static_cast<__mmask8>(~skip);
  _mm256_mask_storeu_ps(acc + i, write, rounded.value);
  const auto uncertain = static_cast<unsigned>(write & ~rounded.certain) & 0xFFu;
  if (uncertain != 0) {
    alignas(64) double terms[8];
    alignas(32) float accs[8];
    _mm512_store_pd(terms, term);
    _mm256_store_ps(accs, va);
    for (unsigned rest = uncertain; rest != 0; rest &= rest - 1) {
      const unsigned index = static_cast<unsigned>(__builtin_ctz(rest));
      acc[i + index] = static_cast<float>(logAdd(accs[index], terms[index]));
    }
  }
}

template <bool kWithFloor>
void addTermsRow(float* acc, const float* src, const float* floor, std::size_t count, double x,
                 double y) {
  const __m512d vx = _mm512_set1_pd(x);
  const __m512d vy = _mm512_set1_pd(y);
  const DoubleCorrectionRegisters table(logAddCorrectionDoubleTable());
  forEachPacket<Doubles>(
      count,
      [&](std::size_t i, unsigned lanes) BREVANDOR_HOT_LAMBDA {
        addTerms8<kWithFloor>(acc, src, floor, i, static_cast<__mmask8>(lanes), vx, vy, table);
      },
      [](std::size_t) {});
}

}  // namespace

template <>
const LogAddRowKernels& avx512RowKernelsUnchecked<float>() {
  static const LogAddRowKernels kernels =
      floatTableKernels<Doubles, Avx512Floats, addTermsRow<false>, addTermsRow<true>>(
          "avx512", sumPairsAvx512, avx2RowKernelsUnchecked<float>().foldRows);
  return kernels;
}

}  // namespace brevandor
