#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "code/code_description.h"

namespace brevandor {

// Limits and defaults that both front ends apply to what the user enters.
inline constexpr std::int32_t kMinFrameLength = 10;
inline constexpr std::int32_t kMaxFrameLength = 10000;
inline constexpr std::int32_t kDefaultFrameLength = 128;
inline constexpr std::size_t kMaxTextLength = 100;  // polynomial texts and the file name
inline constexpr std::string_view kDefaultNumerator = "1+D+D^2";
inline constexpr std::string_view kDefaultDenominator = "1+D^2";
inline constexpr std::string_view kDefaultResultsFile = "results.txt";
inline constexpr std::int32_t kDefaultBoundSelection = 1;
// Constants of every run: two constituents, and the repetition factor of the outer code.
inline constexpr std::int32_t kConstituentCount = 2;
inline constexpr std::int32_t kRepetitionFactor = 3;

// Everything one calculation needs, handed to the run by value.
struct RunInputs {
  std::int32_t inputFrameLength = kDefaultFrameLength;  // N
  std::int32_t selectedType = 0;                        // a ConcatenationType
  std::int32_t boundSelection = kDefaultBoundSelection;  // BoundMask bits; 0: no bounds
  std::string resultsFileName{kDefaultResultsFile};     // path of the results file, as given
  CodeDescription code;                                 // from describeCode
};

// The code described by the two polynomial texts, or the one log line that says why there
// is none: the denominator's parse message before the numerator's, then describeCode's
// refusal.
struct CodeFromTexts {
  std::optional<CodeDescription> description;
  std::string message;

  explicit operator bool() const { return description.has_value(); }
};
CodeFromTexts codeFromTexts(std::string_view numerator, std::string_view denominator);

}  // namespace brevandor
