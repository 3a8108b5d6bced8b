#pragma once

#include <cstdint>

#include "interleavers/permutation.h"

namespace brevandor {

// The CCSDS turbo code interleaver for k = 1784, 3568, 7136 or 8920 (k = k1·k2 with k1 = 8),
// refused for another length.
PermutationOutcome ccsdsPermutation(std::int32_t length);

}  // namespace brevandor
