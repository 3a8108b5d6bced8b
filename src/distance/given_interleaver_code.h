#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "code/conv_code.h"
#include "code/puncture_pattern.h"
#include "code/termination.h"

namespace brevandor {

// How two constituents are joined around the given permutation.
enum class GivenConcatenation {
  Parallel,  // encoder 2 reads the input bits in permuted order
  Serial,    // the inner code reads the outer codeword in permuted order
};

// One constituent as the codeword weight counts it: its code, the input bits of its frame,
// whether its systematic output bits count, which output bits its sections send, and how its
// frame ends (which bits of its tail are sent).
struct WeightedConstituent {
  const ConvCode* code = nullptr;
  std::int32_t frameLength = 0;  // input bits, one per trellis section
  bool countsInputBits = true;   // false: parity bits only (the sent-bit masks keep the input)
  SectionPuncturing puncturing;
  FrameEnding ending;
};

// The output bits that tail section i (0 … tailLength − 1) of the constituent sends: none for
// an open frame, else every bit or the pattern's mask at section N + i, less the systematic
// bit when the tail keeps its input bits back.
std::uint32_t tailSentBits(const WeightedConstituent& constituent, std::int32_t tailSection);

// A parallel encoder after the second: its constituent and the permutation through which it
// reads the input (permutation[j]: the input position of the bit it reads j-th).
struct FurtherEncoder {
  WeightedConstituent constituent;
  std::vector<std::int32_t> permutation;
};

// The actual code of one permutation. Parallel: `first` is encoder 1 on the input and also
// counts the input bits sent once (countsInputBits), `second` is encoder 2 on the permuted
// input. Serial: `first` is the outer code, whose sent bits (section by section, the
// systematic bit first, then the tail) the permutation carries to the inner code `second`.
// permutation[j] is the position of the bit that the second constituent reads j-th.
struct GivenInterleaverCode {
  GivenConcatenation concatenation = GivenConcatenation::Parallel;
  WeightedConstituent first;
  WeightedConstituent second;
  std::vector<std::int32_t> permutation;
  std::vector<FurtherEncoder> further;  // parallel only: encoders 3, 4, …, each on its own
};

// Why the search cannot take this code, or empty: the constituents must be rate-1/n codes
// with a tail where their frame is terminated, not tail-biting, each permutation as long as the
// second constituent's frame, and a permutation.
std::string givenCodeProblem(const GivenInterleaverCode& code);

// The number of bits that the outer code of a serial concatenation sends: the length of the
// permutation it needs.
std::int32_t outerSentLength(const WeightedConstituent& outer);

}  // namespace brevandor
