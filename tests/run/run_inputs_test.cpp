#include "run/run_inputs.h"

#include <gtest/gtest.h>

#include <string>

#include "support/case_name.h"

namespace brevandor {
namespace {

struct FrameLengthCase {
  const char* text;
  std::int32_t value;  // 0: refused
  const char* message;
};

class CheckFrameLengthTest : public ::testing::TestWithParam<FrameLengthCase> {};

TEST_P(CheckFrameLengthTest, AcceptsTenToTenThousandOnly) {
  const FrameLengthCheck check = checkFrameLength(GetParam().text);
  if (GetParam().value != 0) {
    EXPECT_EQ(check.value, GetParam().value);
    EXPECT_EQ(check.message, "");
  } else {
    EXPECT_FALSE(check.value.has_value());
    EXPECT_EQ(check.message, GetParam().message);
  }
}

constexpr const char* kRange = "Please enter an integer between 10 and 10000.";
constexpr const char* kNumber = "Please enter a positive integer.";

INSTANTIATE_TEST_SUITE_P(
    Texts, CheckFrameLengthTest,
    ::testing::Values(FrameLengthCase{"128", 128, ""}, FrameLengthCase{"10", 10, ""},
                      FrameLengthCase{"10000", 10000, ""}, FrameLengthCase{"  512  ", 512, ""},
                      FrameLengthCase{"9", 0, kRange}, FrameLengthCase{"10001", 0, kRange},
                      FrameLengthCase{"0", 0, kRange},
                      FrameLengthCase{"99999999999999999999999", 0, kRange},
                      FrameLengthCase{"", 0, kNumber}, FrameLengthCase{"   ", 0, kNumber},
                      FrameLengthCase{"-5", 0, kNumber}, FrameLengthCase{"12a", 0, kNumber},
                      FrameLengthCase{"1 2", 0, kNumber}, FrameLengthCase{"+12", 0, kNumber}),
    [](const auto& named) { return testing::caseName(named.param.text); });

struct ModeCase {
  const char* name;
  const char* text;
  std::int32_t maxWeight;  // 0: the whole spectrum
  std::int32_t value;      // 0: refused
};

class CheckFrameLengthByModeTest : public ::testing::TestWithParam<ModeCase> {};

// Both front ends call this rule: low-weight mode accepts frames up to a million bits.
TEST_P(CheckFrameLengthByModeTest, LowWeightModeAcceptsAMillionBits) {
  const ModeCase& c = GetParam();
  const FrameLengthCheck check = checkFrameLength(c.text, c.maxWeight);
  if (c.value != 0) {
    EXPECT_EQ(check.value, c.value);
  } else {
    EXPECT_EQ(check.message,
              c.maxWeight == 0 ? kRange : "Please enter an integer between 10 and 1000000.");
  }
}

INSTANTIATE_TEST_SUITE_P(
    Modes, CheckFrameLengthByModeTest,
    ::testing::Values(ModeCase{"WholeSpectrumAtItsLimit", "10000", 0, 10000},
                      ModeCase{"WholeSpectrumBeyond", "10001", 0, 0},
                      ModeCase{"LowWeightBeyondTheWholeLimit", "10001", 20, 10001},
                      ModeCase{"LowWeightAtItsLimit", "1000000", 20, 1000000},
                      ModeCase{"LowWeightBeyond", "1000001", 1, 0},
                      ModeCase{"LowWeightBelowTen", "9", 20, 0}),
    [](const ::testing::TestParamInfo<ModeCase>& param) { return std::string(param.param.name); });

TEST(CheckMaxWeight, AcceptsOneToAMillion) {
  EXPECT_EQ(checkMaxWeight("1").value, 1);
  EXPECT_EQ(checkMaxWeight(" 20 ").value, 20);
  EXPECT_EQ(checkMaxWeight("1000000").value, 1000000);
  EXPECT_EQ(checkMaxWeight("0").message, "Please enter an integer between 1 and 1000000.");
  EXPECT_EQ(checkMaxWeight("1000001").message, "Please enter an integer between 1 and 1000000.");
  EXPECT_EQ(checkMaxWeight("").message, kNumber);
  EXPECT_EQ(maxFrameLengthFor(0), 10000);
  EXPECT_EQ(maxFrameLengthFor(20), 1000000);
}

TEST(CheckFrameLength, ReadsAtMostThirtyOneCharacters) {
  // Thirty blanks and "1" fit; the "2" in place 32 is not read.
  EXPECT_EQ(checkFrameLength(std::string(29, ' ') + "15" + "2").value, 15);
}

TEST(CodeFromTexts, DenominatorMessageComesFirst) {
  const CodeFromTexts refused = codeFromTexts("1+x", "1+D^10");
  EXPECT_FALSE(refused);
  EXPECT_EQ(refused.field, CodeField::Denominator);
  EXPECT_EQ(refused.message, "  Exponent n (in D^n) larger than or equal to 10 not supported ");
}

TEST(CodeFromTexts, NumeratorMessageWhenDenominatorParses) {
  const CodeFromTexts refused = codeFromTexts("", "1+D^2");
  EXPECT_EQ(refused.field, CodeField::Numerator);
  EXPECT_EQ(refused.message, " Error : No Polynomial ");
}

TEST(CodeFromTexts, CodeRefusals) {
  EXPECT_EQ(codeFromTexts("1+D", "1").message, "Invalid Parity Equation ");
  EXPECT_EQ(codeFromTexts("1+D", "1").field, CodeField::Code);
  EXPECT_EQ(codeFromTexts("1+D+D^2", "D+D^2").message, kFeedbackWithoutConstantTerm);
}

TEST(CodeFromTexts, DefaultTextsDescribeDefaultCode) {
  const CodeFromTexts code = codeFromTexts(kDefaultNumerator, kDefaultDenominator);
  ASSERT_TRUE(code);
  EXPECT_EQ(code.description->registerLength, 3);
  EXPECT_EQ(code.description->generators[1], 7 + 5 * 65536);
}

TEST(EntryMessages, Texts) {
  EXPECT_EQ(outOfRangeMessage(10, 10000), "Please enter an integer between 10 and 10000.");
  EXPECT_EQ(tooLongMessage(100), "Please enter no more than 100 characters.");
}

}  // namespace
}  // namespace brevandor
