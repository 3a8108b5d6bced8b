#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "decoding/decoder_settings.h"
#include "decoding/parallel_decoder.h"
#include "decoding/siso_decoder.h"
#include "decoding/turbo_frame.h"
#include "interleavers/permutation.h"

namespace brevandor {

// The iterative decoder of a serial frame: the inner SISO passes extrinsic values of the
// outer code's bits through the interleaver; the outer SISO (or, for the repetition type,
// the repetition code's exact SISO) returns extrinsic values of those bits and decides the
// input bits. Only ReceivedFrame::second, the inner code's channel values, is read. One
// decoder per thread; the frame must outlive it.
class SerialDecoder {
 public:
  SerialDecoder(const TurboFrame& frame, const DecoderSettings& settings);

  // Decodes one frame sent through `permutation`; writes N hard decisions and returns the
  // iterations run.
  std::int32_t decode(const ReceivedFrame& received, const Permutation& permutation,
                      std::span<std::uint8_t> decisions);

 private:
  // The outer half-iteration: from the deinterleaved inner extrinsic values in `outerIn_`,
  // the outer extrinsic values in `outerOut_` (interleaver order before permuting) and the
  // decisions.
  void decodeOuter(std::span<std::uint8_t> decisions);
  void decodeRepetition(std::span<std::uint8_t> decisions);

  const TurboFrame& frame_;
  DecoderSettings settings_;
  std::optional<SisoDecoder> outer_;
  SisoDecoder inner_;
  std::vector<double> aprioriInner_, appInner_;  // inner sections
  std::vector<double> outerIn_, outerOut_;       // interleaver positions
  std::vector<double> outerChannel_, outerApp_;  // outer sections × n
  std::vector<double> outerApriori_, outerInputApp_;
  std::vector<std::uint8_t> previous_;
};

}  // namespace brevandor
