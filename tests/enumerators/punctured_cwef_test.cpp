#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <string>
#include <vector>

#include "enumerators/weight_enumerator.h"
#include "logmath/log_domain.h"
#include "support/exhaustive_encoder.h"
#include "support/table_checks.h"
#include "support/test_codes.h"

namespace brevandor {
namespace {

using testing::CodeCase;
using testing::CountTable;
using testing::ShiftRegisterEncoder;

// A constituent whose sections send their bits as two rows of text say (one period each).
struct PuncturedCase {
  const char* name;
  CodeCase code;
  std::int32_t frameLength;
  const char* systematicRow;  // null: the table counts parity bits only
  const char* parityRow;
};

// Output bit 1 is the systematic bit, bit 0 the parity bit. A table of parity bits only
// keeps the systematic bit in every mask, to be taken off as input weight.
SectionPuncturing masksOf(const PuncturedCase& c) {
  SectionPuncturing puncturing;
  for (std::size_t t = 0; t < std::strlen(c.parityRow); ++t) {
    const bool systematic = c.systematicRow == nullptr || c.systematicRow[t] == '1';
    puncturing.masks.push_back((systematic ? 2u : 0u) | (c.parityRow[t] == '1' ? 1u : 0u));
  }
  return puncturing;
}

// One CWEF stage on either engine.
struct PuncturedStage {
  ConvCode code;
  WeightEnumerator enumerator;

  PuncturedStage(const PuncturedCase& c, const SectionPuncturing& puncturing, Engine engine)
      : code(c.code.description()) {
    enumerator.frameLength = c.frameLength;
    enumerator.countsInputBits = c.systematicRow != nullptr ? 1 : 0;
    enumerator.puncturing = puncturing;
    enumerator.allocate(code);
    enumerator.computeTransferMatrix(code);
    RunContext context;
    context.engine = engine;
    context.threads = 2;
    EXPECT_EQ(enumerator.computeCwef(code, context), StageEnd::Completed);
  }
  ~PuncturedStage() { enumerator.release(code); }
  std::int32_t maxWeight() const { return enumerator.layerMaxWeight(code); }
};

class PuncturedCwef : public ::testing::TestWithParam<PuncturedCase> {};

TEST_P(PuncturedCwef, EveryCellMatchesTheEnumeratedInputWords) {
  const PuncturedCase& c = GetParam();
  const CountTable counts =
      testing::exhaustiveSentCwef(ShiftRegisterEncoder::fromDescription(c.code.description()),
                                  c.frameLength, c.systematicRow, c.parityRow);
  for (const Engine engine : {Engine::Reference, Engine::Fast}) {
    const PuncturedStage stage(c, masksOf(c), engine);
    // The range D is exactly the bits sent: no word weighs more.
    testing::expectTableHoldsCounts(stage.enumerator.cwef, counts, stage.maxWeight(),
                                    c.frameLength);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Patterns, PuncturedCwef,
    ::testing::Values(
        PuncturedCase{"DefaultParityEvenSections", {"1+D+D^2", "1+D^2"}, 11, nullptr, "10"},
        PuncturedCase{"DefaultSystematicEvenSections", {"1+D+D^2", "1+D^2"}, 11, "10", "11"},
        PuncturedCase{"PrimitiveAlternating", {"1+D^2", "1+D+D^2"}, 12, "01", "10"},
        PuncturedCase{"Memory3PeriodThree", {"1+D+D^3", "1+D^2+D^3"}, 10, "110", "011"},
        PuncturedCase{"FeedforwardPeriodFour", {"1+D+D^2", "1"}, 10, nullptr, "1000"},
        PuncturedCase{"Memory4PeriodFive", {"1+D^4", "1+D+D^2+D^3+D^4"}, 9, "10110", "01101"},
        PuncturedCase{"NothingAtOddSections", {"1+D+D^2", "1+D^2"}, 9, "10", "10"}),
    [](const auto& testInfo) { return std::string(testInfo.param.name); });

class PuncturedCwefColumns : public ::testing::TestWithParam<PuncturedCase> {};

TEST_P(PuncturedCwefColumns, EveryColumnSumsToTheBinomialCoefficient) {
  // Every input word still gives exactly one terminated path, whatever is sent.
  const PuncturedCase& c = GetParam();
  for (const Engine engine : {Engine::Reference, Engine::Fast}) {
    const PuncturedStage stage(c, masksOf(c), engine);
    for (int w = 0; w <= c.frameLength; ++w) {
      double sum = LogZero;
      for (int d = 0; d <= stage.maxWeight(); ++d) {
        sum = logAdd(sum, static_cast<double>(stage.enumerator.cwef.at(d, w)));
      }
      // Single-precision cells rounded once per section: within 1e-5 in log10.
      EXPECT_NEAR(sum, log10Binomial(c.frameLength, w), 1e-5) << "w " << w;
    }
  }
}

INSTANTIATE_TEST_SUITE_P(
    LongerFrames, PuncturedCwefColumns,
    ::testing::Values(
        PuncturedCase{"DefaultRateHalf", {"1+D+D^2", "1+D^2"}, 120, nullptr, "01"},
        PuncturedCase{"PrimitiveSystematic", {"1+D^2", "1+D+D^2"}, 90, "1101", "0110"},
        PuncturedCase{"Memory3PeriodSeven", {"1+D+D^3", "1+D^2+D^3"}, 70, "1011011", "0110101"}),
    [](const auto& testInfo) { return std::string(testInfo.param.name); });

TEST(PuncturedCwef, MasksThatSendEverythingGiveTheUnpuncturedTableBitForBit) {
  // The time-varying path with masks of period 3 that keep every bit against the plain one.
  const PuncturedCase c{"", {"1+D+D^3", "1+D^2+D^3"}, 40, "111", "111"};
  for (const Engine engine : {Engine::Reference, Engine::Fast}) {
    const PuncturedStage plain(c, {}, engine);
    const PuncturedStage everything(c, masksOf(c), engine);
    ASSERT_EQ(everything.maxWeight(), plain.maxWeight());
    for (int d = 0; d <= plain.maxWeight(); ++d) {
      ASSERT_EQ(std::memcmp(everything.enumerator.cwef.row(d), plain.enumerator.cwef.row(d),
                            sizeof(float) * (c.frameLength + 1)),
                0)
          << "row " << d;
    }
  }
}

}  // namespace
}  // namespace brevandor
