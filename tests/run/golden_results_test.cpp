// Whole results files of small frames against files generated once and checked by hand.
// Set BREVANDOR_WRITE_GOLDEN=1 to write the files anew instead of comparing.

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "run/calculation_run.h"
#include "support/numeric_text.h"
#include "support/temporary_directory.h"
#include "support/test_codes.h"
#include "turbo/concatenation_type.h"

namespace brevandor {
namespace {

namespace fs = std::filesystem;

struct GoldenCase {
  const char* label;  // the test's name: what the case holds
  const char* name;   // file under tests/data/results
  const char* numerator;
  const char* denominator;
  ConcatenationType type;
  std::int32_t frameLength;
  BerBoundSet bounds;
  // Beyond the main window: the second code's polynomials and the patterns.
  const char* numerator2 = "";
  const char* denominator2 = "";
  const char* puncture = "";
  const char* punctureOuter = "";
  const char* punctureInner = "";
};

const auto readText = testing::readTextFile;
constexpr ConcatenationType kParallel = ConcatenationType::Parallel;
constexpr ConcatenationType kSerial = ConcatenationType::Serial;
constexpr ConcatenationType kRepetition = ConcatenationType::RepetitionSerial;

class GoldenResultsTest : public ::testing::TestWithParam<GoldenCase> {};

TEST_P(GoldenResultsTest, BothEnginesWriteTheCheckedFile) {
  const GoldenCase& golden = GetParam();
  const fs::path expectedPath = fs::path(BREVANDOR_TEST_DATA_DIR) / "results" / golden.name;
  const testing::TemporaryDirectory directory("brevandor-golden");
  const fs::path output = directory / golden.name;
  for (const Engine engine : {Engine::Reference, Engine::Fast}) {
    RunInputs inputs;
    inputs.code = testing::describeOrDie(golden.numerator, golden.denominator);
    inputs.selectedType = golden.type;
    inputs.inputFrameLength = golden.frameLength;
    inputs.boundSelection = golden.bounds;
    inputs.resultsFileName = output.string();
    inputs.numerator2 = golden.numerator2;
    inputs.denominator2 = golden.denominator2;
    inputs.puncture = golden.puncture;
    inputs.punctureOuter = golden.punctureOuter;
    inputs.punctureInner = golden.punctureInner;
    RunContext context;
    context.engine = engine;
    ASSERT_EQ(CalculationRun(inputs, context).execute().outcome, RunOutcome::Finished);
    const std::string actual = readText(output);
    if (std::getenv("BREVANDOR_WRITE_GOLDEN") != nullptr && engine == Engine::Reference) {
      std::ofstream(expectedPath, std::ios::binary) << actual;
      continue;
    }
    std::string why;
    EXPECT_TRUE(testing::sameResults(readText(expectedPath), actual, 2e-6, why))
        << golden.name << (engine == Engine::Fast ? " (fast)" : " (reference)") << ": " << why;
  }
}

INSTANTIATE_TEST_SUITE_P(
    SmallFrames, GoldenResultsTest,
    ::testing::Values(GoldenCase{"PcccDefaultN10", "pccc_default_n10.txt", "1+D+D^2", "1+D^2",
                                 kParallel, 10, kAllBerBounds},
                      GoldenCase{"ScccDefaultN10", "sccc_default_n10.txt", "1+D+D^2", "1+D^2",
                                 kSerial, 10, kAllBerBounds},
                      GoldenCase{"RepDefaultN10", "rep_default_n10.txt", "1+D+D^2", "1+D^2",
                                 kRepetition, 10, kAllBerBounds},
                      GoldenCase{"PcccFeedforwardN10", "pccc_feedforward_n10.txt", "1+D+D^2", "1",
                                 kParallel, 10, kAllBerBounds},
                      GoldenCase{"ScccMemory3N12UnionQViterbi",
                                 "sccc_memory3_n12_union_q_viterbi.txt",
                                 "1+D+D^3",
                                 "1+D^2+D^3",
                                 kSerial,
                                 12,
                                 {BerBound::UnionQ, BerBound::Viterbi}},
                      // Patterns of all '1's and a second code equal to the first change
                      // nothing: the files of the plain codes, byte for byte.
                      GoldenCase{"PcccAllOnesPatterns", "pccc_default_n10.txt", "1+D+D^2", "1+D^2",
                                 kParallel, 10, kAllBerBounds, "", "", "11,11,11"},
                      GoldenCase{"PcccSameSecondCodeLongPatterns", "pccc_default_n10.txt",
                                 "1+D+D^2", "1+D^2", kParallel, 10, kAllBerBounds, "1+D+D^2",
                                 "1+D^2", "1111,1111,1111"},
                      GoldenCase{"ScccAllOnesPatterns", "sccc_default_n10.txt", "1+D+D^2", "1+D^2",
                                 kSerial, 10, kAllBerBounds, "", "", "", "11,11", "1,1"},
                      // Rate 1/2 from two constituents of different memories: both blocks
                      // with their own trellis, the pattern, the bits each sends.
                      GoldenCase{"PcccRateHalfMemory2Memory3N10",
                                 "pccc_rate_half_memory2_memory3_n10.txt", "1+D+D^2", "1+D^2",
                                 kParallel, 10, kAllBerBounds, "1+D+D^3", "1+D^2+D^3", "11,10,01"}),
    [](const auto& testInfo) { return std::string(testInfo.param.label); });

}  // namespace
}  // namespace brevandor
