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

using testing::defaultCode;
using testing::describeOrDie;
using testing::expectSpectrum;
using testing::LinearSpectrum;
using testing::sparseSpectrum;
using testing::TurboPipeline;

struct GoldenCase {
  const char* name;
  const char* numerator;
  const char* denominator;
  std::int32_t frameLength;
  std::int32_t maxWeight;
  std::map<int, double> codeword;
  std::map<int, double> weighted;
};

std::string goldenName(const ::testing::TestParamInfo<GoldenCase>& info) {
  return info.param.name;
}

class ParallelGolden : public ::testing::TestWithParam<GoldenCase> {};

TEST_P(ParallelGolden, SpectraHoldTheKnownCounts) {
  const GoldenCase& param = GetParam();
  TurboPipeline pipeline(describeOrDie(param.numerator, param.denominator),
                         ConcatenationType::Parallel, param.frameLength);
  ASSERT_EQ(pipeline.run(), param.maxWeight);
  const auto size = static_cast<std::size_t>(param.maxWeight) + 1;
  expectSpectrum(TurboPipeline::plain(pipeline.codeword), sparseSpectrum(size, param.codeword),
                 "codeword");
  expectSpectrum(TurboPipeline::plain(pipeline.weighted), sparseSpectrum(size, param.weighted),
                 "weighted");
  EXPECT_TRUE(pipeline.target.logLines().empty());
}

INSTANTIATE_TEST_SUITE_P(
    Frames, ParallelGolden,
    ::testing::Values(GoldenCase{"OneBit", "1+D^2", "1+D+D^2", 1, 11, {{9, 1.0}}, {{9, 1.0}}},
                      GoldenCase{"TwoBits",
                                 "1+D^2",
                                 "1+D+D^2",
                                 2,
                                 14,
                                 {{8, 1.0}, {9, 0.5}, {10, 1.0}, {11, 0.5}},
                                 {{8, 1.0}, {9, 0.25}, {10, 0.5}, {11, 0.25}}},
                      GoldenCase{"DefaultCodeTwoBits",
                                 "1+D+D^2",
                                 "1+D^2",
                                 2,
                                 14,
                                 {{9, 2.0}, {10, 1.0}},
                                 {{9, 1.0}, {10, 1.0}}}),
    goldenName);

TEST(ParallelSpectrum, ThreeBitsCountEveryNonZeroWordOnce) {
  TurboPipeline pipeline(describeOrDie("1+D^2", "1+D+D^2"), ConcatenationType::Parallel, 3);
  ASSERT_GE(pipeline.run(), 0);
  const std::vector<double> codeword = TurboPipeline::plain(pipeline.codeword);
  double total = 0.0;
  for (const double count : codeword) {
    total += count;
  }
  EXPECT_NEAR(total, 7.0, 7.0 * 2e-6);
  for (int d = 0; d < 7; ++d) {
    EXPECT_EQ(codeword[d], 0.0) << "weight " << d;
  }
  EXPECT_NEAR(codeword[7], 1.0, 2e-6);
}

TEST(ParallelSpectrum, AllZeroWordIsDroppedFromBothTables) {
  TurboPipeline pipeline(defaultCode(), ConcatenationType::Parallel, 5);
  ASSERT_GE(pipeline.run(), 0);
  EXPECT_EQ(pipeline.codeword[0], LogZero);
  EXPECT_EQ(pipeline.weighted[0], LogZero);
  EXPECT_EQ(pipeline.enumerators[0].cwef.at(0, 0), kLogZeroFloat);
  EXPECT_EQ(pipeline.enumerators[1].cwef.at(0, 0), kLogZeroFloat);
}

// The uniform-interleaver average worked out in plain double arithmetic from the exact counts
// of an exhaustive encoder, against the log-domain stage.
struct OracleCase {
  const char* numerator;
  const char* denominator;
  bool counterpart;  // the one-output-bit non-systematic code: all output bits are counted
  std::int32_t frameLength;
};

class ParallelAgainstOracle : public ::testing::TestWithParam<OracleCase> {};

TEST_P(ParallelAgainstOracle, SpectraMatchTheExactAverage) {
  const OracleCase& param = GetParam();
  CodeDescription description = describeOrDie(param.numerator, param.denominator);
  if (param.counterpart) {
    description = nonSystematicCounterpart(description);
  }
  TurboPipeline pipeline(description, ConcatenationType::Parallel, param.frameLength);
  const std::int32_t maxWeight = pipeline.run();
  ASSERT_EQ(maxWeight, pipeline.turbo.outputFrameLength);

  const bool sentOnce = pipeline.turbo.hasNonSystematic == 0;
  const testing::CountTable counts = testing::exhaustiveCwef(
      testing::ShiftRegisterEncoder::fromDescription(description), param.frameLength, !sentOnce);
  const LinearSpectrum oracle = testing::parallelOracle(counts, counts, param.frameLength, sentOnce,
                                                        maxWeight, param.frameLength);
  expectSpectrum(TurboPipeline::plain(pipeline.codeword), oracle.codeword, "codeword");
  expectSpectrum(TurboPipeline::plain(pipeline.weighted), oracle.weighted, "weighted");
}

