#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "turbo/turbo_puncturing.h"

namespace brevandor {

// The pattern texts as the user typed them; an empty text gives no pattern.
struct PuncturingTexts {
  std::string parallel;  // PCCC: SYS,PAR1,PAR2
  std::string outer;     // SCCC: the outer code's SYS,PAR
  std::string inner;     // SCCC: the inner code's SYS,PAR
};

// Which pattern a refusal is about.
enum class PatternField { None, Parallel, Outer, Inner };

// The patterns of a run, or why they are refused; warnings do not refuse.
struct PuncturingCheck {
  std::optional<TurboPuncturing> puncturing;
  PatternField field = PatternField::None;
  std::string message;
  std::vector<std::string> warnings;

  explicit operator bool() const { return puncturing.has_value(); }
};

// Reads the patterns for a concatenation type: a PCCC takes the parallel pattern, an SCCC
// the outer and inner ones, the repetition type none. Warns where a PCCC pattern leaves both
// the systematic bit and encoder 1's parity out at the same position.
PuncturingCheck checkPuncturing(std::int32_t type, const PuncturingTexts& texts);

}  // namespace brevandor
