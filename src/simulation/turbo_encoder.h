#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "decoding/turbo_frame.h"
#include "interleavers/permutation.h"

namespace brevandor {

// The output words of one encoded frame, one per trellis section of each constituent
// (Parallel: both encoders; Serial and RepetitionSerial: `first` holds the outer code's
// words, if any, and `second` the inner code's).
struct EncodedFrame {
  std::vector<std::int32_t> first;
  std::vector<std::int32_t> second;
};

// The encoder of a turbo frame: each constituent from state 0, its tail returning it to
// state 0. The frame must outlive the encoder.
class TurboEncoder {
 public:
  explicit TurboEncoder(const TurboFrame& frame);

  // Encodes N input bits, the interleaver being `permutation`.
  void encode(std::span<const std::uint8_t> input, const Permutation& permutation,
              EncodedFrame& encoded);

 private:
  // The words of one constituent for its input bits, tail sections included.
  static void encodeConstituent(const ConstituentFrame& constituent,
                                const std::vector<std::int32_t>& tails,
                                std::span<const std::uint8_t> input,
                                std::vector<std::int32_t>& words);

  const TurboFrame& frame_;
  std::vector<std::int32_t> firstTails_;  // per state: the tail inputs, first section lowest
  std::vector<std::int32_t> secondTails_;
  std::vector<std::uint8_t> interleaved_;  // the second constituent's input bits
  std::vector<std::uint8_t> outerBits_;    // Serial: the outer code's sent bits
};

}  // namespace brevandor
