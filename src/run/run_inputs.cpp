#include "run/run_inputs.h"

#include "code/polynomial.h"

namespace brevandor {

CodeFromTexts codeFromTexts(std::string_view numeratorText, std::string_view denominatorText) {
  const std::int32_t numerator = parsePolynomial(numeratorText);
  const std::int32_t denominator = parsePolynomial(denominatorText);
  if (denominator <= 0) {
    return {std::nullopt, polynomialMessage(-denominator)};
  }
  if (numerator <= 0) {
    return {std::nullopt, polynomialMessage(-numerator)};
  }
  DescribedCode described = describeCode(numerator, denominator);
  if (!described) {
    return {std::nullopt, std::move(described.failure)};
  }
  return {described.description, {}};
}

}  // namespace brevandor
