#pragma once

#include <cstdint>
#include <functional>

#include "enumerators/cwef_fast/cwef_fast_layer.h"
#include "enumerators/cwef_fast/cwef_fast_plan.h"
#include "logmath/simd_log_add.h"

namespace brevandor {

// How the fast CWEF walks its sections: `depth` sections at a time sweep down the output
// weights together, each a few rows behind the one before it, so that every row is brought
// from memory once per `depth` sections instead of once per section; `chunk` rows of one
// section make one job. Sections are shared among `threads` threads.
struct WavefrontShape {
  std::int32_t depth = 8;
  std::int32_t chunk = 8;
  std::int32_t threads = 1;
};

// The spare-row slots a wavefront of this shape needs in its layer.
inline std::int32_t wavefrontSlots(const WavefrontShape& shape) {
  return shape.depth;
}

// Runs sections 1 … sections − 1 of the recursion on `layer`, which holds the first section.
// `sectionDone(t)` is called on the calling thread once section t is complete, for every t
// in increasing order; when it returns false the sweep stops and run returns false (the
// layer is then partly advanced). Returns true when every section is done.
template <typename Cell>
bool runSectionWavefront(const CwefPlan& plan, CompactLayer<Cell>& layer,
                         const BasicLogAddRowKernels<Cell>& kernels, const WavefrontShape& shape,
                         const std::function<bool(std::int32_t)>& sectionDone);

}  // namespace brevandor
