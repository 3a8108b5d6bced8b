#pragma once

#include "logmath/simd_log_add.h"

namespace brevandor {

// The vector kernel sets without the processor check, each defined in the file compiled for
// its instruction set: call them only where the processor is known to support AVX2 and FMA
// (avx2…) or AVX-512F and VL as well (avx512…).
template <typename Cell>
const BasicLogAddRowKernels<Cell>& avx2RowKernelsUnchecked();
template <typename Cell>
const BasicLogAddRowKernels<Cell>& avx512RowKernelsUnchecked();

template <>
const LogAddRowKernels& avx2RowKernelsUnchecked<float>();
template <>
const DoubleLogAddRowKernels& avx2RowKernelsUnchecked<double>();
template <>
const LogAddRowKernels& avx512RowKernelsUnchecked<float>();
template <>
const DoubleLogAddRowKernels& avx512RowKernelsUnchecked<double>();

}  // namespace brevandor
