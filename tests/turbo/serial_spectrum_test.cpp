#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <string>
#include <vector>

#include "support/case_name.h"
#include "support/exhaustive_encoder.h"
#include "support/spectrum_checks.h"
#include "support/spectrum_oracle.h"
#include "support/test_codes.h"
#include "support/turbo_pipeline.h"

namespace brevandor {
namespace {

using testing::CountTable;
using testing::defaultCode;
using testing::describeOrDie;
using testing::expectSpectrum;
using testing::LinearSpectrum;
using testing::ShiftRegisterEncoder;
using testing::sparseSpectrum;
using testing::TurboPipeline;

TEST(SerialSpectrum, OneBitFrame) {
  TurboPipeline pipeline(describeOrDie("1+D^2", "1+D+D^2"), ConcatenationType::Serial, 1);
  EXPECT_EQ(pipeline.turbo.frameLengths[1], 6);
  ASSERT_EQ(pipeline.run(), 16);
  const std::map<int, double> expected = {{10, 1.0 / 2}, {11, 1.0 / 3}, {12, 1.0 / 6}};
  expectSpectrum(TurboPipeline::plain(pipeline.codeword), sparseSpectrum(17, expected), "codeword");
  // w / N = 1 for the only input word.
  expectSpectrum(TurboPipeline::plain(pipeline.weighted), sparseSpectrum(17, expected), "weighted");
}

TEST(SerialSpectrum, TwoBitFrame) {
  TurboPipeline pipeline(describeOrDie("1+D^2", "1+D+D^2"), ConcatenationType::Serial, 2);
  ASSERT_EQ(pipeline.run(), 20);
  const std::vector<double> codeword = TurboPipeline::plain(pipeline.codeword);
  double total = 0.0;
  for (const double count : codeword) {
    total += count;
  }
  EXPECT_NEAR(total, 3.0, 3.0 * 2e-6);
  for (int d = 0; d < 7; ++d) {
    EXPECT_EQ(codeword[d], 0.0) << "weight " << d;
  }
  EXPECT_NEAR(codeword[7], 1.0 / 14, 2e-6);
  EXPECT_EQ(codeword[15], 0.0);
  EXPECT_NEAR(codeword[16], 1.0 / 14, 2e-6);
}

TEST(SerialSpectrum, DefaultCodeOneBitFrame) {
  TurboPipeline pipeline(defaultCode(), ConcatenationType::Serial, 1);
  ASSERT_EQ(pipeline.run(), 16);
  expectSpectrum(TurboPipeline::plain(pipeline.codeword),
                 sparseSpectrum(17, {{8, 1.0 / 6}, {11, 2.0 / 3}, {12, 1.0 / 6}}), "codeword");
}

// Outer and inner code worked out in plain double arithmetic from exhaustive encoders.
struct OracleCase {
  const char* numerator;
  const char* denominator;
  std::int32_t frameLength;
};

class SerialAgainstOracle : public ::testing::TestWithParam<OracleCase> {};

TEST_P(SerialAgainstOracle, SpectraMatchTheExactAverage) {
  const OracleCase& param = GetParam();
  const CodeDescription description = describeOrDie(param.numerator, param.denominator);
  TurboPipeline pipeline(description, ConcatenationType::Serial, param.frameLength);
  ASSERT_EQ(pipeline.run(), pipeline.turbo.outputFrameLength);

  const ShiftRegisterEncoder encoder = ShiftRegisterEncoder::fromDescription(description);
  const std::int32_t innerLength = pipeline.turbo.frameLengths[1];
  const CountTable outer = testing::exhaustiveCwef(encoder, param.frameLength, true);
  const CountTable inner = testing::exhaustiveCwef(encoder, innerLength, true);
  const LinearSpectrum oracle = testing::serialOracle(outer, inner, param.frameLength, innerLength);
  expectSpectrum(TurboPipeline::plain(pipeline.codeword), oracle.codeword, "codeword");
  expectSpectrum(TurboPipeline::plain(pipeline.weighted), oracle.weighted, "weighted");
}

// Inner frames of 2N + 2m bits stay at 14 bits or fewer.
INSTANTIATE_TEST_SUITE_P(Codes, SerialAgainstOracle,
                         ::testing::Values(OracleCase{"1+D+D^2", "1+D^2", 3},
                                           OracleCase{"1+D^2", "1+D+D^2", 5},
                                           OracleCase{"1+D+D^2", "1", 4},
                                           OracleCase{"1+D+D^3", "1+D^2+D^3", 4}),
                         [](const auto& named) {
                           return testing::caseName(std::string(named.param.numerator) + "_over_" +
                                                    named.param.denominator + "_N" +
                                                    std::to_string(named.param.frameLength));
                         });

class SerialSum : public ::testing::TestWithParam<std::int32_t> {};

TEST_P(SerialSum, CodewordSpectrumSumsToAllNonZeroWords) {
  const std::int32_t n = GetParam();
  TurboPipeline pipeline(defaultCode(), ConcatenationType::Serial, n);
  ASSERT_GE(pipeline.run(), 0);
  double sum = LogZero;
  for (const double entry : pipeline.codeword) {
    sum = logAdd(sum, entry);
  }
  const double expected = n * std::log10(2.0) + std::log10(1.0 - std::pow(2.0, -n));
  EXPECT_NEAR(sum, expected, 1e-5);
  EXPECT_EQ(pipeline.codeword[0], LogZero);
}

INSTANTIATE_TEST_SUITE_P(Frames, SerialSum, ::testing::Values(8, 40),
                         ::testing::PrintToStringParamName());

TEST(SerialSpectrum, ProgressCountsTheInnerInputWeights) {
  TurboPipeline pipeline(defaultCode(), ConcatenationType::Serial, 2);
  ASSERT_EQ(pipeline.computeEnumerators(), StageEnd::Completed);
  std::int32_t now = 0;
  pipeline.context.clock = [&now] { return now += 16; };
  testing::RecordingTarget target;
  pipeline.context.noticeTarget = &target;
  ASSERT_GE(pipeline.computeSpectrum(), 0);
  // The inner code sees 8 bits: 9 steps, after which 8, 7, … 0 remain.
  std::vector<std::string> expected = {"--- Wait ---"};
  for (int remaining = 8; remaining >= 0; --remaining) {
    expected.push_back("Est. Remaining Time =  0 hrs,  0 min,  0 sec,  " +
                       std::to_string(remaining) + "'");
  }
  expected.emplace_back("------------");
  EXPECT_EQ(target.statusLines(), expected);
  EXPECT_TRUE(target.logLines().empty());
}

TEST(SerialSpectrum, CancelInTheFirstStepLeavesTheSpectraEmpty) {
  TurboPipeline pipeline(defaultCode(), ConcatenationType::Serial, 3);
  ASSERT_EQ(pipeline.computeEnumerators(), StageEnd::Completed);
  pipeline.codeword.assign(pipeline.codeword.size(), 1.0);
  pipeline.weighted.assign(pipeline.weighted.size(), 1.0);
  testing::RecordingTarget target;
  pipeline.context.noticeTarget = &target;
  pipeline.cancel = 1;
  EXPECT_EQ(pipeline.computeSpectrum(), -1);
  for (std::size_t d = 0; d < pipeline.codeword.size(); ++d) {
    EXPECT_EQ(pipeline.codeword[d], LogZero) << "weight " << d;
    EXPECT_EQ(pipeline.weighted[d], LogZero) << "weight " << d;
  }
  EXPECT_EQ(target.statusLines(), std::vector<std::string>{"--- Wait ---"});
}

// Type 2: a repetition code sending each bit three times, then the one-output-bit
// non-systematic counterpart of the code.
TEST(RepetitionSerialSpectrum, DefaultCodeOneBitIsOneWordOfWeightTwo) {
  TurboPipeline pipeline(nonSystematicCounterpart(defaultCode()),
                         ConcatenationType::RepetitionSerial, 1);
  EXPECT_EQ(pipeline.turbo.frameLengths[1], 3);
  ASSERT_EQ(pipeline.run(), 5);
  expectSpectrum(TurboPipeline::plain(pipeline.codeword), sparseSpectrum(6, {{2, 1.0}}),
                 "codeword");
  expectSpectrum(TurboPipeline::plain(pipeline.weighted), sparseSpectrum(6, {{2, 1.0}}),
                 "weighted");
}

TEST(RepetitionSerialSpectrum, DefaultCodeTwoBits) {
  TurboPipeline pipeline(nonSystematicCounterpart(defaultCode()),
                         ConcatenationType::RepetitionSerial, 2);
  ASSERT_EQ(pipeline.run(), 8);
  expectSpectrum(
      TurboPipeline::plain(pipeline.codeword),
      sparseSpectrum(
          9, {{2, 1.0 / 10}, {3, 2.0 / 5}, {4, 8.0 / 5}, {5, 1.0 / 5}, {6, 1.0 / 2}, {7, 1.0 / 5}}),
      "codeword");
}

TEST(RepetitionSerialSpectrum, MatchesTheExactAverage) {
  const std::int32_t n = 4;
  const CodeDescription inner = nonSystematicCounterpart(describeOrDie("1+D^2", "1+D+D^2"));
  TurboPipeline pipeline(inner, ConcatenationType::RepetitionSerial, n);
  ASSERT_EQ(pipeline.run(), pipeline.turbo.outputFrameLength);
  const LinearSpectrum oracle = testing::serialOracle(
      testing::repetitionCounts(n, 3),
      testing::exhaustiveCwef(ShiftRegisterEncoder::fromDescription(inner), 3 * n, true), n, 3 * n);
  expectSpectrum(TurboPipeline::plain(pipeline.codeword), oracle.codeword, "codeword");
  expectSpectrum(TurboPipeline::plain(pipeline.weighted), oracle.weighted, "weighted");
}

TEST(SerialSpectrum, MissingTableIsRefused) {
  TurboPipeline pipeline(defaultCode(), ConcatenationType::Serial, 4);
  pipeline.enumerators[1].release(pipeline.code);
  const StageResult<std::int32_t> result =
      pipeline.turbo.computeSerialSpectrum(pipeline.codeword, pipeline.weighted, pipeline.context);
  EXPECT_FALSE(result);
  EXPECT_FALSE(result.wasCancelled());
  EXPECT_EQ(result.failure(), kIncompleteTablesText);
}

}  // namespace
}  // namespace brevandor
