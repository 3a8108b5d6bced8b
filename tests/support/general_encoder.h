#pragma once

#include <algorithm>
#include <bit>
#include <cstdint>
#include <numeric>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "support/spectrum_oracle.h"

namespace brevandor::testing {

// A systematic encoder ( 1, g1/h, …, gm/h ) written straight from its polynomials, apart from
// the trellis builder: a register of the last `memory` feedback symbols (bit 0 the most
// recent), feedback w = u + h1·w(t−1) + …, parity i = gi0·w + gi1·w(t−1) + … over GF(2).
struct MultiParityEncoder {
  std::vector<std::uint32_t> numerators;
  std::uint32_t denominator = 1;
  std::int32_t memory = 0;

  MultiParityEncoder(std::vector<std::uint32_t> numeratorMasks, std::uint32_t denominatorMask)
      : numerators(std::move(numeratorMasks)), denominator(denominatorMask) {
    std::uint32_t all = denominator;
    for (const std::uint32_t numerator : numerators) {
      all |= numerator;
    }
    memory = static_cast<std::int32_t>(std::bit_width(all)) - 1;
  }

  std::uint32_t stateMask() const { return (1u << memory) - 1u; }
  // The input bit that makes the feedback symbol 0 in `state`: what a tail sends.
  std::uint32_t zeroingInput(std::uint32_t state) const {
    return static_cast<std::uint32_t>(std::popcount((denominator >> 1) & state) & 1);
  }
  // Encodes one input bit: returns the parity bits (bit i − 1 for output i) and moves on.
  std::uint32_t step(std::uint32_t& state, std::uint32_t input) const {
    const std::uint32_t feedback = (input ^ zeroingInput(state)) & 1u;
    std::uint32_t parities = 0;
    for (std::size_t i = 0; i < numerators.size(); ++i) {
      const std::uint32_t bit =
          ((numerators[i] & 1u) & feedback) ^
          static_cast<std::uint32_t>(std::popcount((numerators[i] >> 1) & state) & 1);
      parities |= bit << i;
    }
    state = ((state << 1) | feedback) & stateMask();
    return parities;
  }
};

// How a frame ends, and which tail bits go out.
enum class FrameEnd { Terminated, Open, TailBiting };

// What one encoder of a turbo code sends: its systematic bits (only the first encoder sends
// them), its parity outputs, each at the sections where its pattern row (text such as "10")
// holds '1' (empty row: every section), and its end.
struct SentStreams {
  std::string systematicRow;  // ignored unless sendsSystematic
  bool sendsSystematic = false;
  std::vector<std::string> parityRows;  // one per parity output; empty vector: all sent
  FrameEnd end = FrameEnd::Terminated;
  bool tailInputSent = true;  // a terminated frame's tail input bits
  bool punctureTail = false;  // the tail sections t = N, N + 1, … read the rows on

  bool sendsParity(std::size_t i, std::int32_t t) const {
    return parityRows.empty() || sentAt(parityRows[i].c_str(), t);
  }
};

// The bits an encoder sends for one input word, in the order it sends them (bit 0 first).
struct SentWord {
  std::uint64_t bits = 0;
  std::int32_t length = 0;

