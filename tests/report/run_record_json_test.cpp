#include "report/run_record_json.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <limits>
#include <string>
#include <vector>

#include "logmath/log_domain.h"
#include "report/record_csv.h"
#include "report/scientific_text.h"
#include "run/calculation_run.h"
#include "support/file_capture.h"
#include "support/printed_results.h"
#include "support/recording_target.h"
#include "support/temporary_directory.h"
#include "support/test_codes.h"
#include "turbo/concatenation_type.h"

namespace brevandor {
namespace {

// The readable name of a case of a table: its `name` field.
template <class Case>
std::string caseName(const ::testing::TestParamInfo<Case>& info) {
  return info.param.name;
}

// One real calculation whose record is written, read back and set against its results file.
struct RecordCase {
  const char* name;
  const char* numerator;
  const char* denominator;
  ConcatenationType type;
  std::int32_t frameLength;
  std::uint32_t bounds;          // bits of the BerBound selection
  const char* label;             // the run's name in lists and legends, written out by hand
  std::int32_t maxWeight = 0;    // low-weight mode: the spectrum stops at this weight
  const char* numerator2 = "";   // a second constituent code, as typed
  const char* puncture = "";     // a PCCC puncturing pattern
  bool simulate = false;         // also the "Simulated Error Rates" stage, a few frames a point
  const char* interleaver = "";  // one permutation whose spectrum is searched (with D)
};

struct FinishedRun {
  std::shared_ptr<const RunRecord> record;
  std::string resultsText;
};

FinishedRun runOnce(const RecordCase& c, const testing::TemporaryDirectory& directory) {
  RunInputs inputs;
  inputs.selectedType = c.type;
  inputs.inputFrameLength = c.frameLength;
  inputs.boundSelection = BerBoundSet::fromBits(c.bounds);
  inputs.resultsFileName = (directory / "results.txt").string();
  inputs.code = testing::describeOrDie(c.numerator, c.denominator);
  inputs.maxWeight = c.maxWeight;
  inputs.numerator2 = c.numerator2;
  inputs.puncture = c.puncture;
  inputs.interleaver = c.interleaver;
  inputs.simulation.simulate = c.simulate;
  inputs.simulation.maxFrames = "40";
  inputs.simulation.minFrameErrors = "5";
  CancelFlag cancel{0};
  testing::RecordingTarget target;
  RunContext context;
  context.cancelFlag = &cancel;
  context.noticeTarget = &target;
  const RunResult result = CalculationRun(inputs, context).execute();
  return {result.record, testing::readTextFile(directory / "results.txt")};
}

class RunRecordJsonTest : public ::testing::TestWithParam<RecordCase> {
 protected:
  void SetUp() override {
    run_ = runOnce(GetParam(), directory_);
    ASSERT_NE(run_.record, nullptr);
  }
  const RunRecord& record() const { return *run_.record; }