INSTANTIATE_TEST_SUITE_P(Codes, ParallelAgainstOracle,
                         ::testing::Values(OracleCase{"1+D+D^2", "1+D^2", false, 4},
                                           OracleCase{"1+D^2", "1+D+D^2", false, 9},
                                           OracleCase{"1+D+D^2", "1", false, 7},
                                           OracleCase{"1+D+D^3", "1+D^2+D^3", false, 8},
                                           OracleCase{"1+D+D^2", "1+D^2", true, 6},
                                           OracleCase{"1+D^2+D^3", "1", true, 5}),
                         [](const auto& named) {
                           return testing::caseName(
                               std::string(named.param.numerator) + "_over_" +
                               named.param.denominator +
                               (named.param.counterpart ? "_counterpart" : "") + "_N" +
                               std::to_string(named.param.frameLength));
                         });

// Longer frames: the spectrum counts every non-zero input word once, 2^N − 1 in all.
class ParallelSum : public ::testing::TestWithParam<std::int32_t> {};

TEST_P(ParallelSum, CodewordSpectrumSumsToAllNonZeroWords) {
  const std::int32_t n = GetParam();
  TurboPipeline pipeline(defaultCode(), ConcatenationType::Parallel, n);
  ASSERT_GE(pipeline.run(), 0);
  double sum = LogZero;
  for (const double entry : pipeline.codeword) {
    sum = logAdd(sum, entry);
  }
  const double expected = n * std::log10(2.0) + std::log10(1.0 - std::pow(2.0, -n));
  EXPECT_NEAR(sum, expected, 1e-5);
  EXPECT_TRUE(pipeline.target.logLines().empty());
}

INSTANTIATE_TEST_SUITE_P(Frames, ParallelSum, ::testing::Values(10, 33, 128),
                         ::testing::PrintToStringParamName());

TEST(ParallelSpectrum, ProgressCountsInputWeightsDownToZero) {
  TurboPipeline pipeline(defaultCode(), ConcatenationType::Parallel, 6);
  ASSERT_EQ(pipeline.computeEnumerators(), StageEnd::Completed);
  std::int32_t now = 0;
  pipeline.context.clock = [&now] { return now += 16; };
  testing::RecordingTarget target;
  pipeline.context.noticeTarget = &target;
  ASSERT_GE(pipeline.computeSpectrum(), 0);
  std::vector<std::string> expected = {"--- Wait ---"};
  for (int remaining = 6; remaining >= 0; --remaining) {
    expected.push_back("Est. Remaining Time =  0 hrs,  0 min,  0 sec,  " +
                       std::to_string(remaining) + "'");
  }
  expected.emplace_back("------------");
  EXPECT_EQ(target.statusLines(), expected);
}

TEST(ParallelSpectrum, CancelKeepsTheInputWeightsAlreadyAdded) {
  const std::int32_t n = 7;
  TurboPipeline pipeline(describeOrDie("1+D^2", "1+D+D^2"), ConcatenationType::Parallel, n);
  ASSERT_EQ(pipeline.computeEnumerators(), StageEnd::Completed);
  // The request arrives with the estimate of input weight 1, while weight 2 is computed.
  int estimates = 0;
  testing::RecordingTarget target([&](const RunNotice& notice) {
    if (notice.text.starts_with("Est.") && ++estimates == 2) {
      pipeline.cancel = 1;
    }
  });
  pipeline.context.noticeTarget = &target;
  EXPECT_EQ(pipeline.computeSpectrum(), -1);
  EXPECT_EQ(target.statusLines().size(), 3u);  // "--- Wait ---" and two estimates

  const ConvCode& code = pipeline.code;
  const testing::CountTable counts = testing::exhaustiveCwef(
      testing::ShiftRegisterEncoder::fromDescription(code.description), n, false);
  const LinearSpectrum partial =
      testing::parallelOracle(counts, counts, n, true, pipeline.turbo.outputFrameLength, 2);
  expectSpectrum(TurboPipeline::plain(pipeline.codeword), partial.codeword, "codeword");
  expectSpectrum(TurboPipeline::plain(pipeline.weighted), partial.weighted, "weighted");
}

TEST(ParallelSpectrum, TableOfAnotherFrameIsRefused) {
  TurboPipeline pipeline(defaultCode(), ConcatenationType::Parallel, 6);
  ASSERT_EQ(pipeline.computeEnumerators(), StageEnd::Completed);
  pipeline.enumerators[1].release(pipeline.code);
  pipeline.enumerators[1].frameLength = 5;
  pipeline.enumerators[1].allocate(pipeline.code);
  pipeline.codeword.assign(pipeline.codeword.size(), 1.0);
  EXPECT_EQ(pipeline.computeSpectrum(), -2);
  EXPECT_EQ(pipeline.codeword, std::vector<double>(pipeline.codeword.size(), 1.0));
}

TEST(ParallelSpectrum, MissingConstituentIsRefused) {
  TurboPipeline pipeline(defaultCode(), ConcatenationType::Parallel, 4);
  pipeline.turbo.enumerators[1] = nullptr;
  const StageResult<std::int32_t> result = pipeline.turbo.computeParallelSpectrum(
      pipeline.codeword, pipeline.weighted, pipeline.context);
  EXPECT_FALSE(result);
  EXPECT_FALSE(result.wasCancelled());
  EXPECT_EQ(result.failure(), kIncompleteTablesText);
}

}  // namespace
}  // namespace brevandor
