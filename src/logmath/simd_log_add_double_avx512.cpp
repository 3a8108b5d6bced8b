// The AVX-512 row kernels of double-precision tables: the kernels of simd_row_kernels.h
// over eight-lane packets, the row ends through masked loads and stores. The sums of counts
// (sumPairs, and accumulate with it) take the correction from the fine table of piecewise
// polynomials, which reaches almost every difference the recursion meets, instead of the
// exponential core: about half the instructions per cell (see bench/README.md). This file
// alone is compiled for AVX-512.

#include "logmath/log_add_correction.h"
#include "logmath/simd_log_add_sets.h"
#include "logmath/simd_log_add_table_avx512.h"
#include "logmath/simd_packet_avx512.h"
#include "logmath/simd_row_kernels.h"

namespace brevandor {

namespace {

using namespace simd;

// dst[i] = logAdd(a[i], b[i]) in double, the correction from the fine table where every
// open lane of a packet lies within its reach.
void sumPairsFromTable(double* dst, const double* a, const double* b, std::size_t count) {
  const CorrectionTableRegisters<LogAddCorrectionFineTable> table(logAddCorrectionFineTable());
  sumPairsRowWith<Avx512Doubles>(dst, a, b, count, [&](__m512d x, __m512d y) BREVANDOR_HOT_LAMBDA {
    return logAddLanesFromTable(x, y, kNegligibleDelta, table);
  });
}

void accumulateFromTable(double* acc, const double* src, std::size_t count) {
  sumPairsFromTable(acc, acc, src, count);
}

// acc[i] = logAdd(acc[i], (x + src[i]) − y) as addTermsAbove, the correction from the fine
// table where every open lane of a packet lies within its reach.
template <bool kWithFloor>
void addTermsFromTable(double* acc, const double* src, const double* floor, std::size_t count,
                       double x, double y) {
  const CorrectionTableRegisters<LogAddCorrectionFineTable> table(logAddCorrectionFineTable());
  addTermsRowWith<Avx512Doubles, kWithFloor>(
      acc, src, floor, count, x, y, [&](__m512d a, __m512d b) BREVANDOR_HOT_LAMBDA {
        return logAddLanesFromTable(a, b, kNegligibleDelta, table);
      });
}

}  // namespace

template <>
const DoubleLogAddRowKernels& avx512RowKernelsUnchecked<double>() {
  static const DoubleLogAddRowKernels kernels = [] {
    DoubleLogAddRowKernels set = doubleTableKernels<Avx512Doubles>("avx512");
    set.sumPairs = sumPairsFromTable;
    set.accumulate = accumulateFromTable;
    set.addTerms = withoutFloor<double, addTermsFromTable<false>>;
    set.addTermsAbove = addTermsFromTable<true>;
    return set;
  }();
  return kernels;
}

}  // namespace brevandor