  testing::TemporaryDirectory directory_{"brevandor-json"};
  FinishedRun run_;
};

TEST_P(RunRecordJsonTest, ReadsBackEqualToTheRun) {
  const RecordReading reading = readRunRecordJson(runRecordJson(record()));
  ASSERT_TRUE(reading) << reading.error;
  EXPECT_EQ(*reading.record, record());
  EXPECT_EQ(runLabel(*reading.record), GetParam().label);
}

TEST_P(RunRecordJsonTest, SpectrumAgreesWithTheResultsFileToThePrintedDigits) {
  const RunRecord read = readRunRecordJson(runRecordJson(record())).record.value();
  const testing::PrintedSpectrum printed = testing::printedSpectrum(run_.resultsText);
  ASSERT_EQ(printed.rows.size(), static_cast<std::size_t>(read.spectrum.maxWeight) + 1);
  std::size_t next = 0;  // the record lists only the weights that hold codewords
  for (const testing::PrintedSpectrumRow& row : printed.rows) {
    double expected = 0.0;
    if (next < read.spectrum.lines.size() && read.spectrum.lines[next].weight == row.weight) {
      expected = std::pow(10.0, read.spectrum.lines[next++].log10Codewords - printed.codewordScale);
    }
    // "%e" keeps seven significant digits: half a unit of the last one.
    const double value = std::strtod(row.codewords.c_str(), nullptr);
    EXPECT_LE(std::abs(value - expected), 0.5e-6 * std::abs(value) * 1.0000001)
        << "d = " << row.weight << ": file " << row.codewords << ", record " << expected;
  }
  EXPECT_EQ(next, read.spectrum.lines.size());
}

TEST_P(RunRecordJsonTest, BoundsEqualTheResultsFileValueForValue) {
  const RunRecord read = readRunRecordJson(runRecordJson(record())).record.value();
  const testing::PrintedBounds printed = testing::printedBounds(run_.resultsText);
  ASSERT_EQ(printed.heads.size(), read.bounds.columns.size());
  ASSERT_EQ(printed.rows.size(), read.bounds.ebn0Db.size());
  for (std::size_t c = 0; c < printed.heads.size(); ++c) {
    EXPECT_EQ(read.bounds.columns[c].name, printed.heads[c]);
    for (std::size_t j = 0; j < printed.rows.size(); ++j) {
      EXPECT_EQ(scientificText(read.bounds.columns[c].values[j]), printed.rows[j][c + 1]);
    }
  }
}

TEST_P(RunRecordJsonTest, SumOfCodewordsIsAtMostAllNonZeroInputWords) {
  const double n = GetParam().frameLength;
  if (GetParam().maxWeight > 0) {
    // The low weights alone hold only a small part of the codewords.
    EXPECT_LT(record().spectrum.log10Sum, n * std::log10(2.0) - 100.0);
    return;
  }
  // Averaging over the uniform interleaver keeps the number of codewords: 2^N − 1 in all.
  EXPECT_NEAR(record().spectrum.log10Sum, n * std::log10(2.0) + std::log10(1.0 - std::pow(2.0, -n)),
              1e-5);
  EXPECT_EQ(record().spectrum.log10InputWords, n * std::log10(2.0));
}

INSTANTIATE_TEST_SUITE_P(
    Runs, RunRecordJsonTest,
    ::testing::Values(
        RecordCase{"ParallelAllBounds", "1+D+D^2", "1+D^2", ConcatenationType::Parallel, 100, 7,
                   "PCCC (1, 1+D+D^2 / 1+D^2), N = 100"},
        RecordCase{"SerialTwoBoundsSimulated", "1+D^2", "1+D+D^2", ConcatenationType::Serial, 20, 5,
                   "SCCC (1, 1+D^2 / 1+D+D^2), N = 20", 0, "", "", true},
        RecordCase{"RepetitionNoBounds", "1+D+D^2", "1+D^2", ConcatenationType::RepetitionSerial,
                   16, 0, "SCC with 1st-RC and 2nd-CC (1, 1+D+D^2 / 1+D^2), N = 16"},
        RecordCase{"FeedforwardOneBound", "1+D+D^2", "1", ConcatenationType::Parallel, 30, 2,
                   "PCCC (1, 1+D+D^2), N = 30"},
        RecordCase{"LowWeightEstimates", "1+D+D^2", "1+D^2", ConcatenationType::Parallel, 2000, 5,
                   "PCCC (1, 1+D+D^2 / 1+D^2), N = 2000, d \u2264 12", 12},
        // The second code typed as "1+D2" is recorded in canonical form.
        RecordCase{"SecondCodePuncturedSimulated", "1+D+D^2", "1+D^2", ConcatenationType::Parallel,
                   20, 1,
                   "PCCC (1, 1+D+D^2 / 1+D^2) + (1, 1+D^2 / 1+D^2), N = 20, puncture 11,10,01", 0,
                   "1+D2", "11,10,01", true},
        RecordCase{"GivenInterleaverSearched", "1+D+D^2", "1+D^2", ConcatenationType::Parallel, 400,
                   1, "PCCC (1, 1+D+D^2 / 1+D^2), N = 400, d \u2264 10", 10, "", "", false,
                   "random:5"}),
    caseName<RecordCase>);

// A frame of N = 4000 spans about 1200 decades of counts, so the results file divides them by
// 10^895 and prints the low weights as 0; the record keeps them. The spectrum of the uncoded
// frame, A_d = C(N, d) and B_d = (d / N) C(N, d), has exact values to hold it to.
TEST(RunRecordJsonLongFrame, KeepsLowWeightCountsThatScalingFlushes) {
  constexpr std::int32_t kN = 4000;
  std::vector<double> codewords = log10BinomialRow(kN);
  RunRecord record;
  record.inputs.frameLength = kN;
  record.spectrum.maxWeight = kN;
  for (std::int32_t d = 1; d <= kN; ++d) {
    const double a = codewords[static_cast<std::size_t>(d)];
    record.spectrum.lines.push_back({d, a, a + std::log10(double(d) / kN)});
  }
  record.spectrum.codewordScale = scaleSpectrum(codewords, kN);
  ASSERT_EQ(record.spectrum.codewordScale, 895.0);  // log10 C(4000, 2000) = 1202.22…
  ASSERT_EQ(codewords[1], 0.0);                     // what the results file holds for d = 1

  const std::string json = runRecordJson(record);
  const RunRecord read = readRunRecordJson(json).record.value();
  ASSERT_EQ(read.spectrum.lines.size(), static_cast<std::size_t>(kN));
  // C(4000, 1) = 4000 and C(4000, 2) = 7 998 000; B_1 = 1, B_2 = 3999.
  EXPECT_NEAR(std::pow(10.0, read.spectrum.lines[0].log10Codewords), 4000.0, 1e-9);
  EXPECT_NEAR(std::pow(10.0, read.spectrum.lines[1].log10Codewords), 7998000.0, 1e-6);
  EXPECT_NEAR(std::pow(10.0, read.spectrum.lines[0].log10Weighted), 1.0, 1e-12);
  EXPECT_NE(json.find(R"({"d": 1, "log10_a": )"), std::string::npos);
  EXPECT_NE(json.find(R"("a": "4.000000000e+03", "b": "1.000000000e+00"})"), std::string::npos);
  EXPECT_NE(json.find(R"("a": "7.998000000e+06", "b": "3.999000000e+03"})"), std::string::npos);
}

// Bounds and the given permutation's estimates below even the extended range (IUB_Exp of
// N = 100 at 30 dB is about 10^-9334) are written as decimal text from their logarithms and
// read back: the value as 0, the logarithm from the text. Both exports write the same text.
TEST(RunRecordJsonLongFrame, BoundsBelowTheExtendedRangeReadBackFromTheirText) {
  RunRecord record;
  record.bounds = {
      {29.5, 30.0},
      {{"IUB_Exp", "Viterbi Bound", {0.25L, 0.0L}, false, {}},
       {"Sphere_Word", "Sphere-Packing Bound (word)", {0.0L, 0.0L}, false, {-24783.0, -27847.0}}}};
  record.bounds.columns[0].log10Beyond = {-std::numeric_limits<double>::infinity(), -9334.0};
  record.givenInterleaver = RecordGivenInterleaver{"random:5", 40, 36, {}, 0, {0.0L, 0.0L}};
  record.givenInterleaver->log10EstimatesBeyond = {-5800.0, -6000.0};

  const std::string json = runRecordJson(record);
  for (const char* text :
       {R"([0.25, "1.000000000e-9334"])", R"(["1.000000000e-24783", "1.000000000e-27847"])",
        R"("ub_q_estimate": ["1.000000000e-5800", "1.000000000e-6000"])"}) {
    EXPECT_NE(json.find(text), std::string::npos) << text << "\n" << json;
  }
  const RecordReading reading = readRunRecordJson(json);
  ASSERT_TRUE(reading.record.has_value()) << reading.error;
  EXPECT_EQ(reading.record->bounds, record.bounds);
  EXPECT_EQ(reading.record->givenInterleaver, record.givenInterleaver);
  EXPECT_NE(boundsCsv(record).find("\n30,1.000000000e-9334,1.000000000e-27847,1.000000000e-6000\n"),
            std::string::npos)
      << boundsCsv(record);
}

// A complete record, small enough to edit by hand in the refusal cases.
std::string smallRecordJson() {
  RunRecord record;
  record.programVersion = "1.2.0";
  record.inputs = {"1+D+D^2", "1+D^2", "pccc", 2, {"q"}, "results.txt", {}};
  record.code = {"Recursive Systematic", 2, 1, 3, 4};
  record.turbo = {"PCCC", 2, {2, 2}, 14, 2.0 / 14.0};
  record.spectrum = {14,
                     0.0,
                     0.0,
                     {{9, std::log10(2.0), 0.0}, {10, 0.0, 0.0}},
                     std::log10(3.0),
                     2 * std::log10(2.0)};
  record.bounds = {{0.0, 0.25}, {{"UB_Q", "Union Bound (Q function)", {0.1, 0.05}}}};
  return runRecordJson(record);
}

std::string replaced(std::string text, const std::string& from, const std::string& to) {
  const std::size_t at = text.find(from);
  return at == std::string::npos ? "<'" + from + "' not in the record>"
                                 : text.replace(at, from.size(), to);
}

struct RefusalCase {
  const char* name;
  std::string text;
  const char* says;  // the part of the message that tells the user what is wrong
};

class RecordRefusalTest : public ::testing::TestWithParam<RefusalCase> {};

TEST_P(RecordRefusalTest, RefusesWithAMessageThatSaysWhy) {
  const RecordReading reading = readRunRecordJson(GetParam().text);
  EXPECT_FALSE(reading.record.has_value());
  EXPECT_NE(reading.error.find(GetParam().says), std::string::npos) << reading.error;
}

INSTANTIATE_TEST_SUITE_P(
    Inputs, RecordRefusalTest,
    ::testing::Values(
        RefusalCase{"Empty", "", "empty"},
        RefusalCase{"ResultsTextFile", "\n Turbo Code Parameters ----\n", "not JSON"},
        RefusalCase{"Truncated", smallRecordJson().substr(0, smallRecordJson().size() / 2),
                    "truncated"},
        RefusalCase{"ForeignJson", R"({"name": "plot", "values": [1, 2]})",
                    "not a Brevandor results record"},
        RefusalCase{"ForeignFormat", replaced(smallRecordJson(), "brevandor-results", "other"),
                    "not a Brevandor results record"},
        RefusalCase{"NewerVersion",
                    replaced(smallRecordJson(), R"("schema_version": 1)", R"("schema_version": 2)"),
                    "newer Brevandor with schema version 2"},
        RefusalCase{"MissingSpectrum", replaced(smallRecordJson(), R"("spectrum")", R"("spectra")"),
                    "field \"spectrum\" is missing"},
        RefusalCase{"TextForNumber",
                    replaced(smallRecordJson(), R"("frame_length": 2)", R"("frame_length": "2")"),
                    "field \"inputs.frame_length\" should be an integer"},
        RefusalCase{"WeightsOutOfOrder", replaced(smallRecordJson(), R"({"d": 10)", R"({"d": 9)"),
                    "field \"spectrum.lines[1].d\" should rise"},
        RefusalCase{"WeightBeyondFrame", replaced(smallRecordJson(), R"({"d": 10)", R"({"d": 15)"),
                    "within 0 … 14"},
        RefusalCase{"ShortBoundColumn", replaced(smallRecordJson(), R"([0.1, 0.05])", R"([0.1])"),
                    "holds 1 values for 2 grid points"},
        RefusalCase{"OverflowingNumber", replaced(smallRecordJson(), "0.05", "1e999"),
                    "number overflow"}),
    caseName<RefusalCase>);

TEST(RunRecordJsonCompatibility, ReadsFieldsItDoesNotKnowAndKeepsFurtherInputsByName) {
  // What a later program of the same schema version may add: inputs beyond today's and new
  // members anywhere.
  std::string text =
      replaced(smallRecordJson(), R"("results_file": "results.txt")",
               R"("results_file": "results.txt", "precision": "double", "max_weight": 20)");
  text = replaced(text, R"("schema_version": 1,)", R"("schema_version": 1, "host": {"cores": 2},)");
  const RecordReading reading = readRunRecordJson(text);
  ASSERT_TRUE(reading) << reading.error;
  const std::vector<std::pair<std::string, std::string>> further{{"precision", "double"},
                                                                 {"max_weight", "20"}};
  EXPECT_EQ(reading.record->inputs.further, further);
  EXPECT_EQ(readRunRecordJson(runRecordJson(*reading.record)).record, reading.record);
}

TEST(RunRecordJsonCompatibility, ReadsTheRecordThatVersionOneWrote) {
  // Written by brevandor-cli --json at N = 10 with all bounds when schema version 1 began;
  // every later program must still read it.
  const RecordReading reading =
      readRunRecordJson(testing::readTestData("records/pccc_n10_v1.json"));
  ASSERT_TRUE(reading) << reading.error;
  EXPECT_EQ(runLabel(*reading.record), "PCCC (1, 1+D+D^2 / 1+D^2), N = 10");
  // The results file of the same run (tests/data/results/pccc_default_n10.txt) prints the
  // free distance 8 with 1.655556e+00 codewords and UB_Q = 5.560762e-01 at 0 dB.
  const SpectrumLine* free = freeDistanceLine(*reading.record);
  ASSERT_NE(free, nullptr);
  EXPECT_EQ(free->weight, 8);
  EXPECT_NEAR(std::pow(10.0, free->log10Codewords), 1.655556, 0.5e-6);
  EXPECT_EQ(reading.record->bounds.columns.size(), 3U);
  EXPECT_EQ(scientificText(reading.record->bounds.columns[0].values[0]), "5.560762e-01");
}

}  // namespace
}  // namespace brevandor
