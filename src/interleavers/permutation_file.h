#pragma once

#include <cstdint>
#include <string>

#include "interleavers/permutation.h"

namespace brevandor {

// The largest permutation file read: far beyond any frame's indices, small enough that a
// wrong path (a disk image, a device) is refused instead of read.
inline constexpr std::uintmax_t kMaxPermutationFileBytes = 64u << 20;

// Reads a permutation of `length` positions from a text file of whitespace-separated 0-based
// indices (π(0) first). Refuses a file that cannot be read or is too large, a word that is
// not an index below N, an index given twice, and more or fewer than N indices.
PermutationOutcome readPermutationFile(const std::string& path, std::int32_t length);

}  // namespace brevandor
