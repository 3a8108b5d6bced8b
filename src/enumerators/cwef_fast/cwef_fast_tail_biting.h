#pragma once

#include <cstdint>

#include "code/conv_code.h"
#include "enumerators/weight_enumerator.h"
#include "progress/run_context.h"

namespace brevandor {

// The fast CWEF of a tail-biting frame: the trace of the product of the section matrices.
// For each start state in order the fast recursion runs from that state alone, and the
// paths that end where they began are summed into the result, as the reference does; the
// progress steps once per start state. A code the fast recursion cannot take runs the
// reference.
StageEnd computeTailBitingCwefFast(WeightEnumerator& enumerator, const ConvCode& code,
                                   const RunContext& context);

// The bytes of work storage computeTailBitingCwefFast allocates for this enumerator
// (configured, not yet computed) and code.
std::uint64_t fastTailBitingWorkBytes(WeightEnumerator& enumerator, const ConvCode& code,
                                      const RunContext& context);

}  // namespace brevandor
