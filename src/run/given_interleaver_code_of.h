#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "distance/given_interleaver_code.h"
#include "turbo/turbo_code.h"

namespace brevandor {

// The code of one permutation with the constituents, frame lengths, puncturing and endings of
// a configured turbo code (setFrameLength done); none for a concatenation the search does not
// take (the outer repetition code). PCCC encoder c (from 0) reads the input through the
// permutation applied c times: encoder 2 through π, encoder 3 through π∘π, and so on.
std::optional<GivenInterleaverCode> givenInterleaverCodeOf(const TurboCode& turbo,
                                                           std::vector<std::int32_t> permutation);

// The length of the permutation the turbo code needs: the input frame (parallel) or the outer
// codeword (serial); 0 for a concatenation the search does not take.
std::int32_t givenInterleaverLength(const TurboCode& turbo);

}  // namespace brevandor
