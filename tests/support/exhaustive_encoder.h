#pragma once

#include <bit>
#include <cstdint>
#include <stdexcept>
#include <string_view>
#include <vector>

#include "code/code_description.h"

namespace brevandor::testing {

// A rate-1/n convolutional encoder written straight from its polynomials, independent of
// the trellis builder: a register of the last m feedback symbols (bit 0 the most recent),
// feedback w = u + d1·w(t−1) + … + dm·w(t−m), parity p = a0·w + a1·w(t−1) + … + am·w(t−m),
// over GF(2). A feedforward code has denominator 1, so w = u. Systematic codes send u, then
// p; the others send p alone.
struct ShiftRegisterEncoder {
  std::uint32_t numerator = 0;    // a_i in bit i
  std::uint32_t denominator = 1;  // d_i in bit i; d0 must be 1
  bool systematic = true;
  std::int32_t memory = 0;  // m, the highest degree of the two polynomials

  ShiftRegisterEncoder(std::uint32_t numeratorMask, std::uint32_t denominatorMask,
                       bool isSystematicCode)
      : numerator(numeratorMask), denominator(denominatorMask), systematic(isSystematicCode) {
    if ((denominator & 1u) == 0) {
      throw std::invalid_argument("the denominator needs its constant term");
    }
    memory = static_cast<std::int32_t>(std::bit_width(numerator | denominator)) - 1;
  }

  // Reads the polynomials of a described code: the last generator carries the numerator in
  // its low half and, for a recursive code, the denominator in its high half.
  static ShiftRegisterEncoder fromDescription(const CodeDescription& description) {
    const auto last = static_cast<std::uint32_t>(description.generators[description.n - 1]);
    const std::uint32_t feedback = last >> 16;
    return ShiftRegisterEncoder(last & 0xFFFFu, feedback == 0 ? 1u : feedback,
                                isSystematic(description.kind));
  }

  std::int32_t stateCount() const { return 1 << memory; }
  std::int32_t outputsPerSection() const { return systematic ? 2 : 1; }

  // The input bit that makes the feedback symbol 0 in `state`: what the tail sends.
  std::uint32_t zeroingInput(std::uint32_t state) const {
    return static_cast<std::uint32_t>(std::popcount((denominator >> 1) & state) & 1);
  }

  // Encodes one input bit: returns the section's parity bit and moves the register on.
  std::uint32_t parityStep(std::uint32_t& state, std::uint32_t input) const {
    const std::uint32_t feedback = (input ^ zeroingInput(state)) & 1u;
    const std::uint32_t parity =
        ((numerator & 1u) & feedback) ^
        static_cast<std::uint32_t>(std::popcount((numerator >> 1) & state) & 1);
    state = ((state << 1) | feedback) & static_cast<std::uint32_t>(stateCount() - 1);
    return parity;
  }

  // Encodes one input bit: returns the weight of the section's output bits and moves the
  // register on.
  std::int32_t step(std::uint32_t& state, std::uint32_t input) const {
    const std::uint32_t parity = parityStep(state, input);
    return static_cast<std::int32_t>(parity + (systematic ? input : 0u));
  }

  // The weight of the m tail sections that bring `state` back to 0 (all their output bits).
  std::int32_t tailWeight(std::uint32_t state) const {
    std::int32_t weight = 0;
    for (std::int32_t t = 0; t < memory; ++t) {
      weight += step(state, zeroingInput(state));
    }
    return weight;
  }

  // The weight of the whole terminated codeword of an N-bit input word (bit i is the i-th
  // input), tail included.
  std::int32_t codewordWeight(std::uint32_t word, std::int32_t frameLength) const {
    std::uint32_t state = 0;
    std::int32_t weight = 0;
    for (std::int32_t i = 0; i < frameLength; ++i) {
      weight += step(state, (word >> i) & 1u);
    }
    return weight + tailWeight(state);
  }
};

// Whether a puncturing row written as text ("10") sends its bit at section t; a null row
// sends nothing, an empty one everything.
inline bool sentAt(const char* row, std::int32_t t) {
  if (row == nullptr) {
    return false;
  }
  const std::string_view text(row);
  return text.empty() || text[static_cast<std::size_t>(t) % text.size()] == '1';
}

// The weight that a punctured systematic encoder sends for an N-bit input word: its
// systematic bits where `systematicRow` says, its parity bits where `parityRow` says, and
// every bit of its tail.
inline std::int32_t sentWeight(const ShiftRegisterEncoder& encoder, std::uint32_t word,
                               std::int32_t frameLength, const char* systematicRow,
                               const char* parityRow) {
  std::uint32_t state = 0;
  std::int32_t weight = 0;
  for (std::int32_t t = 0; t < frameLength; ++t) {
    const std::uint32_t input = (word >> t) & 1u;
    const std::uint32_t parity = encoder.parityStep(state, input);
    weight += static_cast<std::int32_t>((sentAt(systematicRow, t) ? input : 0u) +
                                        (sentAt(parityRow, t) ? parity : 0u));
  }
  return weight + encoder.tailWeight(state);
}

// Exact codeword counts [output weight d][input weight w] of one frame.
using CountTable = std::vector<std::vector<double>>;

// The conditional weight enumerating function of a frame of N bits by trying every input
// word: cell [d][w] counts the input words of weight w whose terminated codeword has weight
// d, or d + w when `countsInputBits` is false (parity weight only; systematic codes only).
// Rows 0 … (N + m) · n. Meant for N up to about 16.
inline CountTable exhaustiveCwef(const ShiftRegisterEncoder& encoder, std::int32_t frameLength,
                                 bool countsInputBits) {
  if (!countsInputBits && !encoder.systematic) {
    throw std::invalid_argument("parity-only weights need a systematic code");
  }
  const std::int32_t maxWeight = (frameLength + encoder.memory) * encoder.outputsPerSection();
  CountTable counts(static_cast<std::size_t>(maxWeight) + 1,
                    std::vector<double>(static_cast<std::size_t>(frameLength) + 1, 0.0));
  for (std::uint32_t word = 0; word < (1u << frameLength); ++word) {
    const std::int32_t w = std::popcount(word);
    const std::int32_t weight = encoder.codewordWeight(word, frameLength);
    const std::int32_t d = countsInputBits ? weight : weight - w;
    counts[static_cast<std::size_t>(d)][static_cast<std::size_t>(w)] += 1.0;
  }
  return counts;
}

// The table of a punctured constituent by trying every input word: cell [d][w] counts the
// words of weight w to which the encoder sends weight d (see sentWeight).
inline CountTable exhaustiveSentCwef(const ShiftRegisterEncoder& encoder, std::int32_t frameLength,
                                     const char* systematicRow, const char* parityRow) {
  CountTable counts(static_cast<std::size_t>(frameLength + encoder.memory) * 2 + 1,
                    std::vector<double>(static_cast<std::size_t>(frameLength) + 1, 0.0));
  for (std::uint32_t word = 0; word < (1u << frameLength); ++word) {
    const std::int32_t d = sentWeight(encoder, word, frameLength, systematicRow, parityRow);
    counts[static_cast<std::size_t>(d)][static_cast<std::size_t>(std::popcount(word))] += 1.0;
  }
  return counts;
}

}  // namespace brevandor::testing
