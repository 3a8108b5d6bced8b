#include "simulation/error_statistics.h"

#include <gtest/gtest.h>

#include <cmath>

namespace brevandor {
namespace {

TEST(ClopperPearson, MatchesClosedFormsAndTables) {
  // No error in n trials: [0, 1 − 0.025^(1/n)]; all n wrong: [0.025^(1/n), 1] (closed forms).
  const ConfidenceInterval none = clopperPearson(0, 10);
  EXPECT_EQ(none.low, 0.0);
  EXPECT_NEAR(none.high, 1.0 - std::pow(0.025, 0.1), 1e-12);
  const ConfidenceInterval all = clopperPearson(10, 10);
  EXPECT_NEAR(all.low, std::pow(0.025, 0.1), 1e-12);
  EXPECT_EQ(all.high, 1.0);
  // 5 of 10: the exact binomial interval tabulated as (0.1871, 0.8129).
  const ConfidenceInterval half = clopperPearson(5, 10);
  EXPECT_NEAR(half.low, 0.187086, 1e-6);
  EXPECT_NEAR(half.high, 0.812914, 1e-6);
  const ConfidenceInterval nothing = clopperPearson(0, 0);
  EXPECT_EQ(nothing.low, 0.0);
  EXPECT_EQ(nothing.high, 1.0);
}

TEST(PointStatistics, RatesCountBitsPerFrame) {
  PointCounts counts;
  counts.frames = 200;
  counts.bitsPerFrame = 50;
  counts.bitErrors = 30;
  counts.frameErrors = 4;
  counts.iterations = 1000;
  const PointStatistics statistics = statisticsOf(counts);
  EXPECT_DOUBLE_EQ(statistics.ber, 30.0 / 10000.0);
  EXPECT_DOUBLE_EQ(statistics.fer, 4.0 / 200.0);
  EXPECT_DOUBLE_EQ(statistics.meanIterations, 5.0);
  EXPECT_LT(statistics.berInterval.low, statistics.ber);
  EXPECT_GT(statistics.berInterval.high, statistics.ber);
}

}  // namespace
}  // namespace brevandor
