#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "code/code_description.h"

namespace brevandor {

// One branch of a trellis row: the k input bits, the next state (forward trellis) or the
// previous state (reverse trellis), and the n-bit output word, systematic bits on top.
struct TrellisBranch {
  std::uint8_t input = 0;
  std::int32_t state = -1;  // −1 marks an entry that no branch filled
  std::int32_t output = 0;

  friend bool operator==(const TrellisBranch&, const TrellisBranch&) = default;
};

// S rows of 2^k branches each. In the forward trellis row s lists the branches leaving
// state s; in the reverse trellis row t lists the branches entering state t.
class Trellis {
 public:
  std::int32_t k = 0;
  std::int32_t n = 0;
  std::int32_t stateCount = 0;   // rows, S
  std::int32_t branchCount = 0;  // entries per row, 2^k

  // Gives the trellis S rows of B empty entries, dropping any rows it held.
  void createRows(std::int32_t states, std::int32_t branches);

  std::span<TrellisBranch> row(std::int32_t state) {
    return {rows_.data() + static_cast<std::size_t>(state) * branchCount,
            static_cast<std::size_t>(branchCount)};
  }
  std::span<const TrellisBranch> row(std::int32_t state) const {
    return {rows_.data() + static_cast<std::size_t>(state) * branchCount,
            static_cast<std::size_t>(branchCount)};
  }

 private:
  std::vector<TrellisBranch> rows_;
};

// The number of 1 bits among bits 0 … K − 1 of x, modulo 2.
std::int32_t parityBit(std::int32_t x, std::int32_t registerLength);

// The modulo-2^k sum of the k-bit groups of x at bit positions 0, k, 2k, … below K.
std::int32_t feedbackSymbol(std::int32_t x, std::int32_t registerLength, std::int32_t k);

// Fills the forward and reverse trellis of the described code; returns K.
std::int32_t buildTrellis(const CodeDescription& description, Trellis& forward, Trellis& reverse);

}  // namespace brevandor
