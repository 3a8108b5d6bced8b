#pragma once

#include <cmath>
#include <cstdlib>
#include <regex>
#include <string>
#include <vector>

namespace brevandor::testing {

// A results text split into its words and its decimal numbers: every number with a point
// ("%f", "%e") is replaced by "#" in the skeleton and kept aside as a value.
struct NumericText {
  std::string skeleton;
  std::vector<double> numbers;
};

inline NumericText splitNumbers(const std::string& text) {
  static const std::regex number(R"([-+]?[0-9]+\.[0-9]+(e[-+][0-9]+)?|[-+]?inf|nan)");
  NumericText split;
  std::size_t position = 0;
  for (auto match = std::sregex_iterator(text.begin(), text.end(), number);
       match != std::sregex_iterator(); ++match) {
    split.skeleton.append(text, position, static_cast<std::size_t>(match->position()) - position);
    split.skeleton += '#';
    split.numbers.push_back(std::strtod(match->str().c_str(), nullptr));
    position = static_cast<std::size_t>(match->position() + match->length());
  }
  split.skeleton.append(text, position);
  return split;
}

// Whether two results texts agree exactly in their words and layout and within a relative
// tolerance in every decimal number. `why` says where they first differ.
inline bool sameResults(const std::string& expected, const std::string& actual, double tolerance,
                        std::string& why) {
  const NumericText a = splitNumbers(expected);
  const NumericText b = splitNumbers(actual);
  if (a.skeleton != b.skeleton) {
    std::size_t at = 0;
    while (at < a.skeleton.size() && at < b.skeleton.size() && a.skeleton[at] == b.skeleton[at]) {
      ++at;
    }
    why = "text differs near: \"" + b.skeleton.substr(at > 40 ? at - 40 : 0, 80) + "\"";
    return false;
  }
  for (std::size_t i = 0; i < a.numbers.size(); ++i) {
    const double scale = std::max(std::abs(a.numbers[i]), std::abs(b.numbers[i]));
    if (std::abs(a.numbers[i] - b.numbers[i]) > tolerance * scale) {
      why = "number " + std::to_string(i) + ": expected " + std::to_string(a.numbers[i]) +
            ", got " + std::to_string(b.numbers[i]);
      return false;
    }
  }
  return true;
}

}  // namespace brevandor::testing
