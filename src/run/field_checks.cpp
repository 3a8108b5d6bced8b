#include "run/field_checks.h"

#include <algorithm>
#include <utility>
#include <vector>

#include "bounds/spectrum_file.h"
#include "code/polynomial.h"
#include "code/polynomial_list.h"
#include "interleavers/interleaver_spec.h"

namespace brevandor {

std::string polynomialListRefusal(std::string_view text, std::size_t maxLength) {
  if (text.size() > maxLength) {
    return tooLongMessage(maxLength);
  }
  const PolynomialList list = parsePolynomialList(text);
  if (list) {
    return {};
  }
  // The parser's message is a log line that starts with blanks; a field shows it without.
  const std::string& message = list.message;
  const std::size_t first = message.find_first_not_of(' ');
  return first == std::string::npos ? message : message.substr(first);
}

std::string puncturePatternRefusal(std::string_view text, std::span<const std::string_view> rows) {
  const auto typed = static_cast<std::size_t>(std::count(text.begin(), text.end(), ',')) + 1;
  if (typed <= rows.size()) {
    return parsePuncturePattern(text, rows).failure;
  }
  const std::vector<std::string> names = patternRowNames(std::min(typed, kMaxPatternRows));
  return parsePuncturePattern(text, rowViews(names)).failure;
}

std::string interleaverRefusal(std::string_view text) {
  const ParsedInterleaver parsed = parseInterleaverSpec(text);
  return parsed ? std::string() : parsed.failure;
}

bool parityRepeatsInput(std::string_view numerator, std::string_view denominator) {
  return parsePolynomial(numerator) == parsePolynomial(denominator);
}

SpectrumInputCheck readSpectrumInput(const std::string& path, std::int32_t codeLength,
                                     std::int32_t infoBits) {
  SpectrumFileCheck read = readSpectrumFile(path, codeLength);
  if (!read.spectrum) {
    return {std::nullopt, std::move(read.message)};
  }
  return {SpectrumInput{path, std::move(*read.spectrum), codeLength, infoBits}, {}};
}

}  // namespace brevandor
