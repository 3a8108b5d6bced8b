// Arbitrary text into the polynomial parser and the code built from two polynomials: no crash,
// no undefined behaviour, and every result within what the parser promises.

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "code/polynomial.h"
#include "run/run_inputs.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace brevandor;
  const std::string_view text(reinterpret_cast<const char*>(data), size);

  // A coefficient mask of D^0 … D^9, 0 for no term, or the negated error flags.
  const std::int32_t parsed = parsePolynomial(text);
  if (parsed < -(DuplicateTerm | IllegalGrammar | ExponentTooLarge) || parsed > 1023) {
    __builtin_trap();
  }
  if (parsed <= 0 && polynomialMessage(-parsed).empty()) {
    __builtin_trap();
  }

  // The first half as the numerator, the rest as the denominator: a code or its reason.
  const CodeFromTexts code = codeFromTexts(text.substr(0, size / 2), text.substr(size / 2));
  if (!code && code.message.empty()) {
    __builtin_trap();
  }
  return 0;
}
