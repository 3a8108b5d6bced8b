#pragma once

#include <cstdint>

#include "code/conv_code.h"
#include "enumerators/weight_enumerator.h"
#include "progress/run_context.h"

namespace brevandor {

// The two implementations of the CWEF stage behind WeightEnumerator::computeCwef. Both fill
// `enumerator.cwef` rows 0 … D (D = layerMaxWeight), post the same status and log lines, test
// the cancel request once per section and return 0, or −1 when cancelled.

// The plain transcription of the recursion: two full layers, every cell visited.
std::int32_t computeCwefReference(WeightEnumerator& enumerator, const ConvCode& code,
                                  const RunContext& context);

// The fast implementation (same results to rounding).
std::int32_t computeCwefFast(WeightEnumerator& enumerator, const ConvCode& code,
                             const RunContext& context);

}  // namespace brevandor
