#pragma once

#include <cstdint>

namespace brevandor {

// A small, fast generator of 64-bit words (xoshiro256**), seeded through SplitMix64. Its
// sequence depends on the seed alone, on every platform and compiler, which the standard
// library's distributions do not promise: simulated counts must not depend on either.
class RandomBits {
 public:
  explicit RandomBits(std::uint64_t seed);

  // The next 64 random bits.
  std::uint64_t next();
  // A uniformly distributed integer in 0 … bound − 1 (bound ≥ 1), without modulo bias.
  std::uint64_t below(std::uint64_t bound);
  // A uniformly distributed double in (0, 1): never 0, so its logarithm is finite.
  double openUnit();

 private:
  std::uint64_t state_[4];
};

// One SplitMix64 step: a well-mixed 64-bit word from x. Used to derive independent seeds.
std::uint64_t mixBits(std::uint64_t x);

// A seed for stream `index` of a family named by `seed`: different indices give unrelated
// streams.
std::uint64_t streamSeed(std::uint64_t seed, std::uint64_t index);

}  // namespace brevandor
