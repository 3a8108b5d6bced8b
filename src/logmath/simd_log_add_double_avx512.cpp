// The AVX-512 row kernels of double-precision tables: eight lanes of the double log-add that
// the single-precision kernels fall back on, with lane masks for row ends and LogZero. Every
// result is logAdd's to within a couple of ulps; lanes whose powers of ten logAdd would form
// as subnormals (the larger argument below −300) are left to logAdd itself, so that such
// cells come out as the reference has them. This file alone is compiled for AVX-512.

#include "logmath/simd_log_add_double_avx512.h"

#include <immintrin.h>

#include <cstdint>

// GCC 12 reports the deliberately undefined lanes inside its own AVX-512 intrinsics.
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"

#include "logmath/fold_rows_scalar.h"
#include "logmath/log_domain.h"
#include "logmath/simd_log_add_avx512_core.h"

namespace brevandor {

namespace {

using namespace simd;

BREVANDOR_HOT __mmask8 leadingLanes(std::size_t count) {
  return count >= 8 ? __mmask8{0xFF} : static_cast<__mmask8>((1u << count) - 1u);
}

// Stores the `lanes` of `sum` at dst and hands its deferred ones to logAdd, with the operands
// as they were loaded.
BREVANDOR_HOT void storeSum(double* dst, __mmask8 lanes, const Sum8& sum, __m512d a, __m512d b) {
  _mm512_mask_storeu_pd(dst, lanes, sum.value);
  const auto deferred = static_cast<unsigned>(sum.deferred & lanes);
  if (deferred != 0) {
    alignas(64) double first[8];
    alignas(64) double second[8];
    _mm512_store_pd(first, a);
    _mm512_store_pd(second, b);
    for (unsigned rest = deferred; rest != 0; rest &= rest - 1) {
      const auto index = static_cast<unsigned>(__builtin_ctz(rest));
      dst[index] = logAdd(first[index], second[index]);
    }
  }
}

void sumPairsDoubleAvx512(double* dst, const double* a, const double* b, std::size_t count) {
  const __m512d logZero = _mm512_set1_pd(LogZero);
  for (std::size_t i = 0; i < count; i += 8) {
    const __mmask8 lanes = leadingLanes(count - i);
    const __m512d va = _mm512_mask_loadu_pd(logZero, lanes, a + i);
    const __m512d vb = _mm512_mask_loadu_pd(logZero, lanes, b + i);
    storeSum(dst + i, lanes, logAdd8(va, vb), va, vb);
  }
}

// Eight cells of addTerms at `i`: the terms (x + src) − y of the cells whose src is not
// LogZero (and, with a floor, not below it) are added into acc.
template <bool kWithFloor>
BREVANDOR_HOT void addTerms8(double* acc, const double* src, const double* floor, std::size_t i,
                             __mmask8 lanes, __m512d x, __m512d y) {
  const __m512d logZero = _mm512_set1_pd(LogZero);
  const __m512d vs = _mm512_mask_loadu_pd(logZero, lanes, src + i);
  auto take = static_cast<__mmask8>(lanes & _mm512_cmp_pd_mask(vs, logZero, _CMP_NEQ_UQ));
  if (take == 0) {
    return;
  }
  const __m512d term = _mm512_sub_pd(_mm512_add_pd(x, vs), y);
  if constexpr (kWithFloor) {
    const __m512d lowest = _mm512_mask_loadu_pd(logZero, take, floor + i);
    take = static_cast<__mmask8>(take & _mm512_cmp_pd_mask(term, lowest, _CMP_GE_OQ));
    if (take == 0) {
      return;
    }
  }
  const __m512d before = _mm512_mask_loadu_pd(logZero, take, acc + i);
  storeSum(acc + i, take, logAdd8(before, term), before, term);
}

template <bool kWithFloor>
void addTermsRow(double* acc, const double* src, const double* floor, std::size_t count, double x,
                 double y) {
  const __m512d vx = _mm512_set1_pd(x);
  const __m512d vy = _mm512_set1_pd(y);
  for (std::size_t i = 0; i < count; i += 8) {
    addTerms8<kWithFloor>(acc, src, floor, i, leadingLanes(count - i), vx, vy);
  }
}

void addTermsDoubleAvx512(double* acc, const double* src, std::size_t count, double x, double y) {
  addTermsRow<false>(acc, src, nullptr, count, x, y);
}

void addTermsAboveDoubleAvx512(double* acc, const double* src, const double* floor,
                               std::size_t count, double x, double y) {
  addTermsRow<true>(acc, src, floor, count, x, y);
}

void accumulateDoubleAvx512(double* acc, const double* src, std::size_t count) {
  sumPairsDoubleAvx512(acc, acc, src, count);
}

// Eight rows at a time, one lane each, the columns in order.
void foldRowsDoubleAvx512(double* sums, const double* const* rows, std::size_t rowCount,
                          std::size_t columns, const double* shift) {
  std::size_t r = 0;
  for (; r + 8 <= rowCount; r += 8) {
    const double* const* group = rows + r;
    __m512d sum = _mm512_loadu_pd(sums + r);
    for (std::size_t c = 0; c < columns; ++c) {
      __m512d terms = _mm512_setr_pd(group[0][c], group[1][c], group[2][c], group[3][c],
                                     group[4][c], group[5][c], group[6][c], group[7][c]);
      if (shift != nullptr) {
        terms = _mm512_add_pd(_mm512_set1_pd(shift[c]), terms);
      }
      const Sum8 next = logAdd8(sum, terms);
      alignas(64) double values[8];
      _mm512_store_pd(values, next.value);
      if (next.deferred != 0) {
        storeSum(values, next.deferred, next, sum, terms);
      }
      sum = _mm512_load_pd(values);
    }
    _mm512_storeu_pd(sums + r, sum);
  }
  simd::foldRowsScalar(sums + r, rows + r, rowCount - r, columns, shift);
}

void maxTermsDoubleAvx512(double* best, const double* src, std::size_t count, double x) {
  const __m512d vx = _mm512_set1_pd(x);
  const __m512d logZero = _mm512_set1_pd(LogZero);
  for (std::size_t i = 0; i < count; i += 8) {
    const __mmask8 lanes = leadingLanes(count - i);
    const __m512d vs = _mm512_mask_loadu_pd(logZero, lanes, src + i);
    const auto counted =
        static_cast<__mmask8>(lanes & _mm512_cmp_pd_mask(vs, logZero, _CMP_NEQ_UQ));
    const __m512d current = _mm512_maskz_loadu_pd(lanes, best + i);
    _mm512_mask_storeu_pd(best + i, counted, _mm512_max_pd(current, _mm512_add_pd(vx, vs)));
  }
}

}  // namespace

const DoubleLogAddRowKernels& avx512DoubleLogAddKernelsUnchecked() {
  static const DoubleLogAddRowKernels kernels{"avx512",
                                              sumPairsDoubleAvx512,
                                              addTermsDoubleAvx512,
                                              addTermsAboveDoubleAvx512,
                                              accumulateDoubleAvx512,
                                              foldRowsDoubleAvx512,
                                              maxTermsDoubleAvx512};
  return kernels;
}

}  // namespace brevandor
