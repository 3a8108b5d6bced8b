#include "run/run_inputs.h"

#include <algorithm>
#include <string>
#include <utility>

#include "code/name_table.h"
#include "code/polynomial.h"
#include "code/polynomial_list.h"
#include "progress/run_context.h"

namespace brevandor {

CodeFromTexts codeFromTexts(std::string_view numeratorText, std::string_view denominatorText) {
  const PolynomialList numerators = parsePolynomialList(numeratorText);
  const std::int32_t denominator = parsePolynomial(denominatorText);
  if (denominator <= 0) {
    return {std::nullopt, polynomialMessage(-denominator), CodeField::Denominator};
  }
  if (!numerators) {
    return {std::nullopt, numerators.message, CodeField::Numerator};
  }
  DescribedCode described = describeCode(numerators.masks, denominator);
  if (!described) {
    return {std::nullopt, std::move(described.failure), CodeField::Code};
  }
  return {described.description, {}, CodeField::None};
}

std::int32_t constituentCountOf(const RunInputs& inputs) {
  return inputs.selectedType == ConcatenationType::Parallel ? inputs.constituentCount
                                                            : kConstituentCount;
}

std::string outOfRangeMessage(std::int64_t low, std::int64_t high) {
  return "Please enter an integer between " + std::to_string(low) + " and " + std::to_string(high) +
         ".";
}

std::string tooLongMessage(std::size_t limit) {
  return "Please enter no more than " + std::to_string(limit) + " characters.";
}

namespace {

// Decimal digits with blanks around them, read from at most the first `readLimit` characters,
// from `low` to `high`.
FrameLengthCheck checkPositiveInteger(std::string_view text, std::int32_t low, std::int32_t high,
                                      std::size_t readLimit) {
  text = text.substr(0, std::min(text.size(), readLimit));
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
    tooLarge = tooLarge || value > static_cast<std::uint64_t>(high);
  }
  if (tooLarge || value < static_cast<std::uint64_t>(low)) {
    return {std::nullopt, outOfRangeMessage(low, high)};
  }
  return {static_cast<std::int32_t>(value), {}};
}

}  // namespace

FrameLengthCheck checkFrameLength(std::string_view text) {
  return checkFrameLength(text, 0);
}

std::int32_t maxFrameLengthFor(std::int32_t maxWeight) {
  return maxWeight > 0 ? kMaxLowWeightFrameLength : kMaxFrameLength;
}

FrameLengthCheck checkFrameLength(std::string_view text, std::int32_t maxWeight,
                                  std::size_t readLimit) {
  return checkPositiveInteger(text, kMinFrameLength, maxFrameLengthFor(maxWeight), readLimit);
}

FrameLengthCheck checkConstituentCount(std::string_view text, std::size_t readLimit) {
  return checkPositiveInteger(text, kMinConstituents, kMaxConstituents, readLimit);
}

FrameLengthCheck checkMaxWeight(std::string_view text, std::size_t readLimit) {
  return checkPositiveInteger(text, 1, kMaxLowWeightLimit, readLimit);
}

TablePrecision defaultPrecision(const RunInputs& inputs) {
  return inputs.maxWeight > 0 || inputs.inputFrameLength > kLongestSingleDefaultFrame
             ? TablePrecision::Double
             : TablePrecision::Single;
}

TablePrecision tablePrecision(const RunInputs& inputs) {
  return inputs.precision.value_or(defaultPrecision(inputs));
}

std::string_view precisionName(TablePrecision precision) {
  return precision == TablePrecision::Double ? "double" : "single";
}

ThreadCountCheck checkThreadCount(std::string_view text) {
  const std::string allowed = "use 0 for all cores, or 1 to " + std::to_string(maxWorkerThreads());
  const bool digits = !text.empty() && text.find_first_not_of("0123456789") == std::string::npos;
  if (!digits) {
    return {std::nullopt,
            "'" + std::string(text) + "' is not a number of threads (" + allowed + ")"};
  }
  const std::size_t first = std::min(text.find_first_not_of('0'), text.size());
  const std::string_view significant = text.substr(first);
  const std::string limit = std::to_string(maxWorkerThreads());
  if (significant.size() > limit.size() ||
      (significant.size() == limit.size() && significant > limit)) {
    return {std::nullopt, std::string(text) +
                              " is more threads than this machine can use (at most " + limit +
                              ": four per hardware thread, and never more than 1024)"};
  }
  return {std::stoi(std::string(significant.empty() ? "0" : significant)), {}};
}

namespace {

// The command line's name of each concatenation type.
constexpr std::pair<ConcatenationType, std::string_view> kTypeOptionNames[] = {
    {ConcatenationType::Parallel, "pccc"},
    {ConcatenationType::Serial, "sccc"},
    {ConcatenationType::RepetitionSerial, "rep"}};

}  // namespace

std::string_view typeOptionName(ConcatenationType type) {
  return nameIn(kTypeOptionNames, type, "rep");
}

std::optional<ConcatenationType> parseTypeName(std::string_view name) {
  return valueNamed(kTypeOptionNames, name);
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
