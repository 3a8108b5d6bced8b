#pragma once

#include <cstdint>
#include <string_view>

namespace brevandor {

// How the constituent codes are concatenated. The values are the window's list positions and
// the numbers that stored window settings hold.
enum class ConcatenationType : std::int32_t {
  Parallel = 0,          // "PCCC"
  Serial = 1,            // "SCCC"
  RepetitionSerial = 2,  // "SCC with 1st-RC and 2nd-CC": outer repetition code, inner code
};

// The display name of a concatenation type, as the results file prints it.
constexpr std::string_view concatenationTypeName(ConcatenationType type) {
  switch (type) {
    case ConcatenationType::Parallel:
      return "PCCC";
    case ConcatenationType::Serial:
      return "SCCC";
    default:
      return "SCC with 1st-RC and 2nd-CC";
  }
}

}  // namespace brevandor
