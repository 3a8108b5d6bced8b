#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "interleavers/permutation.h"

namespace brevandor {

// The families of interleavers the user can name.
enum class InterleaverKind {
  Random,        // "random": a new uniformly random permutation for every frame (the ensemble)
  SeededRandom,  // "random:SEED": one fixed random permutation
  SpreadRandom,  // "s-random:S[:SEED]": one fixed S-random permutation
  Qpp,           // "qpp:F1,F2": the quadratic permutation polynomial
  Lte,           // "lte": the LTE QPP of the frame's block size
  Ccsds,         // "ccsds": the CCSDS permutation of the frame's block size
  File,          // "file:PATH": a permutation read from a file
};

// A parsed interleaver description; which fields count depends on the kind.
struct InterleaverSpec {
  InterleaverKind kind = InterleaverKind::Random;
  std::uint64_t seed = 0;   // SeededRandom, SpreadRandom
  std::int32_t spread = 0;  // SpreadRandom: S
  std::int64_t f1 = 0;      // Qpp
  std::int64_t f2 = 0;      // Qpp
  std::string path;         // File

  // Whether every frame draws its own permutation: the ensemble that the uniform-interleaver
  // bounds average, rather than one given permutation.
  bool isEnsemble() const { return kind == InterleaverKind::Random; }
  // The description as the user writes it, normalised ("s-random:12:1").
  std::string text() const;

  friend bool operator==(const InterleaverSpec&, const InterleaverSpec&) = default;
};

// The seed of "s-random:S" without a seed of its own.
inline constexpr std::uint64_t kDefaultSpreadSeed = 1;

// A parsed description, or the words that say why the text is none.
struct ParsedInterleaver {
  std::optional<InterleaverSpec> spec;
  std::string failure;

  explicit operator bool() const { return spec.has_value(); }
};

// Reads "random", "random:SEED", "s-random:S[:SEED]", "qpp:F1,F2", "lte", "ccsds" or
// "file:PATH". The frame length is not known here: makePermutation checks the fit.
ParsedInterleaver parseInterleaverSpec(std::string_view text);

// The permutation of `length` positions the description names. For the ensemble ("random"),
// `frameSeed` picks the frame's own permutation; the other kinds ignore it.
PermutationOutcome makePermutation(const InterleaverSpec& spec, std::int32_t length,
                                   std::uint64_t frameSeed = 0);

}  // namespace brevandor
