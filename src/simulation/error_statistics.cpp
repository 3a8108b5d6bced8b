#include "simulation/error_statistics.h"

#include <boost/math/special_functions/beta.hpp>

namespace brevandor {

ConfidenceInterval clopperPearson(std::int64_t errors, std::int64_t trials, double level) {
  if (trials <= 0) {
    return {};
  }
  // The bounds are quantiles of beta distributions: the low one of Beta(k, n − k + 1) at
  // α/2, the high one of Beta(k + 1, n − k) at 1 − α/2; the ends are exact at k = 0 and k = n.
  const double tail = (1.0 - level) / 2.0;
  const auto k = static_cast<double>(errors);
  const auto n = static_cast<double>(trials);
  ConfidenceInterval interval;
  interval.low = errors == 0 ? 0.0 : boost::math::ibeta_inv(k, n - k + 1.0, tail);
  interval.high = errors == trials ? 1.0 : boost::math::ibeta_inv(k + 1.0, n - k, 1.0 - tail);
  return interval;
}

PointStatistics statisticsOf(const PointCounts& counts) {
  PointStatistics statistics;
  const std::int64_t bits = counts.frames * counts.bitsPerFrame;
  if (counts.frames > 0) {
    statistics.fer = static_cast<double>(counts.frameErrors) / static_cast<double>(counts.frames);
    statistics.meanIterations =
        static_cast<double>(counts.iterations) / static_cast<double>(counts.frames);
  }
  if (bits > 0) {
    statistics.ber = static_cast<double>(counts.bitErrors) / static_cast<double>(bits);
  }
  statistics.ferInterval = clopperPearson(counts.frameErrors, counts.frames);
  statistics.berInterval = clopperPearson(counts.bitErrors, bits);
  return statistics;
}

}  // namespace brevandor
