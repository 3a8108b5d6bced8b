#pragma once

#include "logmath/simd_log_add.h"

namespace brevandor {

// The AVX2 + FMA kernels of double-precision tables without the processor check: call only
// where the processor is known to support AVX2 and FMA.
const DoubleLogAddRowKernels& avx2DoubleLogAddKernelsUnchecked();

}  // namespace brevandor
