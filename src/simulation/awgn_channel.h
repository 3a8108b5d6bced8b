#pragma once

#include <bit>
#include <cstdint>
#include <span>
#include <vector>

#include "decoding/turbo_frame.h"
#include "interleavers/random_bits.h"

namespace brevandor {

// The noise deviation σ per real dimension for BPSK of unit energy per code bit, at Eb/N0
// (dB) per information bit and code rate R: Es/N0 = R·Eb/N0 and σ² = 1 / (2·Es/N0).
double noiseDeviation(double ebn0Db, double rate);

struct GaussianTables;

// Standard normal samples from a RandomBits stream, in a fixed order: the ziggurat method, one
// 64-bit word and one multiplication for all but about 1.5 % of the samples (those take a
// few more words and an exponential).
class GaussianSource {
 public:
  explicit GaussianSource(RandomBits& bits);

  // The next sample: inline for the samples that one word gives.
  double next() {
    const std::uint64_t word = bits_.next();
    // The layer from the word's low 8 bits, the sign from bit 8, the position from the top 52.
    const std::size_t layer = word & 0xffu;
    const std::uint64_t position = word >> 12;
    if (position < inner_[layer]) {  // inside the next layer's width: under f for every height
      const double x = static_cast<double>(position) * width_[layer];
      return std::bit_cast<double>(std::bit_cast<std::uint64_t>(x) | (word & 0x100u) << 55);
    }
    return beyondInner(word);
  }

 private:
  // The rest of the method for a word whose point lies outside the next layer's width.
  double beyondInner(std::uint64_t word);

  RandomBits& bits_;
  const GaussianTables& tables_;
  const double* width_;
  const std::uint64_t* inner_;
};

// Sends the bits that one constituent sends as BPSK (0 → +1, 1 → −1) with noise of
// deviation σ and writes their channel LLRs 2y/σ² (sections × n, as the decoders read
// them); every bit not sent gets 0.
void transmitConstituent(const ConstituentFrame& constituent, std::span<const std::int32_t> words,
                         double deviation, GaussianSource& noise, std::vector<double>& llr);
// The same with the constituent's sent-bit masks worked out beforehand (ConstituentFrame::
// sentMasks), as a simulation does once for all its frames.
void transmitConstituent(std::span<const std::uint32_t> sentMasks, std::int32_t outputBits,
                         std::span<const std::int32_t> words, double deviation,
                         GaussianSource& noise, std::vector<double>& llr);

}  // namespace brevandor
