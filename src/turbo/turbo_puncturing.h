#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "code/puncture_pattern.h"

namespace brevandor {

// The streams a parallel pattern's rows stand for: the systematic bits, encoder 1's parity
// bits and encoder 2's parity bits (indexed by encoder 2's own, interleaved, sections).
inline constexpr std::array<std::string_view, 3> kParallelPatternRows{"SYS", "PAR1", "PAR2"};
// The streams of one serial constituent's pattern: its systematic and its parity bits.
inline constexpr std::array<std::string_view, 2> kSerialPatternRows{"SYS", "PAR"};

// The most rows a pattern can have: the systematic row and four parity outputs of each of
// four constituents.
inline constexpr std::size_t kMaxPatternRows = 17;

// The rows of a PCCC pattern, one per sent stream: SYS, then encoder 1's parity outputs in
// polynomial order, then encoder 2's, and so on. An encoder of one parity output has the row
// "PARc" (so two such encoders give SYS,PAR1,PAR2); one of several has "PARc.1", "PARc.2", ….
std::vector<std::string> parallelPatternRows(std::span<const std::int32_t> parityCounts);
// The rows of one SCCC constituent's pattern: SYS, then "PAR" for one parity output, or
// "PAR1", "PAR2", … for several.
std::vector<std::string> serialPatternRows(std::int32_t parityCount);
// Placeholder names "R1", "R2", … for a pattern read before its code is known.
std::vector<std::string> patternRowNames(std::size_t count);
// Views of names, as parsePuncturePattern takes them.
std::vector<std::string_view> rowViews(const std::vector<std::string>& names);

// The puncturing of a turbo code as the user gives it; an empty pattern punctures nothing.
// Tail sections are never punctured.
struct TurboPuncturing {
  PuncturePattern parallel;  // PCCC: SYS, PAR1, PAR2 (parallelPatternRows)
  PuncturePattern outer;     // SCCC: the outer code's SYS, PAR (serialPatternRows)
  PuncturePattern inner;     // SCCC: the inner code's SYS, PAR

  friend bool operator==(const TurboPuncturing&, const TurboPuncturing&) = default;
};

}  // namespace brevandor
