#include "interleavers/permutation.h"

#include <algorithm>
#include <cstdlib>
#include <numeric>

namespace brevandor {

bool isPermutation(std::span<const std::int32_t> indices) {
  std::vector<bool> seen(indices.size(), false);
  for (const std::int32_t index : indices) {
    if (index < 0 || static_cast<std::size_t>(index) >= indices.size() ||
        seen[static_cast<std::size_t>(index)]) {
      return false;
    }
    seen[static_cast<std::size_t>(index)] = true;
  }
  return true;
}

Permutation inversePermutation(const Permutation& permutation) {
  Permutation inverse;
  inverse.indices.resize(permutation.indices.size());
  for (std::int32_t j = 0; j < permutation.size(); ++j) {
    inverse.indices[static_cast<std::size_t>(permutation[j])] = j;
  }
  return inverse;
}

Permutation identityPermutation(std::int32_t length) {
  Permutation identity;
  identity.indices.resize(static_cast<std::size_t>(std::max(length, 0)));
  std::iota(identity.indices.begin(), identity.indices.end(), 0);
  return identity;
}

namespace {

// Whether every two positions at most `spread` apart are mapped at least `spread` apart.
bool keepsSpread(const Permutation& permutation, std::int32_t spread) {
  const std::int32_t length = permutation.size();
  for (std::int32_t i = 0; i < length; ++i) {
    for (std::int32_t j = i + 1; j <= std::min(i + spread, length - 1); ++j) {
      if (std::abs(permutation[i] - permutation[j]) < spread) {
        return false;
      }
    }
  }
  return true;
}

}  // namespace

std::int32_t permutationSpread(const Permutation& permutation) {
  // The property holds for S only if it holds for every smaller S, so the first failure ends
  // the search.
  std::int32_t spread = 0;
  while (spread + 1 < permutation.size() && keepsSpread(permutation, spread + 1)) {
    ++spread;
  }
  return spread;
}

}  // namespace brevandor
