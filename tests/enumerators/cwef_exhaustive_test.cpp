#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "code/code_description.h"
#include "enumerators/weight_enumerator.h"
#include "logmath/log_domain.h"
#include "support/exhaustive_encoder.h"
#include "support/table_checks.h"
#include "support/test_codes.h"

namespace brevandor {
namespace {

using testing::CodeCase;
using testing::CountTable;
using testing::describeOrDie;
using testing::exhaustiveCwef;
using testing::ShiftRegisterEncoder;

// Recursive and feedforward codes of memories 2 to 5.
const CodeCase kCodes[] = {
    {"1+D^2", "1+D+D^2", false}, {"1+D+D^2", "1+D^2", false},
    {"1+D+D^2", "1", false},     {"1+D+D^3", "1+D^2+D^3", false},
    {"1+D^2+D^3", "1", false},   {"1+D^4", "1+D+D^2+D^3+D^4", false},
    {"1+D+D^3+D^4", "1", false}, {"1+D+D^2+D^3+D^5", "1+D^2+D^5", false},
    {"1+D+D^2", "1+D^2", true},  {"1+D^2+D^3", "1", true},
};

struct CwefCase {
  CodeCase code;
  std::int32_t frameLength;
  std::uint32_t countsInputBits;
};

std::string caseName(const ::testing::TestParamInfo<CwefCase>& info) {
  return info.param.code.name() + "_N" + std::to_string(info.param.frameLength) +
         (info.param.countsInputBits != 0 ? "_all" : "_parity");
}

// Runs the reference CWEF stage of one code for one frame.
struct ComputedCwef {
  ConvCode code;
  WeightEnumerator enumerator;

  ComputedCwef(const CodeDescription& description, std::int32_t frameLength,
               std::uint32_t countsInputBits)
      : code(description) {
    enumerator.frameLength = frameLength;
    enumerator.countsInputBits = countsInputBits;
    enumerator.allocate(code);
    enumerator.computeTransferMatrix(code);
    RunContext context;
    context.engine = Engine::Reference;
    EXPECT_EQ(enumerator.computeCwef(code, context), StageEnd::Completed);
  }
  ~ComputedCwef() { enumerator.release(code); }
  std::int32_t maxWeight() const { return enumerator.layerMaxWeight(code); }
};

class CwefAgainstEncoder : public ::testing::TestWithParam<CwefCase> {};

TEST_P(CwefAgainstEncoder, EveryCellMatchesTheEnumeratedInputWords) {
  const CwefCase& param = GetParam();
  const CodeDescription description = param.code.description();
  const ComputedCwef computed(description, param.frameLength, param.countsInputBits);
  const CountTable counts = exhaustiveCwef(ShiftRegisterEncoder::fromDescription(description),
                                           param.frameLength, param.countsInputBits != 0);
  // Every path lies within the layers' weight range.
  testing::expectTableHoldsCounts(computed.enumerator.cwef, counts, computed.maxWeight(),
                                  param.frameLength);
}

std::vector<CwefCase> exhaustiveCases() {
  std::vector<CwefCase> cases;
  for (const CodeCase& code : kCodes) {
    for (const std::int32_t frameLength : {1, 2, 5, 11}) {
      cases.push_back({code, frameLength, 1});
      if (!code.counterpart) {
        cases.push_back({code, frameLength, 0});
      }
    }
  }
  cases.push_back({kCodes[1], 14, 0});
  cases.push_back({kCodes[3], 13, 1});
  return cases;
}

INSTANTIATE_TEST_SUITE_P(Codes, CwefAgainstEncoder, ::testing::ValuesIn(exhaustiveCases()),
                         caseName);

class TailWeights : public ::testing::TestWithParam<CodeCase> {};

TEST_P(TailWeights, MatchTheEncodersTailFromEveryState) {
  const CodeDescription description = GetParam().description();
  const ConvCode code(description);
  const ShiftRegisterEncoder encoder = ShiftRegisterEncoder::fromDescription(description);
  ASSERT_EQ(code.stateCount, encoder.stateCount());
  for (const std::uint32_t countsInputBits : {0u, 1u}) {
    WeightEnumerator enumerator;
    enumerator.frameLength = 4;
    enumerator.countsInputBits = countsInputBits;
    enumerator.allocate(code);
    enumerator.computeTransferMatrix(code);
    std::vector<std::int32_t> tails(static_cast<std::size_t>(code.stateCount), -1);
    enumerator.computeTailWeights(code, tails, RunContext{});
    for (std::uint32_t state = 0; state < static_cast<std::uint32_t>(code.stateCount); ++state) {
      EXPECT_EQ(tails[state], encoder.tailWeight(state)) << "state " << state;
    }
    enumerator.release(code);
  }
}

std::string codeName(const ::testing::TestParamInfo<CodeCase>& info) {
  return info.param.name();
}

INSTANTIATE_TEST_SUITE_P(Codes, TailWeights, ::testing::ValuesIn(kCodes), codeName);

// Longer frames, checked by sums: every input word gives exactly one terminated path.
class CwefColumnSums : public ::testing::TestWithParam<CwefCase> {};

TEST_P(CwefColumnSums, EveryColumnSumsToTheBinomialCoefficient) {
  const CwefCase& param = GetParam();
  const ComputedCwef computed(param.code.description(), param.frameLength, param.countsInputBits);
  const WeightEnumerator& enumerator = computed.enumerator;
  const std::int32_t n = param.frameLength;
  // Cells are rounded to single precision once per section; for these frames the sums stay
  // within 2e-6 of the exact logarithm (a relative error of 5e-6 in the count).
  const double tolerance = 1e-5;
  for (int w = 0; w <= n; ++w) {
    double sum = LogZero;
    for (int d = 0; d <= computed.maxWeight(); ++d) {
      sum = logAdd(sum, static_cast<double>(enumerator.cwef.at(d, w)));
    }
    EXPECT_NEAR(sum, log10Binomial(n, w), tolerance) << "w " << w;
  }
  EXPECT_EQ(enumerator.cwef.at(0, 0), 0.0f);
  for (int d = 1; d <= computed.maxWeight(); ++d) {
    EXPECT_EQ(enumerator.cwef.at(d, 0), kLogZeroFloat) << "d " << d;
  }
}

INSTANTIATE_TEST_SUITE_P(Frames, CwefColumnSums,
                         ::testing::Values(CwefCase{kCodes[1], 150, 0}, CwefCase{kCodes[0], 96, 1},
                                           CwefCase{kCodes[5], 48, 1}, CwefCase{kCodes[4], 64, 0},
                                           CwefCase{kCodes[8], 64, 1}),
                         caseName);

}  // namespace
}  // namespace brevandor
