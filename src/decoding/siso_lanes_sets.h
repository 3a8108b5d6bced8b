#pragma once

#include "decoding/siso_lanes.h"

namespace brevandor {

// The vector lane kernels without the processor check, each defined in the file compiled for
// its instruction set: eight lanes for AVX2, sixteen for AVX-512F. Call them only where the
// processor is known to support the set.
const LaneSisoKernels& avx2LaneSisoKernelsUnchecked();
const LaneSisoKernels& avx512LaneSisoKernelsUnchecked();

}  // namespace brevandor
