#include "run/run_estimate.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "bounds/further_bounds.h"
#include "run/calculation_run.h"
#include "support/recording_target.h"
#include "support/temporary_directory.h"
#include "support/test_codes.h"
#include "turbo/concatenation_type.h"

namespace brevandor {
namespace {

RunInputs inputsFor(ConcatenationType type, std::int32_t frameLength,
                    BerBoundSet bounds = kAllBerBounds) {
  RunInputs inputs;
  inputs.selectedType = type;
  inputs.inputFrameLength = frameLength;
  inputs.boundSelection = bounds;
  inputs.code = testing::defaultCode();
  return inputs;
}

// Two threads on two cores, as on the project machine where the rates were measured,
// whatever machine runs the test.
RunContext twoThreads() {
  RunContext context;
  context.threads = 2;
  context.cores = 2;
  return context;
}

// Whole runs of brevandor-cli timed on the project machine (README, "Speed": the default
// code, all three bounds, release build, both cores, nothing else running).
struct MeasuredRun {
  const char* name;
  ConcatenationType type;
  std::int32_t frameLength;
  double seconds;
};

class RunEstimateAgainstMeasuredRuns : public ::testing::TestWithParam<MeasuredRun> {};

TEST_P(RunEstimateAgainstMeasuredRuns, WithinHalfAgainEitherWay) {
  const MeasuredRun& run = GetParam();
  RunInputs inputs = inputsFor(run.type, run.frameLength);
  inputs.precision = TablePrecision::Single;  // as the runs were measured
  const double estimate = estimateRun(inputs, twoThreads()).seconds();
  EXPECT_GT(estimate, run.seconds / 1.5);
  EXPECT_LT(estimate, run.seconds * 1.5);
}

INSTANTIATE_TEST_SUITE_P(
    ProjectMachine, RunEstimateAgainstMeasuredRuns,
    ::testing::Values(MeasuredRun{"pccc1000", ConcatenationType::Parallel, 1000, 0.63},
                      MeasuredRun{"pccc4000", ConcatenationType::Parallel, 4000, 32.2},
                      MeasuredRun{"pccc10000", ConcatenationType::Parallel, 10000, 372.0},
                      MeasuredRun{"sccc1000", ConcatenationType::Serial, 1000, 3.5},
                      MeasuredRun{"sccc2000", ConcatenationType::Serial, 2000, 30.3}),
    [](const auto& tested) { return std::string(tested.param.name); });

TEST(RunEstimate, FewerThreadsAndTheReferenceEngineTakeLonger) {
  const RunInputs inputs = inputsFor(ConcatenationType::Parallel, 2000);
  const double two = estimateRun(inputs, twoThreads()).seconds();
  RunContext one = twoThreads();
  one.threads = 1;
  EXPECT_NEAR(estimateRun(inputs, one).seconds() / two, 1.8, 1e-9);
  RunContext reference = twoThreads();
  reference.engine = Engine::Reference;
  EXPECT_NEAR(estimateRun(inputs, reference).seconds() / two, 100.0, 1e-9);
}

TEST(RunEstimate, SlownessScalesEveryStageAndIsMeasuredBack) {
  const RunInputs inputs = inputsFor(ConcatenationType::Serial, 1500);
  const RunEstimate base = estimateRun(inputs, twoThreads());
  const RunEstimate slow = estimateRun(inputs, twoThreads(), 2.5);
  ASSERT_EQ(base.stages.size(), slow.stages.size());
  for (std::size_t s = 0; s < base.stages.size(); ++s) {
    EXPECT_DOUBLE_EQ(slow.stages[s].seconds, 2.5 * base.stages[s].seconds);
  }
  EXPECT_DOUBLE_EQ(measuredSlowness(base.seconds(), slow.seconds()), 2.5);
  // Too short a run to time says nothing.
  EXPECT_EQ(measuredSlowness(base.seconds(), 0.5), 0.0);
}

// Double-precision tables: the plan counts eight-byte cells (the tables and the layers hold
// all but a few kilobytes of the peak) and the CWEF recursion takes longer; the spectrum's
// pace is the same.
TEST(RunEstimate, DoubleTablesDoubleTheMemoryAndSlowTheCwef) {
  RunInputs inputs = inputsFor(ConcatenationType::Parallel, 2000);
  inputs.precision = TablePrecision::Single;  // N = 2000 defaults to double
  const RunEstimate single = estimateRun(inputs, twoThreads());
  inputs.precision = TablePrecision::Double;
  const RunEstimate wide = estimateRun(inputs, twoThreads());
  EXPECT_NEAR(static_cast<double>(wide.peakBytes) / static_cast<double>(single.peakBytes), 2.0,
              0.05);
  ASSERT_EQ(wide.stages.size(), single.stages.size());
  EXPECT_GT(wide.stages[0].seconds, 2.0 * single.stages[0].seconds);   // CWEF
  EXPECT_DOUBLE_EQ(wide.stages[1].seconds, single.stages[1].seconds);  // TWEF
}

// The simulation's time: a window of 1000 frames counts 1000 frames at every point; without
// it, a point counts its frame errors over the sphere-packing bound's word error rate where
// that is below its frame cap: at −3 dB (far below the Shannon limit of rate 1/3, the bound
// about 1) its 100 frame errors take about 100 frames, at 5 dB (the bound below 1e-100) the
// cap of 1000 frames counts. A time limit cuts each point.
TEST(RunEstimate, SimulationCountsFramesToItsErrorsAtTheSpherePackingBound) {
  RunInputs inputs = inputsFor(ConcatenationType::Parallel, 1000);
  inputs.simulation.simulate = true;
  inputs.simulation.maxFrames = "1000";
  inputs.simulation.minFrameErrors = "100";
  inputs.ebn0Grid = EbN0Grid{-3.0, 8.0, 5.0};
  inputs.simulation.framesFrom = "0";
  inputs.simulation.framesTo = "1000";
  const RunEstimate window = estimateRun(inputs, twoThreads());
  ASSERT_EQ(window.stages.back().name, "Simulation");
  const double thousandFrames = window.stages.back().seconds / 2;
  EXPECT_GT(window.peakBytes,
            estimateRun(inputsFor(ConcatenationType::Parallel, 1000), twoThreads()).peakBytes);
  inputs.simulation.framesFrom.clear();
  inputs.simulation.framesTo.clear();
  EXPECT_NEAR(estimateRun(inputs, twoThreads()).stages.back().seconds / thousandFrames, 1.1, 0.001);
  inputs.simulation.maxSeconds = "0.1";
  inputs.ebn0Grid = EbN0Grid{5.0, 1.0, 6.0};
  EXPECT_DOUBLE_EQ(estimateRun(inputs, twoThreads()).stages.back().seconds,
                   std::min(0.2, 2 * thousandFrames));
}

// The stages the estimate plans are the stages the run reports: one Progress count for the
// whole run, and the run's fraction climbs to 1.
struct StageCase {
  const char* name;
  ConcatenationType type;
  std::uint32_t bounds;  // bits of the BerBound selection
  std::vector<std::string> stages;
  std::int32_t maxWeight = 0;
  std::string numerator2{};  // a second constituent code's numerator
  FurtherBoundSet furtherBounds{};
  bool simulate = false;  // a few frames of each of three points
};

class RunStages : public ::testing::TestWithParam<StageCase> {};

TEST_P(RunStages, EstimateAndRunAgree) {
  const StageCase& stageCase = GetParam();
  const testing::TemporaryDirectory directory;
  RunInputs inputs = inputsFor(stageCase.type, 24, BerBoundSet::fromBits(stageCase.bounds));
  inputs.maxWeight = stageCase.maxWeight;
  inputs.numerator2 = stageCase.numerator2;
  inputs.furtherBounds = stageCase.furtherBounds;
  inputs.simulation.simulate = stageCase.simulate;
  inputs.simulation.maxFrames = "16";
  inputs.ebn0Grid = EbN0Grid{0.0, 1.0, 2.0};
  inputs.resultsFileName = (directory / "results.txt").string();
  testing::RecordingTarget target;
  RunContext context;
  context.noticeTarget = &target;

  std::vector<std::string> planned;
  for (const StageEstimate& stage : estimateRun(inputs, context).stages) {
    planned.push_back(stage.name);
  }
  EXPECT_EQ(planned, stageCase.stages);

  ASSERT_EQ(CalculationRun(inputs, context).execute().outcome, RunOutcome::Finished);
  double fraction = 0.0;
  std::int32_t stage = 0;
  for (const RunNotice& notice : target.notices()) {
    if (notice.kind != NoticeKind::Progress) {
      continue;
    }
    EXPECT_EQ(notice.progress.stageCount, static_cast<std::int32_t>(stageCase.stages.size()));
    EXPECT_GE(notice.progress.stage, stage);
    EXPECT_GE(notice.progress.runFraction, fraction);
    stage = notice.progress.stage;
    fraction = notice.progress.runFraction;
  }
  EXPECT_EQ(stage, static_cast<std::int32_t>(stageCase.stages.size()));
  EXPECT_DOUBLE_EQ(fraction, 1.0);
}

INSTANTIATE_TEST_SUITE_P(
    Types, RunStages,
    ::testing::Values(
        StageCase{"pccc", ConcatenationType::Parallel, 1, {"CWEF", "TWEF", "BER"}},
        StageCase{"pcccWithoutBounds", ConcatenationType::Parallel, 0, {"CWEF", "TWEF"}},
        StageCase{"sccc", ConcatenationType::Serial, 7, {"CWEF 1", "CWEF 2", "TWEF", "BER"}},
        StageCase{"repetition", ConcatenationType::RepetitionSerial, 2, {"CWEF 2", "TWEF", "BER"}},
        StageCase{"pcccLowWeight", ConcatenationType::Parallel, 1, {"CWEF", "TWEF", "BER"}, 8},
        StageCase{"scccLowWeight", ConcatenationType::Serial, 0, {"CWEF 1", "CWEF 2", "TWEF"}, 8},
        StageCase{"pcccOfTwoCodes",
                  ConcatenationType::Parallel,
                  1,
                  {"CWEF 1", "CWEF 2", "TWEF", "BER"},
                  0,
                  "1+D^2"},
        StageCase{"pcccFurtherBounds",
                  ConcatenationType::Parallel,
                  1,
                  {"CWEF", "TWEF", "BER", "Further"},
                  0,
                  "",
                  {FurtherBound::TangentialSphereBit, FurtherBound::SpherePackingWord}},
        StageCase{"scccOnlyFurtherBounds",
                  ConcatenationType::Serial,
                  0,
                  {"CWEF 1", "CWEF 2", "TWEF", "Further"},
                  0,
                  "",
                  {FurtherBound::SimpleWord}},
        StageCase{"pcccSimulated",
                  ConcatenationType::Parallel,
                  1,
                  {"CWEF", "TWEF", "BER", "Simulation"},
                  0,
                  "",
                  {},
                  true}),
    [](const auto& tested) { return std::string(tested.param.name); });

}  // namespace
}  // namespace brevandor
