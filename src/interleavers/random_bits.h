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
  std::uint64_t next() {
    const std::uint64_t result = rotateLeft(state_[1] * 5, 7) * 9;
    const std::uint64_t shifted = state_[1] << 17;
    state_[2] ^= state_[0];
    state_[3] ^= state_[1];
    state_[1] ^= state_[2];
    state_[0] ^= state_[3];
    state_[2] ^= shifted;
    state_[3] = rotateLeft(state_[3], 45);
    return result;
  }
  // A uniformly distributed integer in 0 … bound − 1 (bound ≥ 1), without modulo bias.
  std::uint64_t below(std::uint64_t bound);
  // A uniformly distributed double in (0, 1): never 0, so its logarithm is finite.
  double openUnit();

 private:
  static std::uint64_t rotateLeft(std::uint64_t x, int bits) {
    return (x << bits) | (x >> (64 - bits));
  }

  std::uint64_t state_[4];
};

// One SplitMix64 step: a well-mixed 64-bit word from x. Used to derive independent seeds.
std::uint64_t mixBits(std::uint64_t x);

// A seed for stream `index` of a family named by `seed`: different indices give unrelated
// streams.
std::uint64_t streamSeed(std::uint64_t seed, std::uint64_t index);

}  // namespace brevandor
