#include "interleavers/random_bits.h"

namespace brevandor {

std::uint64_t mixBits(std::uint64_t x) {
  x += 0x9e3779b97f4a7c15ULL;
  x = (x ^ (x >> 30)) * 0xbf58476d1ce4e5b9ULL;
  x = (x ^ (x >> 27)) * 0x94d049bb133111ebULL;
  return x ^ (x >> 31);
}

std::uint64_t streamSeed(std::uint64_t seed, std::uint64_t index) {
  // Mixing twice keeps (seed, index) and (seed + 1, index − 1) apart.
  return mixBits(mixBits(seed) ^ (index * 0xd1b54a32d192ed03ULL));
}

RandomBits::RandomBits(std::uint64_t seed) {
  std::uint64_t x = seed;
  for (std::uint64_t& word : state_) {
    x += 0x9e3779b97f4a7c15ULL;
    word = mixBits(x);
  }
}

std::uint64_t RandomBits::below(std::uint64_t bound) {
  // Rejects the words of the last incomplete multiple of `bound`, so every residue is
  // equally likely.
  const std::uint64_t limit = (~std::uint64_t{0} / bound) * bound;
  std::uint64_t word = next();
  while (word >= limit) {
    word = next();
  }
  return word % bound;
}

double RandomBits::openUnit() {
  // 53 random bits and half a step: (k + 0.5) / 2^53 lies strictly inside (0, 1).
  return (static_cast<double>(next() >> 11) + 0.5) * 0x1.0p-53;
}

}  // namespace brevandor
