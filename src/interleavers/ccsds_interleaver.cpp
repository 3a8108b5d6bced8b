#include "interleavers/ccsds_interleaver.h"

#include <array>
#include <string>

namespace brevandor {

namespace {

constexpr std::int32_t kRows = 8;  // k1
constexpr std::array<std::int32_t, 8> kPrimes{31, 37, 43, 47, 53, 59, 61, 67};

bool isCcsdsLength(std::int32_t length) {
  return length == 1784 || length == 3568 || length == 7136 || length == 8920;
}

// π(s) for s = 1 … k as the CCSDS recommendation defines it, 1-based like the standard.
std::int32_t ccsdsIndex(std::int32_t s, std::int32_t columns) {
  const std::int32_t m = (s - 1) % 2;
  const std::int32_t i = (s - 1) / (2 * columns);
  const std::int32_t j = (s - 1) / 2 - i * columns;
  const std::int32_t t = (19 * i + 1) % (kRows / 2);
  const std::int32_t q = t % 8 + 1;
  const std::int32_t c = (kPrimes[static_cast<std::size_t>(q - 1)] * j + 21 * m) % columns;
  return 2 * (t + c * kRows / 2 + 1) - m;
}

}  // namespace

PermutationOutcome ccsdsPermutation(std::int32_t length) {
  if (!isCcsdsLength(length)) {
    return PermutationOutcome::refused("ccsds: N = " + std::to_string(length) +
                                       " is not one of the CCSDS block sizes 1784, 3568, 7136, "
                                       "8920");
  }
  const std::int32_t columns = length / kRows;  // k2
  Permutation result;
  result.indices.resize(static_cast<std::size_t>(length));
  // The standard's s-th bit of the second encoder's input is its π(s)-th information bit:
  // the same reading as interleaved[j] = input[π(j)], shifted to count from 0.
  for (std::int32_t s = 1; s <= length; ++s) {
    result.indices[static_cast<std::size_t>(s - 1)] = ccsdsIndex(s, columns) - 1;
  }
  return {std::move(result), {}};
}

}  // namespace brevandor
