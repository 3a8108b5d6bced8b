#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "code/code_description.h"
#include "code/conv_code.h"
#include "code/polynomial.h"

namespace brevandor {
namespace {

ConvCode makeCode(const char* numerator, const char* denominator) {
  const DescribedCode described =
      describeCode(parsePolynomial(numerator), parsePolynomial(denominator));
  return ConvCode(described.description.value());
}

// A forward branch as the listings write it: input, two-bit output word, next state.
struct Row {
  int input;
  int output;
  int next;
};

void expectForwardRows(const ConvCode& code, const std::vector<std::vector<Row>>& rows) {
  ASSERT_EQ(code.forwardTrellis.stateCount, static_cast<int>(rows.size()));
  for (int s = 0; s < static_cast<int>(rows.size()); ++s) {
    for (int b = 0; b < 2; ++b) {
      const TrellisBranch& branch = code.forwardTrellis.row(s)[b];
      EXPECT_EQ(branch.input, rows[s][b].input) << "state " << s << " branch " << b;
      EXPECT_EQ(branch.output, rows[s][b].output) << "state " << s << " branch " << b;
      EXPECT_EQ(branch.state, rows[s][b].next) << "state " << s << " branch " << b;
    }
  }
}

TEST(BuildTrellis, DefaultCodeForwardRows) {
  const ConvCode code = makeCode("1+D+D^2", "1+D^2");
  EXPECT_EQ(code.kind, RecursiveSystematic);
  EXPECT_EQ(code.registerLength, 3);
  EXPECT_EQ(code.stateCount, 4);
  expectForwardRows(code, {{{0, 0b00, 0}, {1, 0b11, 1}},
                           {{0, 0b01, 2}, {1, 0b10, 3}},
                           {{0, 0b00, 1}, {1, 0b11, 0}},
                           {{0, 0b01, 3}, {1, 0b10, 2}}});
}

TEST(BuildTrellis, DefaultCodeReverseRows) {
  const ConvCode code = makeCode("1+D+D^2", "1+D^2");
  const std::vector<std::vector<TrellisBranch>> expected = {{{0, 0, 0b00}, {1, 2, 0b11}},
                                                            {{1, 0, 0b11}, {0, 2, 0b00}},
                                                            {{0, 1, 0b01}, {1, 3, 0b10}},
                                                            {{1, 1, 0b10}, {0, 3, 0b01}}};
  for (int t = 0; t < 4; ++t) {
    for (int b = 0; b < 2; ++b) {
      EXPECT_EQ(code.reverseTrellis.row(t)[b], expected[t][b]) << "state " << t << " entry " << b;
    }
  }
}

TEST(BuildTrellis, FeedforwardSystematicRows) {
  const ConvCode code = makeCode("1+D+D^2", "1");
  EXPECT_EQ(code.kind, NonRecursiveSystematic);
  expectForwardRows(code, {{{0, 0b00, 0}, {1, 0b11, 1}},
                           {{0, 0b01, 2}, {1, 0b10, 3}},
                           {{0, 0b01, 0}, {1, 0b10, 1}},
                           {{0, 0b00, 2}, {1, 0b11, 3}}});
}

TEST(BuildTrellis, SwappedDefaultCodeStateOne) {
  const ConvCode code = makeCode("1+D^2", "1+D+D^2");
  EXPECT_EQ(code.description.generators[1], 5 + 7 * 65536);
  const auto row = code.forwardTrellis.row(1);
  EXPECT_EQ(row[0], (TrellisBranch{0, 3, 0b01}));
  EXPECT_EQ(row[1], (TrellisBranch{1, 2, 0b10}));
}

TEST(BuildTrellis, RegisterLengthAndStatesOfLargerCodes) {
  const ConvCode four = makeCode("1+D^3", "1+D");
  EXPECT_EQ(four.registerLength, 4);
  EXPECT_EQ(four.stateCount, 8);
  const ConvCode ten = makeCode("1+D^9", "1");
  EXPECT_EQ(ten.kind, NonRecursiveSystematic);
  EXPECT_EQ(ten.registerLength, 10);
  EXPECT_EQ(ten.stateCount, 512);
  EXPECT_EQ(ten.forwardTrellis.branchCount, 2);
}

// An encoder written from the code's definition: the register holds the feedback sequence
// w_t = u_t + Σ d_i w_{t−i}; the parity is Σ a_i w_{t−i} (w replaced by u without feedback).
struct ShiftRegisterEncoder {
  int numerator;
  int denominator;  // 1 for a feedforward code
  int memory;

