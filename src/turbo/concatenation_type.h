#pragma once

#include <cstdint>
#include <string_view>

namespace brevandor {

// How the constituent codes are concatenated.
enum ConcatenationType : std::int32_t {
  Parallel = 0,          // "PCCC"
  Serial = 1,            // "SCCC"
  RepetitionSerial = 2,  // "SCC with 1st-RC and 2nd-CC": outer repetition code, inner code
};

// The display name of a concatenation type, as the results file prints it.
constexpr std::string_view concatenationTypeName(std::int32_t type) {
  switch (type) {
    case Parallel:
      return "PCCC";
    case Serial:
      return "SCCC";
    default:
      return "SCC with 1st-RC and 2nd-CC";
  }
}

}  // namespace brevandor
