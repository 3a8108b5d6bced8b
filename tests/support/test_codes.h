#pragma once

#include <span>
#include <string>
#include <string_view>

#include "code/code_description.h"
#include "code/conv_code.h"
#include "code/polynomial.h"
#include "turbo/turbo_puncturing.h"

namespace brevandor::testing {

// The description of the systematic code ( 1, numerator / denominator ); the polynomials
// must be valid.
inline CodeDescription describeOrDie(const char* numerator, const char* denominator) {
  return describeCode(parsePolynomial(numerator), parsePolynomial(denominator)).description.value();
}

// The main window's default code, "1+D+D^2" over "1+D^2".
inline CodeDescription defaultCode() {
  return describeOrDie("1+D+D^2", "1+D^2");
}

// The patterns of a turbo code from their texts ("" for none); the texts must be valid.
inline TurboPuncturing puncturingOf(const std::string& parallel, const std::string& outer = "",
                                    const std::string& inner = "") {
  const auto read = [](const std::string& text, std::span<const std::string_view> rows) {
    return text.empty() ? PuncturePattern{} : parsePuncturePattern(text, rows).pattern.value();
  };
  return {read(parallel, kParallelPatternRows), read(outer, kSerialPatternRows),
          read(inner, kSerialPatternRows)};
}

// A constituent code of a test table: its two polynomials, and whether it is the
// one-output-bit non-systematic counterpart instead of the systematic code itself.
struct CodeCase {
  const char* numerator;
  const char* denominator;
  bool counterpart = false;

  CodeDescription description() const {
    const CodeDescription systematic = describeOrDie(numerator, denominator);
    return counterpart ? nonSystematicCounterpart(systematic) : systematic;
  }
  // A name usable in a test name: "1+D^2" becomes "1_D_2".
  std::string name() const {
    std::string text =
        std::string(numerator) + "_over_" + denominator + (counterpart ? "_counterpart" : "");
    for (char& c : text) {
      if (c == '+' || c == '^') {
        c = '_';
      }
    }
    return text;
  }
};

// Codes that many tests take: the main window's default, its swapped polynomials, a memory-3
// recursive code, a feedforward code, and the default's one-output-bit counterpart (the inner
// code behind the repetition code).
inline const CodeCase kDefaultCase{"1+D+D^2", "1+D^2"};
inline const CodeCase kPrimitiveFeedbackCase{"1+D^2", "1+D+D^2"};
inline const CodeCase kMemory3Case{"1+D+D^3", "1+D^2+D^3"};
inline const CodeCase kFeedforwardCase{"1+D+D^2", "1"};
inline const CodeCase kCounterpartCase{"1+D+D^2", "1+D^2", true};

}  // namespace brevandor::testing
