// The AVX-512 row kernels of double-precision tables: the kernels of simd_row_kernels.h over
// eight-lane packets, the row ends through masked loads and stores. This file alone is
// compiled for AVX-512.

#include "logmath/simd_log_add_sets.h"
#include "logmath/simd_packet_avx512.h"
#include "logmath/simd_row_kernels.h"

namespace brevandor {

template <>
const DoubleLogAddRowKernels& avx512RowKernelsUnchecked<double>() {
  static const DoubleLogAddRowKernels kernels =
      simd::doubleTableKernels<simd::Avx512Doubles>("avx512");
  return kernels;
}

}  // namespace brevandor
