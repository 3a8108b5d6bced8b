#pragma once

#include <cctype>
#include <string>
#include <string_view>

namespace brevandor::testing {

// A parameterised case's name made from a text of its own (a polynomial, an expected
// output): letters and digits kept, every other character '_', "Empty" for no text.
inline std::string caseName(std::string_view text) {
  if (text.empty()) {
    return "Empty";
  }
  std::string name(text);
  for (char& c : name) {
    if (std::isalnum(static_cast<unsigned char>(c)) == 0) {
      c = '_';
    }
  }
  return name;
}

}  // namespace brevandor::testing
