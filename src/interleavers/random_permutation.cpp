#include "interleavers/random_permutation.h"

#include <cmath>
#include <cstdlib>
#include <optional>
#include <string>
#include <utility>

#include "interleavers/random_bits.h"

namespace brevandor {

namespace {

void shuffle(std::vector<std::int32_t>& values, RandomBits& bits) {
  for (std::size_t i = values.size(); i > 1; --i) {
    const std::size_t j = static_cast<std::size_t>(bits.below(i));
    std::swap(values[i - 1], values[j]);
  }
}

// Whether `candidate` lies at least `spread` away from the last `spread` chosen values.
bool keepsSpreadAt(const std::vector<std::int32_t>& chosen, std::size_t position,
                   std::int32_t candidate, std::int32_t spread) {
  const std::size_t first = position > static_cast<std::size_t>(spread) ? position - spread : 0;
  for (std::size_t i = first; i < position; ++i) {
    if (std::abs(chosen[i] - candidate) < spread) {
      return false;
    }
  }
  return true;
}

// One attempt: a permutation that keeps the spread, or nothing when some position finds no
// candidate left that keeps it.
std::optional<Permutation> trySpread(std::int32_t length, std::int32_t spread, RandomBits& bits) {
  std::vector<std::int32_t> remaining = identityPermutation(length).indices;
  shuffle(remaining, bits);
  Permutation result;
  result.indices.resize(static_cast<std::size_t>(length));
  for (std::size_t position = 0; position < result.indices.size(); ++position) {
    std::size_t pick = 0;
    while (pick < remaining.size() &&
           !keepsSpreadAt(result.indices, position, remaining[pick], spread)) {
      ++pick;
    }
    if (pick == remaining.size()) {
      return std::nullopt;
    }
    result.indices[position] = remaining[pick];
    // Filling the hole from the end keeps the rest in random order.
    remaining[pick] = remaining.back();
    remaining.pop_back();
  }
  return result;
}

}  // namespace

Permutation randomPermutation(std::int32_t length, std::uint64_t seed) {
  RandomBits bits(seed);
  Permutation result = identityPermutation(length);
  shuffle(result.indices, bits);
  return result;
}

PermutationOutcome spreadRandomPermutation(std::int32_t length, std::int32_t spread,
                                           std::uint64_t seed) {
  if (spread < 1 || spread >= length) {
    return PermutationOutcome::refused(
        "s-random: the spread S = " + std::to_string(spread) +
        " must lie between 1 and N − 1 = " + std::to_string(length - 1));
  }
  RandomBits bits(seed);
  for (std::int32_t attempt = 0; attempt < kSpreadTries; ++attempt) {
    if (std::optional<Permutation> found = trySpread(length, spread, bits)) {
      return {std::move(found), {}};
    }
  }
  const auto usual = static_cast<std::int32_t>(0.7 * std::sqrt(length / 2.0));
  return PermutationOutcome::refused(
      "s-random: no permutation of N = " + std::to_string(length) +
      " with spread S = " + std::to_string(spread) + " found in " + std::to_string(kSpreadTries) +
      " tries; spreads up to about 0.7 sqrt(N/2) = " + std::to_string(usual) + " are reached");
}

}  // namespace brevandor
