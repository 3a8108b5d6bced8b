#pragma once

#include <cstdint>

#include "interleavers/permutation.h"

namespace brevandor {

// How many fresh attempts an S-random permutation gets before it is refused.
inline constexpr std::int32_t kSpreadTries = 100;

// A uniformly random permutation of `length` positions (Fisher–Yates) drawn from `seed`.
Permutation randomPermutation(std::int32_t length, std::uint64_t seed);

// An S-random permutation: positions at most S apart are mapped at least S apart. Each
// attempt draws positions in random order and takes the first that keeps the spread; after
// kSpreadTries attempts that run out of candidates the spread is refused (spreads up to
// about 0.7·√(N/2) are reached within the tries; above that attempts mostly fail).
PermutationOutcome spreadRandomPermutation(std::int32_t length, std::int32_t spread,
                                           std::uint64_t seed);

}  // namespace brevandor