  // One section from `state` (bit i−1 = w_{t−i}); returns {parity, next state}.
  std::pair<int, int> step(int state, int u) const {
    int w = u;
    for (int i = 1; i <= memory; ++i) {
      if (((denominator >> i) & 1) != 0) {
        w ^= (state >> (i - 1)) & 1;
      }
    }
    int parity = (numerator & 1) != 0 ? w : 0;
    for (int i = 1; i <= memory; ++i) {
      if (((numerator >> i) & 1) != 0) {
        parity ^= (state >> (i - 1)) & 1;
      }
    }
    const int next = ((state << 1) | w) & ((1 << memory) - 1);
    return {parity, next};
  }
};

class TrellisAgainstEncoder : public ::testing::TestWithParam<std::pair<const char*, const char*>> {
};

TEST_P(TrellisAgainstEncoder, EveryKindMatchesShiftRegister) {
  const auto [numeratorText, denominatorText] = GetParam();
  const int numerator = parsePolynomial(numeratorText);
  const int denominator = parsePolynomial(denominatorText);
  const CodeDescription systematic = describeCode(numerator, denominator).description.value();
  const ShiftRegisterEncoder encoder{numerator, denominator, systematic.registerLength - 1};

  for (const CodeDescription& description : {systematic, nonSystematicCounterpart(systematic)}) {
    const ConvCode code(description);
    const bool withInput = isSystematic(code.kind);
    for (int s = 0; s < code.stateCount; ++s) {
      for (int u = 0; u < 2; ++u) {
        const auto [parity, next] = encoder.step(s, u);
        const TrellisBranch& branch = code.forwardTrellis.row(s)[u];
        EXPECT_EQ(branch.state, next) << "kind " << code.kind << " state " << s << " u " << u;
        EXPECT_EQ(branch.output, withInput ? 2 * u + parity : parity)
            << "kind " << code.kind << " state " << s << " u " << u;
      }
    }
    // With a feedback constant term every state is entered by exactly two branches.
    for (int t = 0; t < code.stateCount; ++t) {
      for (const TrellisBranch& entering : code.reverseTrellis.row(t)) {
        ASSERT_GE(entering.state, 0);
        EXPECT_EQ(code.forwardTrellis.row(entering.state)[entering.input].state, t);
      }
    }
  }
}

INSTANTIATE_TEST_SUITE_P(
    Codes, TrellisAgainstEncoder,
    ::testing::Values(std::pair{"1+D+D^2", "1+D^2"}, std::pair{"1+D^2", "1+D+D^2"},
                      std::pair{"1+D+D^2", "1"}, std::pair{"1+D+D^3", "1+D^2+D^3"},
                      std::pair{"1+D^4", "1+D+D^2+D^3+D^4"}, std::pair{"D+D^5", "1+D^2+D^5"},
                      std::pair{"1+D^3+D^4", "1"}),
    [](const auto& testInfo) { return "Code" + std::to_string(testInfo.index); });

TEST(ParityAndFeedback, CountBitsBelowRegisterLength) {
  EXPECT_EQ(parityBit(0b111, 3), 1);
  EXPECT_EQ(parityBit(0b1111, 3), 1);  // bit 3 lies outside the register
  EXPECT_EQ(parityBit(0b0110, 4), 0);
  for (int x = 0; x < 64; ++x) {
    EXPECT_EQ(feedbackSymbol(x, 5, 1), parityBit(x, 5)) << x;
  }
  // k = 2: groups 0b11 and 0b10 at positions 0 and 2 add to 5, modulo 4 that is 1.
  EXPECT_EQ(feedbackSymbol(0b1011, 4, 2), 1);
}

TEST(LengthOperations, DefaultCodeAtTenBits) {
  const ConvCode code = makeCode("1+D+D^2", "1+D^2");
  EXPECT_EQ(code.sectionCount(10), 10);
  EXPECT_EQ(code.outputLength(10), 24);
  EXPECT_EQ(code.parityLength(10), 14);
  EXPECT_EQ(code.outputLength(100), 204);
}

TEST(TailInputs, DefaultCodeDrivesEveryStateHome) {
  const ConvCode code = makeCode("1+D+D^2", "1+D^2");
  std::vector<std::int32_t> tails(4, -7);
  ASSERT_EQ(code.computeTailInputs(tails), 2);
  EXPECT_EQ(tails[0], 0);
  for (int s = 0; s < 4; ++s) {
    // Feed the first tail section's bit (lowest) first; two sections end in state 0.
    int state = s;
    for (int section = 0; section < 2; ++section) {
      state = code.forwardTrellis.row(state)[(tails[s] >> section) & 1].state;
    }
    EXPECT_EQ(state, 0) << "from state " << s;
  }
}

}  // namespace
}  // namespace brevandor
