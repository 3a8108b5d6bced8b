#pragma once

#include <algorithm>
#include <chrono>
#include <functional>
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

// The median of `count` timings of `work`.
inline double medianSeconds(int count, const std::function<void()>& work) {
  std::vector<double> times;
  for (int i = 0; i < count; ++i) {
    times.push_back(seconds(work));
  }
  std::sort(times.begin(), times.end());
  return times[times.size() / 2];
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
