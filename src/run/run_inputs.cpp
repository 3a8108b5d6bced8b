#include "run/run_inputs.h"

#include <algorithm>

#include "code/polynomial.h"

namespace brevandor {

CodeFromTexts codeFromTexts(std::string_view numeratorText, std::string_view denominatorText) {
  const std::int32_t numerator = parsePolynomial(numeratorText);
  const std::int32_t denominator = parsePolynomial(denominatorText);
  if (denominator <= 0) {
    return {std::nullopt, polynomialMessage(-denominator), CodeField::Denominator};
  }
  if (numerator <= 0) {
    return {std::nullopt, polynomialMessage(-numerator), CodeField::Numerator};
  }
  DescribedCode described = describeCode(numerator, denominator);
  if (!described) {
    return {std::nullopt, std::move(described.failure), CodeField::Code};
  }
  return {described.description, {}, CodeField::None};
}

std::string outOfRangeMessage(std::int64_t low, std::int64_t high) {
  return "Please enter an integer between " + std::to_string(low) + " and " +
         std::to_string(high) + ".";
}

std::string tooLongMessage(std::size_t limit) {
  return "Please enter no more than " + std::to_string(limit) + " characters.";
}

FrameLengthCheck checkFrameLength(std::string_view text) {
  constexpr std::size_t kReadLimit = 31;
  text = text.substr(0, std::min(text.size(), kReadLimit));
  const std::size_t first = text.find_first_not_of(' ');
  if (first == std::string_view::npos) {
    return {std::nullopt, std::string(kNotAPositiveInteger)};
  }
  const std::size_t last = text.find_last_not_of(' ');
  const std::string_view digits = text.substr(first, last - first + 1);
  std::uint64_t value = 0;
  bool tooLarge = false;
  for (const char c : digits) {
    if (c < '0' || c > '9') {
      return {std::nullopt, std::string(kNotAPositiveInteger)};
    }
    value = value * 10 + static_cast<std::uint64_t>(c - '0');
    tooLarge = tooLarge || value > static_cast<std::uint64_t>(kMaxFrameLength);
  }
  if (tooLarge || value < static_cast<std::uint64_t>(kMinFrameLength)) {
    return {std::nullopt, outOfRangeMessage(kMinFrameLength, kMaxFrameLength)};
  }
  return {static_cast<std::int32_t>(value), {}};
}

std::string_view precisionName(TablePrecision precision) {
  return precision == TablePrecision::Double ? "double" : "single";
}

std::optional<TablePrecision> parsePrecision(std::string_view name) {
  for (const TablePrecision precision : {TablePrecision::Single, TablePrecision::Double}) {
    if (name == precisionName(precision)) {
      return precision;
    }
  }
  return std::nullopt;
}

}  // namespace brevandor
