#pragma once

#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

namespace brevandor::bench {

// The whole numbers of a comma-separated option value ("512,1000").
inline std::vector<int> numbers(std::string_view text) {
  std::vector<int> values;
  while (!text.empty()) {
    const std::size_t comma = text.find(',');
    values.push_back(std::atoi(std::string(text.substr(0, comma)).c_str()));
    text = comma == std::string_view::npos ? std::string_view{} : text.substr(comma + 1);
  }
  return values;
}

}  // namespace brevandor::bench
