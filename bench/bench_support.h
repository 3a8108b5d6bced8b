#pragma once

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <functional>
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

// The wall time of one run of `work`, in seconds.
inline double seconds(const std::function<void()>& work) {
  const auto start = std::chrono::steady_clock::now();
  work();
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// The median of `count` timings of `work`.
inline double medianSeconds(int count, const std::function<void()>& work) {
  std::vector<double> times;
  for (int i = 0; i < count; ++i) {
    times.push_back(seconds(work));
  }
  std::sort(times.begin(), times.end());
  return times[times.size() / 2];
}

}  // namespace brevandor::bench
