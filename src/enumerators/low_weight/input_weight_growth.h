#pragma once

#include <cstdint>
#include <optional>

#include "code/conv_code.h"
#include "enumerators/weight_enumerator.h"

namespace brevandor {

// How a constituent's counted output weight grows with its input weight along any stretch of
// its trellis, whatever state it starts and ends in: output ≥ (slope · input − offset) /
// kGrowthScale. Where a pattern leaves input bits unsent, a heavy input word may still send
// few bits; this bound says how heavy a word can be and still reach a given output weight.
struct WeightGrowth {
  std::int64_t slope = 0;   // ρ · kGrowthScale: the least bits sent per input bit, rounded down
  std::int64_t offset = 0;  // C · kGrowthScale: what a stretch may send below ρ · input
};

// The denominator of the slope and offset: the slope is found to 1/1024 of a bit.
inline constexpr std::int64_t kGrowthScale = 1024;

// The growth of the enumerator's counted weight (its puncturing and its count of input or
// parity bits as configured). The slope is the smallest ratio of sent bits to input bits over
// the cycles of the trellis through the phases of the period, rounded down; the offset follows
// from the shortest-path potentials at that slope. Nothing where some cycle has input bits and
// sends nothing (no slope above 0 exists).
std::optional<WeightGrowth> weightGrowth(const WeightEnumerator& enumerator, const ConvCode& code);

// The largest input weight w whose words can have a counted weight of at most `outputLimit`
// under the sum of the given growths (slopes added, offsets added): the largest w with
// Σ slope · w − Σ offset ≤ outputLimit · kGrowthScale. Nothing when the slopes add to 0.
std::optional<std::int64_t> heaviestInputWithin(std::int64_t slope, std::int64_t offset,
                                                std::int64_t outputLimit);

}  // namespace brevandor
