#pragma once

#include "logmath/simd_log_add.h"

namespace brevandor {

// The AVX-512 kernels of double-precision tables without the processor check: call only
// where the processor is known to support AVX-512F and VL.
const DoubleLogAddRowKernels& avx512DoubleLogAddKernelsUnchecked();

}  // namespace brevandor
