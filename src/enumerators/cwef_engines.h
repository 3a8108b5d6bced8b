#pragma once

#include <cstdint>

#include "code/conv_code.h"
#include "enumerators/weight_enumerator.h"
#include "progress/run_context.h"

namespace brevandor {

// The two implementations of the CWEF stage behind WeightEnumerator::computeCwef. Both fill
// `enumerator.cwef` rows 0 … D (D = layerMaxWeight), post the same status and log lines, test
// the cancel request once per section and end Completed, or Cancelled when they stop.

// The plain transcription of the recursion: two full layers, every cell visited.
StageEnd computeCwefReference(WeightEnumerator& enumerator, const ConvCode& code,
                              const RunContext& context);

// The fast implementation: the same additions into every cell in the same order, on one
// layer updated in place, visiting only the cells that can hold a count, with vector
// kernels and all worker threads. A code with a branch of negative output weight (a
// non-systematic code counting parity only, which no run builds) runs the reference.
StageEnd computeCwefFast(WeightEnumerator& enumerator, const ConvCode& code,
                         const RunContext& context);

// The bytes of work storage computeCwefFast allocates for this enumerator (configured, not
// yet computed) and code, so that a run can check them before it starts.
std::uint64_t fastCwefWorkBytes(const WeightEnumerator& enumerator, const ConvCode& code,
                                const RunContext& context);

}  // namespace brevandor
