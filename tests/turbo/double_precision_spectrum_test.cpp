// Spectra from double-precision tables against the exact averages of exhaustive encoders:
// what single-precision tables hold to 2e-5, double ones hold to 1e-9.

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "support/exhaustive_encoder.h"
#include "support/spectrum_oracle.h"
#include "support/test_codes.h"
#include "support/turbo_pipeline.h"

namespace brevandor {
namespace {

using testing::CodeCase;
using testing::CountTable;
using testing::LinearSpectrum;
using testing::ShiftRegisterEncoder;
using testing::TurboPipeline;

struct ExactCase {
  CodeCase code;
  ConcatenationType type;
  std::int32_t frameLength;
  Engine engine;
};

// The uniform-interleaver average in plain double arithmetic from exact counts: the counts
// are integers below 2^16 and the divisions by binomials add relative errors near 1e-16.
LinearSpectrum exactSpectrum(const ExactCase& c, const TurboPipeline& pipeline) {
  const CodeDescription description = c.code.description();
  const ShiftRegisterEncoder encoder = ShiftRegisterEncoder::fromDescription(description);
  const std::int32_t n = c.frameLength;
  if (c.type == ConcatenationType::Parallel) {
    const bool sentOnce = pipeline.turbo.hasNonSystematic == 0;
    const CountTable counts = testing::exhaustiveCwef(encoder, n, !sentOnce);
    return testing::parallelOracle(counts, counts, n, sentOnce, pipeline.turbo.outputFrameLength,
                                   n);
  }
  const std::int32_t innerLength = pipeline.turbo.frameLengths[1];
  const CountTable outer = c.type == ConcatenationType::Serial
                               ? testing::exhaustiveCwef(encoder, n, true)
                               : testing::repetitionCounts(n, 3);
  const CountTable inner = testing::exhaustiveCwef(encoder, innerLength, true);
  return testing::serialOracle(outer, inner, n, innerLength);
}

void expectWithin(const std::vector<double>& logs, const std::vector<double>& exact,
                  const char* which) {
  ASSERT_EQ(logs.size(), exact.size()) << which;
  for (std::size_t d = 0; d < exact.size(); ++d) {
    if (exact[d] == 0.0) {
      EXPECT_EQ(logs[d], LogZero) << which << " weight " << d;
    } else {
      EXPECT_NEAR(std::pow(10.0, logs[d]), exact[d], 1e-9 * exact[d]) << which << " weight " << d;
    }
  }
}

class DoublePrecisionSpectrum : public ::testing::TestWithParam<ExactCase> {};

TEST_P(DoublePrecisionSpectrum, EveryEntryEqualsTheExactAverageToOnePartInABillion) {
  const ExactCase& c = GetParam();
  TurboPipeline pipeline(c.code.description(), c.type, c.frameLength, c.engine, {}, std::nullopt,
                         TablePrecision::Double);
  ASSERT_EQ(pipeline.run(), pipeline.turbo.outputFrameLength);
  const LinearSpectrum exact = exactSpectrum(c, pipeline);
  expectWithin(pipeline.codeword, exact.codeword, "codeword");
  expectWithin(pipeline.weighted, exact.weighted, "weighted");
}

std::vector<ExactCase> exactCases() {
  const CodeCase defaultCode{"1+D+D^2", "1+D^2"};
  const CodeCase primitive{"1+D^2", "1+D+D^2"};
  const CodeCase memory3{"1+D+D^3", "1+D^2+D^3"};
  const CodeCase feedforward{"1+D+D^2", "1"};
  std::vector<ExactCase> cases;
  for (const Engine engine : {Engine::Reference, Engine::Fast}) {
    cases.push_back({defaultCode, ConcatenationType::Parallel, 12, engine});
    cases.push_back({memory3, ConcatenationType::Parallel, 10, engine});
    cases.push_back({feedforward, ConcatenationType::Parallel, 9, engine});
    cases.push_back(
        {defaultCode, ConcatenationType::Serial, 4, engine});  // an inner frame of 12 bits
    cases.push_back({primitive, ConcatenationType::Serial, 5, engine});
    cases.push_back(
        {CodeCase{"1+D+D^2", "1+D^2", true}, ConcatenationType::RepetitionSerial, 4, engine});
  }
  return cases;
}

std::string exactCaseName(const ::testing::TestParamInfo<ExactCase>& info) {
  const ExactCase& c = info.param;
  const char* type = c.type == ConcatenationType::Parallel ? "_pccc"
                     : c.type == ConcatenationType::Serial ? "_sccc"
                                                           : "_repetition";
  return c.code.name() + type + "_N" + std::to_string(c.frameLength) +
         (c.engine == Engine::Fast ? "_fast" : "_reference");
}

INSTANTIATE_TEST_SUITE_P(SmallFrames, DoublePrecisionSpectrum, ::testing::ValuesIn(exactCases()),
                         exactCaseName);

// A long frame: at N = 2000 the spectrum's entries add up to 2^N − 1 to one part in a
// billion (single-precision tables miss by 1.6e-3), and the lowest weights equal the exact
// counts of `tests/data/exact_low_weights.py 2000 14` (exact integers and fractions).
TEST(DoublePrecisionLongFrame, SumAndLowestWeightsAtTwoThousandBits) {
#if defined(BREVANDOR_SANITIZED_TESTS)
  GTEST_SKIP() << "a long frame: seconds optimised, far longer under the sanitizers";
#endif
  TurboPipeline pipeline(testing::defaultCode(), ConcatenationType::Parallel, 2000, Engine::Fast,
                         {}, std::nullopt, TablePrecision::Double);
  ASSERT_EQ(pipeline.run(), pipeline.turbo.outputFrameLength);
  double total = LogZero;
  for (const double entry : pipeline.codeword) {
    total = logAdd(total, entry);
  }
  // log10(2^N − 1) = N log10 2 to within 1e-600; 1e-9 relative is 4.3e-10 in the log.
  EXPECT_NEAR(total, 2000 * std::log10(2.0), 1e-9 / std::log(10.0));
  const double exactCodewords[] = {1.997006500247e+00, 3.994037971689e+00, 5.989130804223e+00,
                                   7.982345231910e+00, 9.985735234689e+00, 1.202329469453e+01,
                                   1.413091017791e+01};
  const double exactWeighted[] = {1.997012500244e-03, 3.993073942001e-03, 5.987256602986e-03,
                                  7.979680446499e-03, 9.994452924040e-03, 1.207955846825e-02,
                                  1.430676178365e-02};
  for (int d = 0; d < 8; ++d) {
    EXPECT_EQ(pipeline.codeword[static_cast<std::size_t>(d)], LogZero) << "weight " << d;
  }
  for (int i = 0; i < 7; ++i) {
    const auto d = static_cast<std::size_t>(8 + i);
    EXPECT_NEAR(std::pow(10.0, pipeline.codeword[d]), exactCodewords[i], 1e-9 * exactCodewords[i])
        << "weight " << d;
    EXPECT_NEAR(std::pow(10.0, pipeline.weighted[d]), exactWeighted[i], 1e-9 * exactWeighted[i])
        << "weight " << d;
  }
}

}  // namespace
}  // namespace brevandor
