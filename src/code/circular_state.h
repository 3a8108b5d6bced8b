#pragma once

#include <cstdint>

#include "code/conv_code.h"

namespace brevandor {

// The start states from which `frameLength` input bits of zeros lead back to the same state.
// The state reached after a frame is the zero word's end state from the start plus a term of
// the input alone (the encoder is linear), so every input word has exactly this many
// circular states, or none.
std::int32_t circularStatesOfZeroWord(const ConvCode& code, std::int32_t frameLength);

// Whether every input word of `frameLength` bits has exactly one circular state, so that the
// code's tail-biting frames are one codeword per input word (1 + D + D^2 feedback: exactly
// when 3 does not divide N; (1 + D)^2 = 1 + D^2: never).
bool hasSingleCircularStates(const ConvCode& code, std::int32_t frameLength);

}  // namespace brevandor
