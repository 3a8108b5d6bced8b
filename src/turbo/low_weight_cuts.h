#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "enumerators/low_weight/low_weight_cwef.h"
#include "turbo/turbo_code.h"

namespace brevandor {

// The cut of every constituent table of a turbo code in low-weight mode. Where every input
// bit is sent, a codeword of weight at most D has input weight at most D, and each cut keeps
// input weights up to D. Where a pattern leaves input bits unsent, the cut keeps input weights
// up to the heaviest that the growth of the counted weights (input_weight_growth.h) still lets
// reach weight D: a bound that holds for every word, so the entries d ≤ D stay exact.
struct LowWeightCuts {
  std::vector<LowWeightCut> cuts;  // per constituent (the repetition code's is unused)
  // The input-weight limit that the growth bound set (PCCC: of the input word; SCCC: of the
  // outer code's input word where its pattern leaves input bits out, else of the inner
  // code's); none where every input bit is sent.
  std::optional<std::int32_t> derivedInputLimit;
};

// Whether some pattern of the code leaves input bits (a systematic row) unsent.
bool leavesInputBitsUnsent(const TurboCode& turbo);

// The cuts of a configured turbo code for codewords of weight at most `maxWeight`, or nothing
// where a pattern leaves input bits unsent and no input weight bounds the words that reach it
// (some cycle of a trellis through the pattern's period has input bits and sends nothing).
std::optional<LowWeightCuts> lowWeightCuts(const TurboCode& turbo, std::int32_t maxWeight);

// Constituent c's cut of lowWeightCuts; the plain cut of lowWeightCut where no input weight
// bounds the words (a code the run refuses before it starts).
LowWeightCut lowWeightCutOf(const TurboCode& turbo, std::int32_t c, std::int32_t maxWeight);

}  // namespace brevandor
