#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/spectrum_equivalence.h"
#include "support/test_codes.h"
#include "support/turbo_pipeline.h"
#include "turbo/spectrum_engines.h"

namespace brevandor {
namespace {

using testing::describeOrDie;
using testing::EnginePair;
using testing::expectSameLogSpectrum;
using testing::TurboPipeline;

struct SerialCase {
  const char* numerator;
  const char* denominator;
  ConcatenationType type;  // SCCC, or the repetition code ahead of the convolutional code
  std::int32_t frameLength;
  int threads;
  TablePrecision precision = TablePrecision::Single;
};

class SerialFastAgainstReference : public ::testing::TestWithParam<SerialCase> {};

TEST_P(SerialFastAgainstReference, SpectraAndProgressMatch) {
  const SerialCase& c = GetParam();
  EnginePair engines(describeOrDie(c.numerator, c.denominator), c.type, c.frameLength, c.threads,
                     {}, std::nullopt, c.precision);
  // The same tables for both, so that the spectrum stage alone is compared.
  ASSERT_EQ(engines.reference.computeEnumerators(), StageEnd::Completed);
  ASSERT_EQ(engines.fast.computeEnumerators(), StageEnd::Completed);
  const std::int32_t maxWeight = engines.reference.computeSpectrum();
  ASSERT_EQ(engines.fast.computeSpectrum(), maxWeight);
  expectSameLogSpectrum(engines.fast.codeword, engines.reference.codeword, "codeword");
  expectSameLogSpectrum(engines.fast.weighted, engines.reference.weighted, "weighted");
  EXPECT_EQ(engines.fast.target.statusLines(), engines.reference.target.statusLines());
  for (const WeightEnumerator& enumerator : engines.fast.enumerators) {
    EXPECT_EQ(c.precision == TablePrecision::Double ? enumerator.cwefDouble.at(0, 0)
                                                    : enumerator.cwef.at(0, 0),
              LogZero);
  }
}

std::string caseName(const ::testing::TestParamInfo<SerialCase>& info) {
  const SerialCase& c = info.param;
  std::string name = std::string(c.numerator) + "_over_" + c.denominator +
                     (c.type == ConcatenationType::Serial ? "_sccc" : "_repetition") + "_N" +
                     std::to_string(c.frameLength) + "_t" + std::to_string(c.threads) +
                     (c.precision == TablePrecision::Double ? "_double" : "");
  for (char& ch : name) {
    if (ch == '+' || ch == '^') {
      ch = '_';
    }
  }
  return name;
}

INSTANTIATE_TEST_SUITE_P(
    Codes, SerialFastAgainstReference,
    ::testing::Values(SerialCase{"1+D+D^2", "1+D^2", ConcatenationType::Serial, 1, 1},
                      SerialCase{"1+D+D^2", "1+D^2", ConcatenationType::Serial, 2, 2},
                      SerialCase{"1+D^2", "1+D+D^2", ConcatenationType::Serial, 7, 2},
                      SerialCase{"1+D+D^2", "1+D^2", ConcatenationType::Serial, 17, 3},
                      SerialCase{"1+D+D^2", "1", ConcatenationType::Serial, 13, 2},
                      SerialCase{"1+D+D^3", "1+D^2+D^3", ConcatenationType::Serial, 11, 2},
                      SerialCase{"1+D^4", "1+D+D^2+D^3+D^4", ConcatenationType::Serial, 9, 1},
                      SerialCase{"1+D+D^2", "1+D^2", ConcatenationType::Serial, 40, 2},
                      SerialCase{"1+D+D^2", "1+D^2", ConcatenationType::RepetitionSerial, 1, 1},
                      SerialCase{"1+D+D^2", "1+D^2", ConcatenationType::RepetitionSerial, 9, 2},
                      SerialCase{"1+D^2+D^3", "1", ConcatenationType::RepetitionSerial, 16, 2},
                      SerialCase{"1+D^2", "1+D+D^2", ConcatenationType::RepetitionSerial, 25, 3}),
    caseName);

constexpr TablePrecision kDouble = TablePrecision::Double;

INSTANTIATE_TEST_SUITE_P(
    DoubleTables, SerialFastAgainstReference,
    ::testing::Values(SerialCase{"1+D+D^2", "1+D^2", ConcatenationType::Serial, 17, 3, kDouble},
                      SerialCase{"1+D+D^3", "1+D^2+D^3", ConcatenationType::Serial, 11, 2, kDouble},
                      SerialCase{"1+D+D^2", "1+D^2", ConcatenationType::Serial, 40, 2, kDouble},
                      SerialCase{"1+D^2", "1+D+D^2", ConcatenationType::RepetitionSerial, 25, 3,
                                 kDouble}),
    caseName);

TEST(SerialFastCancel, RequestBeforeTheFirstStepLeavesTheSpectraEmpty) {
  TurboPipeline pipeline(describeOrDie("1+D+D^2", "1+D^2"), ConcatenationType::Serial, 20,
                         Engine::Fast);
  ASSERT_EQ(pipeline.computeEnumerators(), StageEnd::Completed);
  testing::RecordingTarget spectrumTarget;
  pipeline.context.noticeTarget = &spectrumTarget;
  pipeline.cancel = 1;
  EXPECT_EQ(pipeline.computeSpectrum(), -1);
  for (std::size_t d = 0; d < pipeline.codeword.size(); ++d) {
    EXPECT_EQ(pipeline.codeword[d], LogZero);
    EXPECT_EQ(pipeline.weighted[d], LogZero);
  }
  EXPECT_EQ(spectrumTarget.statusLines(), std::vector<std::string>{"--- Wait ---"});
}

TEST(SerialFastCancel, RequestDuringAStepStopsAtItsEndAsTheReferenceDoes) {
  auto cancelAtFourth = [](TurboPipeline*& pipeline) {
    return [&pipeline, estimates = 0](const RunNotice& notice) mutable {
      if (notice.text.starts_with("Est.") && ++estimates == 4) {
        pipeline->cancel = 1;
      }
    };
  };
  EnginePair engines(describeOrDie("1+D+D^2", "1+D^2"), ConcatenationType::Serial, 30, 2);
  TurboPipeline* reference = &engines.reference;
  TurboPipeline* fast = &engines.fast;
  ASSERT_EQ(engines.reference.computeEnumerators(), StageEnd::Completed);
  ASSERT_EQ(engines.fast.computeEnumerators(), StageEnd::Completed);
  // Fresh targets: only the spectrum stage's lines count.
  testing::RecordingTarget referenceTarget(cancelAtFourth(reference));
  testing::RecordingTarget fastTarget(cancelAtFourth(fast));
  engines.reference.context.noticeTarget = &referenceTarget;
  engines.fast.context.noticeTarget = &fastTarget;
  EXPECT_EQ(engines.reference.computeSpectrum(), -1);
  EXPECT_EQ(engines.fast.computeSpectrum(), -1);
  EXPECT_EQ(fastTarget.statusLines(), referenceTarget.statusLines());
  EXPECT_EQ(fastTarget.statusLines().size(), 5u);
}

TEST(SerialFastWork, OneMatrixInsteadOfTwo) {
  TurboPipeline pipeline(describeOrDie("1+D+D^2", "1+D^2"), ConcatenationType::Serial, 1000,
                         Engine::Fast);
  const std::uint64_t matrix = LogTable::bytesFor(1, pipeline.turbo.outputFrameLength + 1,
                                                  pipeline.turbo.frameLengths[0] + 1);
  const std::uint64_t work = fastSerialSpectrumWorkBytes(pipeline.turbo);
  EXPECT_GE(work, matrix);
  EXPECT_LT(work, matrix + matrix / 100);
}

}  // namespace
}  // namespace brevandor
