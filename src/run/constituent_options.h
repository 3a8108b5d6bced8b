#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "code/code_description.h"
#include "run/run_inputs.h"
#include "turbo/turbo_puncturing.h"

namespace brevandor {

// What the run makes of the options beyond the main window: the second constituent code
// (none: the first code serves both) and the puncturing patterns.
struct ConstituentOptions {
  std::optional<CodeDescription> secondCode;
  TurboPuncturing puncturing;
};

// The options of a run, or the one refusal that says why there are none; warnings do not
// refuse. A refusal names the command-line option it is about and the text given there.
struct ConstituentOptionsCheck {
  std::optional<ConstituentOptions> options;
  std::string option;   // "--numerator2", "--puncture", …
  std::string text;     // what that option was given
  std::string message;  // why it is refused
  std::vector<std::string> warnings;

  explicit operator bool() const { return options.has_value(); }
  // "--puncture \"11,10\": the pattern needs 3 rows …", as the command line reports it.
  std::string refusal() const;
};

// Reads the second code's polynomials (each empty one is the first code's) with the main
// window's rules, and the patterns for the run's type: a PCCC takes --puncture, an SCCC
// --puncture-outer and --puncture-inner, the repetition type neither, nor a second code.
// Warns where a PCCC pattern sends neither the systematic bit nor encoder 1's parity. Low-weight
// mode (maxWeight > 0) refuses a pattern that leaves systematic bits unsent where no input
// weight bounds the words of weight ≤ D (checkLowWeightOptions). Inputs of a named code
// (standardCode) that contradict it are refused first, by the option that contradicts it.
ConstituentOptionsCheck checkConstituentOptions(const RunInputs& inputs);

// The part of that check that Advanced Setup applies at OK: what low-weight mode does not take,
// a pattern that leaves systematic bits unsent where no input weight bounds the words of
// weight ≤ D for the code, type and frame the inputs hold (faults of the codes or patterns
// themselves are left to the whole check). Empty options and no refusal when it takes them.
ConstituentOptionsCheck checkLowWeightOptions(const RunInputs& inputs);

}  // namespace brevandor
