#pragma once

#include <cstdint>

namespace brevandor {

// A two-sided confidence interval of a probability.
struct ConfidenceInterval {
  double low = 0.0;
  double high = 1.0;
};

// The exact (Clopper–Pearson) interval of a binomial probability after `errors` in
// `trials`, at confidence `level`: it covers the true value at least that often. No trials:
// [0, 1].
ConfidenceInterval clopperPearson(std::int64_t errors, std::int64_t trials, double level = 0.95);

// The counts of one simulated Eb/N0 point; they add up over frame windows.
struct PointCounts {
  double ebn0Db = 0.0;
  std::int64_t frames = 0;
  std::int64_t bitErrors = 0;
  std::int64_t frameErrors = 0;
  std::int64_t iterations = 0;  // summed over the frames
  std::int64_t bitsPerFrame = 0;
  // Whether the point ended by its own rule rather than by a cancel.
  bool complete = true;
};

// What the counts of one point say: error rates with their 95 % intervals.
struct PointStatistics {
  double ber = 0.0;
  double fer = 0.0;
  ConfidenceInterval berInterval;
  ConfidenceInterval ferInterval;
  double meanIterations = 0.0;
};

// The rates and intervals of one point's counts.
PointStatistics statisticsOf(const PointCounts& counts);

}  // namespace brevandor
