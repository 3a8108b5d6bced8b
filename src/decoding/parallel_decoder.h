#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "decoding/decoder_settings.h"
#include "decoding/siso_decoder.h"
#include "decoding/turbo_frame.h"
#include "interleavers/permutation.h"

namespace brevandor {

// The channel values of one received frame: per constituent, sections × n LLRs laid out as
// SisoInput::channel, 0 for every bit that was not sent.
struct ReceivedFrame {
  std::vector<double> first;
  std::vector<double> second;
};

// The iterative decoder of a parallel frame: two SISO decoders exchange extrinsic values of
// the input bits through the interleaver. One decoder per thread; the frame it was made for
// must outlive it.
class ParallelDecoder {
 public:
  ParallelDecoder(const TurboFrame& frame, const DecoderSettings& settings);

  // Decodes one frame sent through `permutation`; writes N hard decisions and returns the
  // iterations run.
  std::int32_t decode(const ReceivedFrame& received, const Permutation& permutation,
                      std::span<std::uint8_t> decisions);

 private:
  // What one constituent's channel says about its input bits (its systematic bits), 0
  // where it sends none.
  void readSystematic(const ConstituentFrame& constituent, std::span<const double> channel,
                      std::vector<double>& systematic) const;
  // What one decoder passes on of each of its N input bits: its scaled extrinsic value plus
  // its systematic channel value, in its own order (into passed_).
  void passOn(std::span<const double> app, std::span<const double> apriori,
              std::span<const double> systematic, double scale);

  const TurboFrame& frame_;
  DecoderSettings settings_;
  SisoDecoder first_;
  SisoDecoder second_;
  std::vector<double> systematicFirst_, systematicSecond_;  // N each
  std::vector<double> aprioriFirst_, aprioriSecond_;        // sections each, tails 0
  std::vector<double> appFirst_, appSecond_;
  std::vector<double> passed_;  // N
  std::vector<std::uint8_t> previous_;
};

}  // namespace brevandor
