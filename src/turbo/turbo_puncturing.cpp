#include "turbo/turbo_puncturing.h"

namespace brevandor {

std::vector<std::string> parallelPatternRows(std::span<const std::int32_t> parityCounts) {
  std::vector<std::string> rows{"SYS"};
  for (std::size_t c = 0; c < parityCounts.size(); ++c) {
    const std::string encoder = "PAR" + std::to_string(c + 1);
    if (parityCounts[c] == 1) {
      rows.push_back(encoder);
      continue;
    }
    for (std::int32_t i = 1; i <= parityCounts[c]; ++i) {
      rows.push_back(encoder + "." + std::to_string(i));
    }
  }
  return rows;
}

std::vector<std::string> serialPatternRows(std::int32_t parityCount) {
  std::vector<std::string> rows{"SYS"};
  if (parityCount == 1) {
    rows.emplace_back("PAR");
    return rows;
  }
  for (std::int32_t i = 1; i <= parityCount; ++i) {
    rows.push_back("PAR" + std::to_string(i));
  }
  return rows;
}

std::vector<std::string> patternRowNames(std::size_t count) {
  std::vector<std::string> rows;
  for (std::size_t r = 1; r <= count; ++r) {
    rows.push_back("R" + std::to_string(r));
  }
  return rows;
}

std::vector<std::string_view> rowViews(const std::vector<std::string>& names) {
  return {names.begin(), names.end()};
}

}  // namespace brevandor