  void push(std::uint32_t bit) { bits |= static_cast<std::uint64_t>(bit & 1u) << length++; }
  std::int32_t weight() const { return std::popcount(bits); }
};

// What an encoder sends for an N-bit input word (bit i the i-th input), or nothing for a
// tail-biting frame whose word has no single circular state.
inline std::optional<SentWord> sentBits(const MultiParityEncoder& encoder, std::uint32_t word,
                                        std::int32_t frameLength, const SentStreams& streams) {
  const auto frameBits = [&](std::uint32_t& state) {
    SentWord sent;
    for (std::int32_t t = 0; t < frameLength; ++t) {
      const std::uint32_t input = (word >> t) & 1u;
      const std::uint32_t parities = encoder.step(state, input);
      if (streams.sendsSystematic && sentAt(streams.systematicRow.c_str(), t)) {
        sent.push(input);
      }
      for (std::size_t i = 0; i < encoder.numerators.size(); ++i) {
        if (streams.sendsParity(i, t)) {
          sent.push(parities >> i);
        }
      }
    }
    return sent;
  };
  if (streams.end == FrameEnd::TailBiting) {
    std::optional<SentWord> found;
    for (std::uint32_t start = 0; start <= encoder.stateMask(); ++start) {
      std::uint32_t state = start;
      const SentWord sent = frameBits(state);
      if (state == start) {
        if (found) {
          return std::nullopt;
        }
        found = sent;
      }
    }
    return found;
  }
  std::uint32_t state = 0;
  SentWord sent = frameBits(state);
  if (streams.end == FrameEnd::Terminated) {
    for (std::int32_t j = 0; j < encoder.memory; ++j) {
      const std::int32_t t = frameLength + j;
      const std::uint32_t input = encoder.zeroingInput(state);
      const std::uint32_t parities = encoder.step(state, input);
      // Only the first encoder has a systematic row; the others' tail input bits follow the
      // rule alone.
      const bool inputRow = !streams.punctureTail || !streams.sendsSystematic ||
                            sentAt(streams.systematicRow.c_str(), t);
      if (streams.tailInputSent && inputRow) {
        sent.push(input);
      }
      for (std::size_t i = 0; i < encoder.numerators.size(); ++i) {
        if (!streams.punctureTail || streams.sendsParity(i, t)) {
          sent.push(parities >> i);
        }
      }
    }
  }
  return sent;
}

// The weight an encoder sends for an N-bit input word (see sentBits).
inline std::optional<std::int32_t> sentWeight(const MultiParityEncoder& encoder, std::uint32_t word,
                                              std::int32_t frameLength,
                                              const SentStreams& streams) {
  const std::optional<SentWord> sent = sentBits(encoder, word, frameLength, streams);
  return sent ? std::optional<std::int32_t>(sent->weight()) : std::nullopt;
}

// The weights an encoder sends for every N-bit input word.
inline std::vector<std::int32_t> sentWeights(const MultiParityEncoder& encoder,
                                             std::int32_t frameLength, const SentStreams& streams) {
  std::vector<std::int32_t> weights(std::size_t{1} << frameLength);
  for (std::uint32_t word = 0; word < weights.size(); ++word) {
    const std::optional<std::int32_t> weight = sentWeight(encoder, word, frameLength, streams);
    if (!weight) {
      throw std::invalid_argument("a tail-biting word without one circular state");
    }
    weights[word] = *weight;
  }
  return weights;
}

// The word encoder c sees: input bit π(i) at its section i.
inline std::uint32_t permuted(std::uint32_t word, const std::vector<std::int32_t>& permutation) {
  std::uint32_t result = 0;
  for (std::size_t i = 0; i < permutation.size(); ++i) {
    result |= ((word >> permutation[i]) & 1u) << i;
  }
  return result;
}

// The average spectrum of a parallel concatenation of two or three encoders over every
// interleaver (every permutation for two, every pair of permutations for three): weights[c]
// holds what encoder c sends for each of its own input words. Meant for N up to 6.
inline LinearSpectrum allInterleavers(const std::vector<std::vector<std::int32_t>>& weights,
                                      std::int32_t frameLength, std::int32_t maxWeight) {
  LinearSpectrum spectrum{std::vector<double>(static_cast<std::size_t>(maxWeight) + 1, 0.0),
                          std::vector<double>(static_cast<std::size_t>(maxWeight) + 1, 0.0)};
  std::vector<std::vector<std::int32_t>> permutations;
  std::vector<std::int32_t> permutation(static_cast<std::size_t>(frameLength));
  std::iota(permutation.begin(), permutation.end(), 0);
  do {
    permutations.push_back(permutation);
  } while (std::next_permutation(permutation.begin(), permutation.end()));
  const std::uint32_t words = 1u << frameLength;
  double trials = 0.0;
  const auto add = [&](const std::vector<std::uint32_t>& encoderWords, std::uint32_t word) {
    std::int32_t d = 0;
    for (std::size_t c = 0; c < encoderWords.size(); ++c) {
      d += weights[c][encoderWords[c]];
    }
    spectrum.codeword.at(static_cast<std::size_t>(d)) += 1.0;
    spectrum.weighted.at(static_cast<std::size_t>(d)) +=
        static_cast<double>(std::popcount(word)) / frameLength;
  };
  if (weights.size() == 2) {
    for (const auto& pi : permutations) {
      trials += 1.0;
      for (std::uint32_t word = 1; word < words; ++word) {
        add({word, permuted(word, pi)}, word);
      }
    }
  } else {
    for (const auto& pi : permutations) {
      for (const auto& sigma : permutations) {
        trials += 1.0;
        for (std::uint32_t word = 1; word < words; ++word) {
          add({word, permuted(word, pi), permuted(word, sigma)}, word);
        }
      }
    }
  }
  for (std::size_t d = 0; d < spectrum.codeword.size(); ++d) {
    spectrum.codeword[d] /= trials;
    spectrum.weighted[d] /= trials;
  }
  return spectrum;
}

}  // namespace brevandor::testing
