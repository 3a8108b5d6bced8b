#pragma once

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <ctime>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "code/code_description.h"
#include "code/polynomial.h"
#include "progress/run_context.h"

namespace brevandor::bench {

// Wall-clock seconds of one call of `work`.
inline double seconds(const std::function<void()>& work) {
  const auto start = std::chrono::steady_clock::now();
  work();
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// The processor time of this process during one call of `work`, in seconds: on a shared
// machine the better measure of single-threaded work, which waits for no other thread.
inline double processorSeconds(const std::function<void()>& work) {
  timespec start{};
  timespec end{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &start);
  work();
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &end);
  return static_cast<double>(end.tv_sec - start.tv_sec) +
         1e-9 * static_cast<double>(end.tv_nsec - start.tv_nsec);
}

// The median of `count` timings of `work` by `clock`.
inline double medianSeconds(int count, const std::function<void()>& work,
                            double (*clock)(const std::function<void()>&) = seconds) {
  std::vector<double> times;
  for (int i = 0; i < count; ++i) {
    times.push_back(clock(work));
  }
  std::sort(times.begin(), times.end());
  return times[times.size() / 2];
}

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

// The main window's default code, "1+D+D^2" over "1+D^2".
inline CodeDescription defaultCode() {
  return describeCode(parsePolynomial("1+D+D^2"), parsePolynomial("1+D^2")).description.value();
}

inline RunContext contextFor(Engine engine, int threads) {
  RunContext context;
  context.engine = engine;
  context.threads = threads;
  return context;
}

}  // namespace brevandor::bench
