#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "bounds/ber_bounds.h"
#include "run/calculation_run.h"
#include "run/low_weight_stages.h"
#include "run/run_memory.h"
#include "support/recording_target.h"
#include "support/temporary_directory.h"
#include "support/test_codes.h"
#include "turbo/concatenation_type.h"

namespace brevandor {
namespace {

namespace fs = std::filesystem;
const auto readFile = testing::readTextFile;

class LowWeightRunTest : public ::testing::Test {
 protected:
  RunInputs inputs(ConcatenationType type, std::int32_t frameLength, std::int32_t maxWeight,
                   BerBoundSet bounds, const char* file) const {
    RunInputs in;
    in.selectedType = type;
    in.inputFrameLength = frameLength;
    in.maxWeight = maxWeight;
    in.boundSelection = bounds;
    in.resultsFileName = (directory_ / file).string();
    in.code = testing::defaultCode();
    return in;
  }
  RunResult run(const RunInputs& in) {
    RunContext context;
    context.cancelFlag = &cancel_;
    context.noticeTarget = &target_;
    return CalculationRun(in, context).execute();
  }

  testing::TemporaryDirectory temporary_{"brevandor-low-weight"};
  const fs::path& directory_ = temporary_.path();
  CancelFlag cancel_{0};
  testing::RecordingTarget target_;
};

// The text of the file between two markers (the first marker included).
std::string between(const std::string& text, const std::string& from, const std::string& to) {
  const std::size_t begin = text.find(from);
  return text.substr(begin, text.find(to, begin) - begin);
}

// The spectrum rows of a results file: each line that starts with a weight and a tab.
std::vector<std::string> spectrumRows(const std::string& file) {
  std::vector<std::string> rows;
  std::istringstream lines(between(file, "Distance Spectrum", "End of Distance"));
  for (std::string line; std::getline(lines, line);) {
    if (line.size() > 6 && line[5] == '\t') {
      rows.push_back(line);
    }
  }
  return rows;
}

TEST_F(LowWeightRunTest, FileHoldsTheWholeRunsRowsUpToTheLimitAndNoSumCheck) {
  for (const ConcatenationType type : {ConcatenationType::Parallel, ConcatenationType::Serial,
                                       ConcatenationType::RepetitionSerial}) {
    const RunInputs whole = inputs(type, 40, 0, {}, "whole.txt");
    // In the whole run's precision (the low-weight mode defaults to double).
    RunInputs low = inputs(type, 40, 12, {}, "low.txt");
    low.precision = TablePrecision::Single;
    ASSERT_EQ(run(whole).outcome, RunOutcome::Finished);
    ASSERT_EQ(run(low).maxWeight, 12);
    const std::string wholeFile = readFile(whole.resultsFileName);
    const std::string lowFile = readFile(low.resultsFileName);
    // The parameters are those of the code, whatever part of its spectrum is computed.
    const std::string end = "End of Turbo Code Information";
    EXPECT_EQ(between(lowFile, "\n Turbo", end), between(wholeFile, "\n Turbo", end));
    // Rows d = 0 … 12 as the whole run prints them, weights normalised by the same length.
    const std::vector<std::string> wholeRows = spectrumRows(wholeFile);
    const std::vector<std::string> lowRows = spectrumRows(lowFile);
    ASSERT_EQ(lowRows.size(), 13u) << "type " << concatenationTypeName(type);
    EXPECT_EQ(lowRows, std::vector<std::string>(wholeRows.begin(), wholeRows.begin() + 13));
    EXPECT_NE(lowFile.find("\n *NOTE : Truncated at d = 12 : low-weight terms only (the code has "
                           "weights up to "),
              std::string::npos);
    EXPECT_EQ(lowFile.find("Sum Check"), std::string::npos);
    EXPECT_NE(wholeFile.find("Sum Check"), std::string::npos);
  }
}

// The bound section of a low-weight run: its heading says the sums are estimates, and a row
// is marked exactly where the terms of the last four weights add more than 1 % to the sum.
// Expected marks: worked out here from the printed weighted spectrum, B_d · exp(−d R γ).
TEST_F(LowWeightRunTest, EstimatesMarkTheRowsWhereTheLastWeightsStillCount) {
  const RunInputs in =
      inputs(ConcatenationType::Parallel, 1000, 20, {BerBound::UnionExp}, "estimates.txt");
  ASSERT_EQ(run(in).outcome, RunOutcome::Finished);
  const std::string file = readFile(in.resultsFileName);
  EXPECT_NE(file.find("\n BER Bounds -----------------------------------------\n"
                      "\n   *NOTE : Sums over the low-weight terms d <= 20 only (the code has "
                      "weights up to 3008):\n           estimates of the error floor, not upper "
                      "bounds."),
            std::string::npos);
  std::vector<double> weighted;
  for (const std::string& row : spectrumRows(file)) {
    weighted.push_back(std::stod(row.substr(row.rfind('\t') + 1)));
  }
  ASSERT_EQ(weighted.size(), 21u);
  const double rate = 1000.0 / 3008.0;
  std::istringstream rows(between(file, "SNR[dB]", "computed with"));
  std::string line;
  std::getline(rows, line);  // the column heads
  std::int32_t marked = 0;
  for (std::int32_t j = 0; j <= 20; ++j) {
    ASSERT_TRUE(std::getline(rows, line));
    const double snr = std::pow(10.0, 0.025 * j);
    double all = 0.0;
    double lastFour = 0.0;
    for (std::int32_t d = 0; d <= 20; ++d) {
      const double term = weighted[static_cast<std::size_t>(d)] * std::exp(-d * rate * snr);
      all += term;
      lastFour += d >= 17 ? term : 0.0;
    }
    EXPECT_NEAR(std::stod(line.substr(line.find('\t') + 1)), all, all * 1e-5) << line;
    const bool unsettled = line.find("unsettled") != std::string::npos;
    EXPECT_EQ(unsettled, lastFour > 0.01 * all) << line;
    marked += unsettled ? 1 : 0;
  }
  EXPECT_GT(marked, 0);   // low signal-to-noise ratios: the heavier terms still count
  EXPECT_LT(marked, 21);  // high ones: the lightest weights decide
}

TEST_F(LowWeightRunTest, CancelDuringTheCwefKeepsTheFirstSectionOnly) {
  target_.setHook([this](const RunNotice& notice) {
    if (notice.kind == NoticeKind::StatusLine && notice.text != "--- Wait ---") {
      cancel_ = 1;
    }
  });
  const RunInputs in =
      inputs(ConcatenationType::Serial, 200000, 20, kAllBerBounds, "cancelled.txt");
  EXPECT_EQ(run(in).outcome, RunOutcome::Cancelled);
  const std::vector<std::string> log = target_.logLines();
  EXPECT_EQ(log.back(), "\n -- Calculation Canceled \n");
  EXPECT_EQ(log[log.size() - 2], " CWEF 1 Calculation .. ");
  const std::string file = readFile(in.resultsFileName);
  EXPECT_NE(file.find("End of Turbo Code Information"), std::string::npos);
  EXPECT_EQ(file.find("Distance Spectrum"), std::string::npos);
}

TEST_F(LowWeightRunTest, OversizeRequestIsRefusedBeforeTheFileIsWritten) {
  // Every input weight of 3 million inner bits for weights up to a million: terabytes.
  const RunInputs in =
      inputs(ConcatenationType::RepetitionSerial, 1000000, 1000000, kAllBerBounds, "refused.txt");
  const RunResult result = run(in);
  EXPECT_EQ(result.outcome, RunOutcome::Failed);
  EXPECT_EQ(result.failure.rfind("Not enough memory: a frame of N = 1000000 needs ", 0), 0u)
      << result.failure;
  EXPECT_FALSE(fs::exists(in.resultsFileName));
}

// The objects of one configuration, nothing allocated: what the plan is made from.
// The repetition type's code is the one-output-bit counterpart, as the run prepares it.
struct Planned {
  ConvCode code;
  WeightEnumerator enumerators[2];
  TurboCode turbo;

