#pragma once

#include <algorithm>
#include <bit>
#include <cstdint>
#include <numeric>
#include <vector>

#include "support/exhaustive_encoder.h"

namespace brevandor::testing {

// A distance spectrum as plain numbers: the average count of codewords of each weight, and
// the same weighted by the share w / N of input bits in error.
struct LinearSpectrum {
  std::vector<double> codeword;
  std::vector<double> weighted;
};

// The binomial coefficient C(n, k) in double precision (exact for the small n used here).
inline double binomial(std::int32_t n, std::int32_t k) {
  if (k < 0 || k > n) {
    return 0.0;
  }
  double value = 1.0;
  for (std::int32_t i = 1; i <= k; ++i) {
    value = value * static_cast<double>(n - k + i) / static_cast<double>(i);
  }
  return value;
}

// The counts of a repetition code that sends each of N input bits r times.
inline CountTable repetitionCounts(std::int32_t frameLength, std::int32_t factor) {
  CountTable counts(static_cast<std::size_t>(factor * frameLength) + 1,
                    std::vector<double>(static_cast<std::size_t>(frameLength) + 1, 0.0));
  for (std::int32_t w = 0; w <= frameLength; ++w) {
    counts[static_cast<std::size_t>(factor * w)][static_cast<std::size_t>(w)] =
        binomial(frameLength, w);
  }
  return counts;
}

// The parallel concatenation of two constituents over a uniform interleaver of N bits, from
// their exact counts [counted weight p][input weight w]: Σ A0(w, p0) · A1(w, p1) / C(N, w)
// at weight p0 + p1, plus w when the input bits are sent once. Input weights above
// `lastInputWeight` are left out; so is the all-zero word.
inline LinearSpectrum parallelOracle(const CountTable& first, const CountTable& second,
                                     std::int32_t frameLength, bool inputBitsSentOnce,
                                     std::int32_t maxWeight, std::int32_t lastInputWeight) {
  LinearSpectrum spectrum{std::vector<double>(static_cast<std::size_t>(maxWeight) + 1, 0.0),
                          std::vector<double>(static_cast<std::size_t>(maxWeight) + 1, 0.0)};
  for (std::int32_t w = 1; w <= lastInputWeight; ++w) {
    const auto column = static_cast<std::size_t>(w);
    for (std::size_t p0 = 0; p0 < first.size(); ++p0) {
      for (std::size_t p1 = 0; p1 < second.size(); ++p1) {
        const double count = first[p0][column] * second[p1][column] / binomial(frameLength, w);
        if (count == 0.0) {
          continue;
        }
        const std::size_t d = p0 + p1 + (inputBitsSentOnce ? column : 0);
        spectrum.codeword.at(d) += count;
        spectrum.weighted.at(d) += count * w / frameLength;
      }
    }
  }
  return spectrum;
}

// The serial concatenation of an outer and an inner code through a uniform interleaver of
// L bits (the outer codeword length): Σ_v Aouter(w, v) · Ainner(v, d) / C(L, v). Tables are
// [output weight][input weight] and count all output bits. The all-zero word is left out.
inline LinearSpectrum serialOracle(const CountTable& outer, const CountTable& inner,
                                   std::int32_t frameLength, std::int32_t interleaverLength) {
  LinearSpectrum spectrum{std::vector<double>(inner.size(), 0.0),
                          std::vector<double>(inner.size(), 0.0)};
  for (std::int32_t w = 1; w <= frameLength; ++w) {
    for (std::size_t v = 0; v < outer.size(); ++v) {
      const double outerCount = outer[v][static_cast<std::size_t>(w)];
      if (outerCount == 0.0) {
        continue;
      }
      for (std::size_t d = 0; d < inner.size(); ++d) {
        const double count =
            outerCount * inner[d].at(v) / binomial(interleaverLength, static_cast<std::int32_t>(v));
        spectrum.codeword[d] += count;
        spectrum.weighted[d] += count * w / frameLength;
      }
    }
  }
  return spectrum;
}

// The average spectrum of a punctured parallel concatenation over all N! interleavers, by
// encoding every input word through every permutation: encoder 1 sends the systematic bits
// where `systematicRow` says and its parity where `firstParityRow` says; encoder 2, fed the
// permuted word (input bit π(i) at its section i), sends its parity where `secondParityRow`
// says; both send their tails whole. Meant for N up to 7.
inline LinearSpectrum allInterleaversParallel(const ShiftRegisterEncoder& first,
                                              const ShiftRegisterEncoder& second,
                                              std::int32_t frameLength, const char* systematicRow,
                                              const char* firstParityRow,
                                              const char* secondParityRow, std::int32_t maxWeight) {
  const std::uint32_t words = 1u << frameLength;
  // Each encoder's weight depends on its own input word only: encode each word once.
  std::vector<std::int32_t> firstWeights(words);
  std::vector<std::int32_t> secondWeights(words);
  for (std::uint32_t word = 0; word < words; ++word) {
    firstWeights[word] = sentWeight(first, word, frameLength, systematicRow, firstParityRow);
    secondWeights[word] = sentWeight(second, word, frameLength, nullptr, secondParityRow);
  }
  LinearSpectrum spectrum{std::vector<double>(static_cast<std::size_t>(maxWeight) + 1, 0.0),
                          std::vector<double>(static_cast<std::size_t>(maxWeight) + 1, 0.0)};
  std::vector<std::int32_t> permutation(static_cast<std::size_t>(frameLength));
  std::iota(permutation.begin(), permutation.end(), 0);
  double permutations = 0.0;
  do {
    permutations += 1.0;
    for (std::uint32_t word = 1; word < words; ++word) {
      std::uint32_t permuted = 0;
      for (std::int32_t i = 0; i < frameLength; ++i) {
        permuted |= ((word >> permutation[static_cast<std::size_t>(i)]) & 1u) << i;
      }
      const auto d = static_cast<std::size_t>(firstWeights[word] + secondWeights[permuted]);
      spectrum.codeword.at(d) += 1.0;
      spectrum.weighted.at(d) += static_cast<double>(std::popcount(word)) / frameLength;
    }
  } while (std::next_permutation(permutation.begin(), permutation.end()));
  for (std::size_t d = 0; d < spectrum.codeword.size(); ++d) {
    spectrum.codeword[d] /= permutations;
    spectrum.weighted[d] /= permutations;
  }
  return spectrum;
}

}  // namespace brevandor::testing
