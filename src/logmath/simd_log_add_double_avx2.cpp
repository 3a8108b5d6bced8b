// The AVX2 + FMA row kernels of double-precision tables: four lanes of the double log-add
// that the single-precision kernels fall back on. Every result is logAdd's to within a couple
// of ulps; lanes whose powers of ten logAdd would form as subnormals (the larger argument
// below −300), and the last cells of a row that do not fill four lanes, are left to logAdd
// itself. This file alone is compiled for AVX2 + FMA.

#include "logmath/simd_log_add_double_avx2.h"

#include <immintrin.h>

#include "logmath/fold_rows_scalar.h"
#include "logmath/log_domain.h"
#include "logmath/simd_log_add_avx2_core.h"

namespace brevandor {

namespace {

using namespace simd;

// Stores `sum` at dst where `keep` (a lane mask) is set, the deferred lanes of those computed
// by logAdd from the operands a and b.
BREVANDOR_HOT void storeSum(double* dst, __m256d keep, const Sum4& sum, __m256d a, __m256d b) {
  const __m256d value = sum.deferred != 0 ? deferredLanes(sum, a, b) : sum.value;
  _mm256_storeu_pd(dst, _mm256_blendv_pd(_mm256_loadu_pd(dst), value, keep));
}

void sumPairsDoubleAvx2(double* dst, const double* a, const double* b, std::size_t count) {
  std::size_t i = 0;
  for (; i + 4 <= count; i += 4) {
    const __m256d va = _mm256_loadu_pd(a + i);
    const __m256d vb = _mm256_loadu_pd(b + i);
    const Sum4 sum = logAdd4(va, vb);
    _mm256_storeu_pd(dst + i, sum.deferred != 0 ? deferredLanes(sum, va, vb) : sum.value);
  }
  for (; i < count; ++i) {
    dst[i] = logAdd(a[i], b[i]);
  }
}

template <bool kWithFloor>
BREVANDOR_HOT void addTerms4(double* acc, const double* src, const double* floor, std::size_t i,
                             __m256d x, __m256d y) {
  const __m256d vs = _mm256_loadu_pd(src + i);
  __m256d take = _mm256_cmp_pd(vs, _mm256_set1_pd(LogZero), _CMP_NEQ_UQ);
  if (_mm256_movemask_pd(take) == 0) {
    return;
  }
  const __m256d term = _mm256_sub_pd(_mm256_add_pd(x, vs), y);
  if constexpr (kWithFloor) {
    take = _mm256_and_pd(take, _mm256_cmp_pd(term, _mm256_loadu_pd(floor + i), _CMP_GE_OQ));
    if (_mm256_movemask_pd(take) == 0) {
      return;
    }
  }
  const __m256d before = _mm256_loadu_pd(acc + i);
  storeSum(acc + i, take, logAdd4(before, term), before, term);
}

template <bool kWithFloor>
void addTermsRow(double* acc, const double* src, const double* floor, std::size_t count, double x,
                 double y) {
  const __m256d vx = _mm256_set1_pd(x);
  const __m256d vy = _mm256_set1_pd(y);
  std::size_t i = 0;
  for (; i + 4 <= count; i += 4) {
    addTerms4<kWithFloor>(acc, src, floor, i, vx, vy);
  }
  for (; i < count; ++i) {
    if (src[i] == LogZero) {
      continue;
    }
    const double term = (x + src[i]) - y;
    if (!kWithFloor || term >= floor[i]) {
      acc[i] = logAdd(acc[i], term);
    }
  }
}

void addTermsDoubleAvx2(double* acc, const double* src, std::size_t count, double x, double y) {
  addTermsRow<false>(acc, src, nullptr, count, x, y);
}

void addTermsAboveDoubleAvx2(double* acc, const double* src, const double* floor, std::size_t count,
                             double x, double y) {
  addTermsRow<true>(acc, src, floor, count, x, y);
}

void accumulateDoubleAvx2(double* acc, const double* src, std::size_t count) {
  sumPairsDoubleAvx2(acc, acc, src, count);
}

// Four rows at a time, one lane each, the columns in order.
void foldRowsDoubleAvx2(double* sums, const double* const* rows, std::size_t rowCount,
                        std::size_t columns, const double* shift) {
  std::size_t r = 0;
  for (; r + 4 <= rowCount; r += 4) {
    const double* const* group = rows + r;
    __m256d sum = _mm256_loadu_pd(sums + r);
    for (std::size_t c = 0; c < columns; ++c) {
      __m256d terms = _mm256_setr_pd(group[0][c], group[1][c], group[2][c], group[3][c]);
      if (shift != nullptr) {
        terms = _mm256_add_pd(_mm256_set1_pd(shift[c]), terms);
      }
      const Sum4 next = logAdd4(sum, terms);
      sum = next.deferred != 0 ? deferredLanes(next, sum, terms) : next.value;
    }
    _mm256_storeu_pd(sums + r, sum);
  }
  simd::foldRowsScalar(sums + r, rows + r, rowCount - r, columns, shift);
}

void maxTermsDoubleAvx2(double* best, const double* src, std::size_t count, double x) {
  const __m256d vx = _mm256_set1_pd(x);
  const __m256d logZero = _mm256_set1_pd(LogZero);
  std::size_t i = 0;
  for (; i + 4 <= count; i += 4) {
    const __m256d vs = _mm256_loadu_pd(src + i);
    const __m256d current = _mm256_loadu_pd(best + i);
    const __m256d larger = _mm256_max_pd(current, _mm256_add_pd(vx, vs));
    _mm256_storeu_pd(best + i,
                     _mm256_blendv_pd(current, larger, _mm256_cmp_pd(vs, logZero, _CMP_NEQ_UQ)));
  }
  for (; i < count; ++i) {
    if (src[i] != LogZero && x + src[i] > best[i]) {
      best[i] = x + src[i];
    }
  }
}

}  // namespace

const DoubleLogAddRowKernels& avx2DoubleLogAddKernelsUnchecked() {
  static const DoubleLogAddRowKernels kernels{"avx2",
                                              sumPairsDoubleAvx2,
                                              addTermsDoubleAvx2,
                                              addTermsAboveDoubleAvx2,
                                              accumulateDoubleAvx2,
                                              foldRowsDoubleAvx2,
                                              maxTermsDoubleAvx2};
  return kernels;
}

}  // namespace brevandor
