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
  const char* name;  // file under tests/data/results
  const char* numerator;
  const char* denominator;
  std::int32_t type;
  std::int32_t frameLength;
  std::int32_t mask;
  // Beyond the main window: the second code's polynomials and the patterns.
  const char* numerator2 = "";
  const char* denominator2 = "";
  const char* puncture = "";
  const char* punctureOuter = "";
  const char* punctureInner = "";
};

const auto readText = testing::readTextFile;

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
    inputs.boundSelection = golden.mask;
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
    ::testing::Values(
        GoldenCase{"pccc_default_n10.txt", "1+D+D^2", "1+D^2", Parallel, 10, 7},
        GoldenCase{"sccc_default_n10.txt", "1+D+D^2", "1+D^2", Serial, 10, 7},
        GoldenCase{"rep_default_n10.txt", "1+D+D^2", "1+D^2", RepetitionSerial, 10, 7},
        GoldenCase{"pccc_feedforward_n10.txt", "1+D+D^2", "1", Parallel, 10, 7},
        GoldenCase{"sccc_memory3_n12_mask5.txt", "1+D+D^3", "1+D^2+D^3", Serial, 12, 5},
        // Patterns of all '1's and a second code equal to the first change
        // nothing: the files of the plain codes, byte for byte.
        GoldenCase{"pccc_default_n10.txt", "1+D+D^2", "1+D^2", Parallel, 10, 7, "", "", "11,11,11"},
        GoldenCase{"pccc_default_n10.txt", "1+D+D^2", "1+D^2", Parallel, 10, 7, "1+D+D^2", "1+D^2",
                   "1111,1111,1111"},
        GoldenCase{"sccc_default_n10.txt", "1+D+D^2", "1+D^2", Serial, 10, 7, "", "", "", "11,11",
                   "1,1"},
        // Rate 1/2 from two constituents of different memories: both blocks
        // with their own trellis, the pattern, the bits each sends.
        GoldenCase{"pccc_rate_half_memory2_memory3_n10.txt", "1+D+D^2", "1+D^2", Parallel, 10, 7,
                   "1+D+D^3", "1+D^2+D^3", "11,10,01"}),
    [](const auto& testInfo) { return "Case" + std::to_string(testInfo.index); });

}  // namespace
}  // namespace brevandor
