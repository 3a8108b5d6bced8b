#pragma once

#include <cstddef>

namespace brevandor {

// The row operations on which the fast engine spends its time, in the log10 domain of
// logAdd, for tables of Cell (float, or double where a run asks for double-precision tables).
// Float kernels: every cell comes out as logAdd would give it for the same two doubles, after
// the same rounding to single precision where the result is stored as a float: the vector
// code knows when its own rounding could differ and hands that cell to logAdd itself. Double
// kernels: every cell is logAdd's to within a couple of ulps (1e-14 relative, 1e-14 absolute
// below magnitude 1); where logAdd's powers of ten are subnormal the cell is logAdd's own.
template <typename Cell>
struct BasicLogAddRowKernels {
  const char* name;  // "avx512", "avx2" or "portable"

  // dst[i] = logAdd(a[i], b[i]) as a Cell (where an operand is LogZero, the other one). dst
  // may be a or b.
  void (*sumPairs)(Cell* dst, const Cell* a, const Cell* b, std::size_t count);

  // For every i with src[i] ≠ LogZero: acc[i] = logAdd(acc[i], (x + src[i]) − y) as a Cell,
  // the term formed in double in that order. Cells with src[i] = LogZero keep acc[i].
  void (*addTerms)(Cell* acc, const Cell* src, std::size_t count, double x, double y);

  // As addTerms, but a term below floor[i] is left out as well (the caller proves that such
  // a term cannot change the rounded result).
  void (*addTermsAbove)(Cell* acc, const Cell* src, const Cell* floor, std::size_t count, double x,
                        double y);

  // acc[i] = logAdd(acc[i], src[i]) in double, for every i.
  void (*accumulate)(double* acc, const Cell* src, std::size_t count);

  // For each row r < rowCount: sums[r] = logAdd(… logAdd(sums[r], t(r, 0)) …, t(r, n − 1)),
  // the columns in increasing order, where t(r, c) = shift[c] + rows[r][c], or rows[r][c]
  // when shift is null or rows[r][c] is LogZero.
  void (*foldRows)(double* sums, const Cell* const* rows, std::size_t rowCount, std::size_t columns,
                   const double* shift);

  // best[i] = max(best[i], x + src[i]) in Cell precision for src[i] ≠ LogZero: the largest
  // term that will reach each cell, a lower bound of its final sum.
  void (*maxTerms)(Cell* best, const Cell* src, std::size_t count, Cell x);
};

using LogAddRowKernels = BasicLogAddRowKernels<float>;
using DoubleLogAddRowKernels = BasicLogAddRowKernels<double>;

// The kernel sets for tables of Cell (float or double).

// The portable kernels: logAdd cell by cell.
template <typename Cell>
const BasicLogAddRowKernels<Cell>& portableRowKernels();

// The AVX2 + FMA kernels, or null when this processor lacks them.
template <typename Cell>
const BasicLogAddRowKernels<Cell>* avx2RowKernels();

// The AVX-512 kernels, or null when this processor lacks AVX-512F and VL (or AVX2, FMA).
template <typename Cell>
const BasicLogAddRowKernels<Cell>* avx512RowKernels();

// The best kernels this processor runs, chosen once: AVX-512, else AVX2, else portable.
template <typename Cell>
const BasicLogAddRowKernels<Cell>& rowKernels();

}  // namespace brevandor
