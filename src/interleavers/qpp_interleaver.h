#pragma once

#include <cstdint>

#include "interleavers/permutation.h"

namespace brevandor {

// The quadratic permutation polynomial π(j) = (f1·j + f2·j²) mod N, refused when it does not
// permute 0 … N − 1.
PermutationOutcome qppPermutation(std::int32_t length, std::int64_t f1, std::int64_t f2);

// The LTE interleaver of block size N: the QPP of the standard's table, refused for a size
// that the table does not hold.
PermutationOutcome ltePermutation(std::int32_t length);

}  // namespace brevandor