  Planned(ConcatenationType type, std::int32_t frameLength)
      : code(type == ConcatenationType::RepetitionSerial
                 ? nonSystematicCounterpart(testing::defaultCode())
                 : testing::defaultCode()),
        turbo(type, 2) {
    turbo.attachConstituent(0, code, enumerators[0]);
    turbo.attachConstituent(1, code, enumerators[1]);
    turbo.setFrameLength(frameLength, 3);
  }
  RunMemoryPlan plan(std::int32_t maxWeight) const {
    return planLowWeightMemory(turbo, lowWeightLimit(turbo, maxWeight));
  }
};

TEST(LowWeightMemoryPlan, LongFramesNeedLittleMoreThanTheirBinomialRows) {
  for (const ConcatenationType type : {ConcatenationType::Parallel, ConcatenationType::Serial}) {
    const RunMemoryPlan plan = Planned(type, 1000000).plan(20);
    // Cut tables of 21 × 21 cells; the binomial logarithms of each frame (24 bytes a bit).
    EXPECT_LT(plan.tables, 20000u);
    EXPECT_LT(plan.peak(), 200000000u);
  }
}

TEST(LowWeightMemoryPlan, RepetitionTypeGrowsWithTheInnerFrame) {
  // The inner code keeps every input weight: two layers of 4 states × 21 rows × 3N cells.
  const RunMemoryPlan plan = Planned(ConcatenationType::RepetitionSerial, 10000).plan(20);
  const std::uint64_t layers = 2ull * 4 * 21 * 30001 * sizeof(float);
  EXPECT_GE(plan.work, layers);
  EXPECT_LT(plan.work, layers + layers / 10);
}

}  // namespace
}  // namespace brevandor
