#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace brevandor {

// The numerators of a systematic code ( 1, g1/h, …, gm/h ) typed as one comma-separated
// list ("1+D+D^3+D^4,1+D^2+D^4"), or the log line that says why the text is none.
struct PolynomialList {
  std::vector<std::int32_t> masks;  // in the order typed, each positive
  std::string message;              // empty when the list was read

  explicit operator bool() const { return message.empty(); }
};

// Reads a list of one to four polynomials separated by commas. A text without a comma reads
// as parsePolynomial does (the same message for the same fault); in a longer list the
// failing item is named by its place, and more than four items are refused.
PolynomialList parsePolynomialList(std::string_view text);

// The canonical texts of the masks joined by commas: {7, 5} → "1+D+D^2,1+D^2".
std::string polynomialListText(std::span<const std::int32_t> masks);

}  // namespace brevandor
