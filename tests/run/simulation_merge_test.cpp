#include "run/simulation_merge.h"

#include <gtest/gtest.h>

namespace brevandor {
namespace {

// A record of one window: `frames` frames at 1 and 2 dB with the given errors.
RunRecord windowRecord(std::int64_t frames, std::int64_t bitErrors, std::int64_t frameErrors) {
  RunRecord record;
  record.inputs.resultsFile = "window-" + std::to_string(frames) + ".txt";
  record.simulation = RecordSimulation{"max-log-map", 0.7, 8, false, "random", 9, {}};
  for (const double ebn0Db : {1.0, 2.0}) {
    PointCounts counts;
    counts.ebn0Db = ebn0Db;
    counts.frames = frames;
    counts.bitErrors = bitErrors;
    counts.frameErrors = frameErrors;
    counts.iterations = 8 * frames;
    counts.bitsPerFrame = 100;
    record.simulation->points.push_back(simulatedPointOf(counts));
  }
  return record;
}

TEST(SimulationMerge, AddsCountsAndRecomputesTheStatistics) {
  RunRecord merged = windowRecord(30, 12, 3);
  ASSERT_EQ(mergeSimulatedRecord(merged, windowRecord(50, 7, 2)), "");
  // The union of the windows: 80 frames, 19 bit errors and 5 frame errors per point.
  PointCounts expected;
  expected.ebn0Db = 2.0;
  expected.frames = 80;
  expected.bitErrors = 19;
  expected.frameErrors = 5;
  expected.iterations = 640;
  expected.bitsPerFrame = 100;
  ASSERT_EQ(merged.simulation->points.size(), 2u);
  EXPECT_EQ(merged.simulation->points[1], simulatedPointOf(expected));
}

TEST(SimulationMerge, RefusesAnotherSeedOrARecordWithoutSimulation) {
  RunRecord merged = windowRecord(30, 12, 3);
  RunRecord other = windowRecord(50, 7, 2);
  other.simulation->seed = 10;
  EXPECT_NE(mergeSimulatedRecord(merged, other).find("seeds"), std::string::npos);
  other.simulation.reset();
  EXPECT_NE(mergeSimulatedRecord(merged, other).find("--simulate"), std::string::npos);
  EXPECT_EQ(merged, windowRecord(30, 12, 3));
}

}  // namespace
}  // namespace brevandor
