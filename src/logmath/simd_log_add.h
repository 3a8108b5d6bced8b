#pragma once

#include <cstddef>

namespace brevandor {

// The row operations on which the fast engine spends its time, in the log10 domain of
// logAdd. Every cell comes out as logAdd would give it for the same two doubles, after the
// same rounding to single precision where the result is stored as a float: the vector code
// knows when its own rounding could differ and hands that cell to logAdd itself.
struct LogAddRowKernels {
  const char* name;  // "avx512", "avx2" or "portable"

  // dst[i] = logAdd(a[i], b[i]) rounded to float (where an operand is LogZero that is the
  // larger of the two). dst may be a or b.
  void (*sumPairs)(float* dst, const float* a, const float* b, std::size_t count);

  // For every i with src[i] ≠ LogZero: acc[i] = logAdd(acc[i], (x + src[i]) − y) rounded to
  // float, the term formed in double in that order. Cells with src[i] = LogZero keep acc[i].
  void (*addTerms)(float* acc, const float* src, std::size_t count, double x, double y);

  // As addTerms, but a term below floor[i] is left out as well (the caller proves that such
  // a term cannot change the rounded result).
  void (*addTermsAbove)(float* acc, const float* src, const float* floor, std::size_t count,
                        double x, double y);

  // acc[i] = logAdd(acc[i], src[i]) in double, for every i.
  void (*accumulate)(double* acc, const float* src, std::size_t count);

  // For each row r < rowCount: sums[r] = logAdd(… logAdd(sums[r], t(r, 0)) …, t(r, n − 1)),
  // the columns in increasing order, where t(r, c) = shift[c] + rows[r][c], or rows[r][c]
  // when shift is null.
  void (*foldRows)(double* sums, const float* const* rows, std::size_t rowCount,
                   std::size_t columns, const double* shift);

  // best[i] = max(best[i], x + src[i]) in single precision for src[i] ≠ LogZero: the
  // largest term that will reach each cell, a lower bound of its final sum.
  void (*maxTerms)(float* best, const float* src, std::size_t count, float x);
};

// The portable kernels: logAdd cell by cell.
const LogAddRowKernels& portableLogAddKernels();

// The AVX2 + FMA kernels, or null when this processor lacks them.
const LogAddRowKernels* avx2LogAddKernels();

// The AVX-512 kernels, or null when this processor lacks AVX-512F and VL (or AVX2, FMA).
const LogAddRowKernels* avx512LogAddKernels();

// The best kernels this processor runs, chosen once: AVX-512, else AVX2, else portable.
const LogAddRowKernels& logAddKernels();

}  // namespace brevandor
