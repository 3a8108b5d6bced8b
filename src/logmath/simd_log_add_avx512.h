#pragma once

#include "logmath/simd_log_add.h"

namespace brevandor {

// The AVX-512 kernels without the processor check: call only where the processor is known
// to support AVX-512F and AVX-512VL as well as AVX2 and FMA.
const LogAddRowKernels& avx512LogAddKernelsUnchecked();

}  // namespace brevandor
