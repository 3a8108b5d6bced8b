#pragma once

// Permutations of one frame's positions, the interleavers of a turbo code.
//
// One convention everywhere, the LTE standard's: the interleaved sequence's j-th bit is the
// input's π(j)-th bit, interleaved[j] = input[π(j)], positions counted from 0.
//
// The folder's interface (interleaver_spec.h): parseInterleaverSpec reads the user's text
// ("random", "random:SEED", "s-random:S[:SEED]", "qpp:F1,F2", "lte", "ccsds", "file:PATH");
// makePermutation builds the permutation of a frame length from it. Failures come back as
// a PermutationOutcome / ParsedInterleaver whose `failure` says why, never as exceptions.

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace brevandor {

// A permutation π of 0 … N − 1: indices[j] = π(j), the input position read at position j.
struct Permutation {
  std::vector<std::int32_t> indices;

  std::int32_t size() const { return static_cast<std::int32_t>(indices.size()); }
  std::int32_t operator[](std::int32_t j) const { return indices[static_cast<std::size_t>(j)]; }

  friend bool operator==(const Permutation&, const Permutation&) = default;
};

// A permutation, or the words that say why none could be made.
struct PermutationOutcome {
  std::optional<Permutation> permutation;
  std::string failure;

  explicit operator bool() const { return permutation.has_value(); }
  // A refusal carrying its reason.
  static PermutationOutcome refused(std::string why) { return {std::nullopt, std::move(why)}; }
};

// Whether `indices` holds each of 0 … size − 1 exactly once.
bool isPermutation(std::span<const std::int32_t> indices);

// The inverse permutation: inverse[π(j)] = j.
Permutation inversePermutation(const Permutation& permutation);

// The identity permutation of `length` positions.
Permutation identityPermutation(std::int32_t length);

// The largest S for which every two positions at most S apart are mapped at least S apart
// (|i − j| ≤ S ⇒ |π(i) − π(j)| ≥ S), the S of an S-random permutation; 0 when no S ≥ 1
// holds.
std::int32_t permutationSpread(const Permutation& permutation);

// interleaved[j] = input[π(j)].
template <class T>
void interleave(const Permutation& permutation, std::span<const T> input,
                std::span<T> interleaved) {
  for (std::size_t j = 0; j < permutation.indices.size(); ++j) {
    interleaved[j] = input[static_cast<std::size_t>(permutation.indices[j])];
  }
}

// The inverse of interleave: output[π(j)] = interleaved[j].
template <class T>
void deinterleave(const Permutation& permutation, std::span<const T> interleaved,
                  std::span<T> output) {
  for (std::size_t j = 0; j < permutation.indices.size(); ++j) {
    output[static_cast<std::size_t>(permutation.indices[j])] = interleaved[j];
  }
}

}  // namespace brevandor
