#pragma once

#include <array>
#include <string_view>

#include "code/puncture_pattern.h"

namespace brevandor {

// The streams a parallel pattern's rows stand for: the systematic bits, encoder 1's parity
// bits and encoder 2's parity bits (indexed by encoder 2's own, interleaved, sections).
inline constexpr std::array<std::string_view, 3> kParallelPatternRows{"SYS", "PAR1", "PAR2"};
// The streams of one serial constituent's pattern: its systematic and its parity bits.
inline constexpr std::array<std::string_view, 2> kSerialPatternRows{"SYS", "PAR"};

// The puncturing of a turbo code as the user gives it; an empty pattern punctures nothing.
// Tail sections are never punctured.
struct TurboPuncturing {
  PuncturePattern parallel;  // PCCC: SYS, PAR1, PAR2
  PuncturePattern outer;     // SCCC: the outer code's SYS, PAR
  PuncturePattern inner;     // SCCC: the inner code's SYS, PAR

  friend bool operator==(const TurboPuncturing&, const TurboPuncturing&) = default;
};

}  // namespace brevandor
