#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "code/termination.h"
#include "run/run_inputs.h"

namespace brevandor {

// A turbo code of a standard, by name: the inputs it stands for (a PCCC of two encoders) and
// the frame lengths and codeword lengths the standard defines. A named code fills the same
// inputs a user could type, so both give the same results file.
struct StandardCode {
  std::string_view name;         // "lte", "ccsds-1/3", …
  std::string_view numerators;   // comma-separated, as --numerator takes them
  std::string_view denominator;  // as --denominator
  std::string_view puncture;     // as --puncture; empty: nothing punctured
  Termination termination = Termination::Both;
  TailRule tailRule;
  std::int32_t rateDenominator = 3;  // the nominal rate 1 / rateDenominator
  std::string_view source;           // where the figures come from
};

// Every named code, in the order the help text and the window list them.
std::span<const StandardCode> standardCodes();

// The code of this name, or nothing.
const StandardCode* findStandardCode(std::string_view name);

// The names joined by ", ", for messages and help texts.
std::string standardCodeNames();

// The frame lengths K the standard defines for the code, in increasing order.
std::vector<std::int32_t> standardFrameLengths(const StandardCode& code);

// The codeword length the standard gives for K input bits: 3K + 12 for LTE, (K + 4) · r⁻¹ for
// the CCSDS codes.
std::int64_t standardCodewordLength(const StandardCode& code, std::int32_t frameLength);

// Sets the code's inputs: polynomials, type (PCCC of two encoders), pattern, termination and
// tail rule. Everything else in `inputs` stays.
void applyStandardCode(const StandardCode& code, RunInputs& inputs);

// The warning for a frame length the standard does not define (nothing for one it does).
std::optional<std::string> standardFrameLengthWarning(const StandardCode& code,
                                                      std::int32_t frameLength);

}  // namespace brevandor
