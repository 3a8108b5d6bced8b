#pragma once

#include <cstdint>
#include <optional>
#include <vector>

namespace brevandor {

// The low-weight spectrum of the code of one permutation: for every codeword weight
// d = 0 … D the number of nonzero input words whose codeword has weight d (exact) and the
// sum of their input weights.
struct GivenSpectrum {
  std::int32_t maxWeight = 0;               // D
  std::int32_t frameLength = 0;             // N, input bits of the frame
  std::vector<std::uint64_t> codewords;     // A_d
  std::vector<std::uint64_t> inputWeights;  // Σ w over the words of A_d

  // B_d = Σ w / N.
  double bitMultiplicity(std::int32_t d) const {
    return static_cast<double>(inputWeights[static_cast<std::size_t>(d)]) /
           static_cast<double>(frameLength);
  }
  // The least d ≤ D with A_d > 0, if any.
  std::optional<std::int32_t> minimumDistance() const {
    for (std::size_t d = 0; d < codewords.size(); ++d) {
      if (codewords[d] != 0) {
        return static_cast<std::int32_t>(d);
      }
    }
    return std::nullopt;
  }
};

}  // namespace brevandor
