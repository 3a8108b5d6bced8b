// The AVX2 + FMA row kernels of double-precision tables: the kernels of simd_row_kernels.h
// over four-lane packets. This file alone is compiled for AVX2 + FMA.

#include "logmath/simd_log_add_sets.h"
#include "logmath/simd_packet_avx2.h"
#include "logmath/simd_row_kernels.h"

namespace brevandor {

template <>
const DoubleLogAddRowKernels& avx2RowKernelsUnchecked<double>() {
  static const DoubleLogAddRowKernels kernels = simd::doubleTableKernels<simd::Avx2Doubles>("avx2");
  return kernels;
}

}  // namespace brevandor
