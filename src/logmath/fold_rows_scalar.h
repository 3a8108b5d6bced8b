#pragma once

// The plain fold of rows of log counts into their sums, one logAdd per cell: the portable
// kernel, and the remaining rows (fewer than one vector's lanes) of the vector kernels. Its
// template has internal linkage, so that every file compiled for its own instruction set
// keeps its own copy.

#include <cstddef>

#include "logmath/log_domain.h"

namespace brevandor::simd {
namespace {

// sums[r] ⊕= shift[c] + rows[r][c] over the columns in order (no shift when `shift` is null);
// a LogZero cell stays LogZero whatever its shift: a zero count weighted is still zero.
template <typename Cell>
void foldRowsScalar(double* sums, const Cell* const* rows, std::size_t rowCount,
                    std::size_t columns, const double* shift) {
  for (std::size_t r = 0; r < rowCount; ++r) {
    double sum = sums[r];
    for (std::size_t c = 0; c < columns; ++c) {
      const double cell = rows[r][c];
      sum = logAdd(sum, shift != nullptr && cell != LogZero ? shift[c] + cell : cell);
    }
    sums[r] = sum;
  }
}

}  // namespace
}  // namespace brevandor::simd
