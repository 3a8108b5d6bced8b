#include "code/polynomial.h"

#include <gtest/gtest.h>

#include <string>

#include "support/case_name.h"

namespace brevandor {
namespace {

struct ParseCase {
  const char* text;
  std::int32_t expected;
};

class ParsePolynomialTest : public ::testing::TestWithParam<ParseCase> {};

TEST_P(ParsePolynomialTest, GivesMaskZeroOrNegatedFlags) {
  EXPECT_EQ(parsePolynomial(GetParam().text), GetParam().expected)
      << "text: \"" << GetParam().text << "\"";
}

INSTANTIATE_TEST_SUITE_P(Masks, ParsePolynomialTest,
                         ::testing::Values(ParseCase{"1+D+D^2", 7}, ParseCase{"1+D^2", 5},
                                           ParseCase{" 1 + D + D ^ 2 ", 7}, ParseCase{"D+1", 3},
                                           ParseCase{"1+D", 3}, ParseCase{"D2+1", 5},
                                           ParseCase{"1+D^5", 33}, ParseCase{"D^9", 512},
                                           ParseCase{"1+D^5+D^9", 545}, ParseCase{"1+D^2++D^3", 13},
                                           ParseCase{"+1+", 1}, ParseCase{"D^2D^3", 12},
                                           ParseCase{"D^0", 1}, ParseCase{"1", 1}),
                         [](const auto& named) { return testing::caseName(named.param.text); });

INSTANTIATE_TEST_SUITE_P(NoTerm, ParsePolynomialTest,
                         ::testing::Values(ParseCase{"", 0}, ParseCase{"   ", 0}, ParseCase{"+", 0},
                                           ParseCase{"++", 0}),
                         [](const auto& named) { return testing::caseName(named.param.text); });

INSTANTIATE_TEST_SUITE_P(Duplicates, ParsePolynomialTest,
                         ::testing::Values(ParseCase{"1+D^0", -1}, ParseCase{"D+D^1", -1},
                                           ParseCase{"1+1", -1}, ParseCase{"D2+D^2", -1}),
                         [](const auto& named) { return testing::caseName(named.param.text); });

INSTANTIATE_TEST_SUITE_P(IllegalGrammar, ParsePolynomialTest,
                         ::testing::Values(ParseCase{"1D", -2}, ParseCase{"2+D", -2},
                                           ParseCase{"1+D^", -2}, ParseCase{"1+D0", -2},
                                           ParseCase{"1+d", -2}, ParseCase{"1+D*D", -2},
                                           ParseCase{"1+x", -2}, ParseCase{"1+\tD", -2},
                                           ParseCase{"-1", -2}, ParseCase{"1+D^x", -2},
                                           ParseCase{"0", -2}),
                         [](const auto& named) { return testing::caseName(named.param.text); });

INSTANTIATE_TEST_SUITE_P(TooLargeAndCombined, ParsePolynomialTest,
                         ::testing::Values(ParseCase{"1+D^10", -4}, ParseCase{"1+D12", -4},
                                           ParseCase{"D+D^12", -5}, ParseCase{"1+11", -3}),
                         [](const auto& named) { return testing::caseName(named.param.text); });

TEST(ParsePolynomial, StopsAtFirstFailingItem) {
  // The first item is illegal; the later duplicate is never looked at.
  EXPECT_EQ(parsePolynomial("x+1+1"), -2);
  // The duplicate comes first; the later illegal character is never reached.
  EXPECT_EQ(parsePolynomial("1+D+D+x"), -1);
}

TEST(PolynomialMessage, NoPolynomial) {
  EXPECT_EQ(polynomialMessage(0), " Error : No Polynomial ");
}

TEST(PolynomialMessage, IllegalGrammarHasTwoLeadingBlanks) {
  EXPECT_EQ(polynomialMessage(2), "  Illegal Grammar ");
}

TEST(PolynomialMessage, JoinsFlagTextsInOrder) {
  EXPECT_EQ(polynomialMessage(5),
            std::string(" ") + " Coefficient of D^n for all n should be 0 or 1 " +
                " Exponent n (in D^n) larger than or equal to 10 not supported ");
  EXPECT_EQ(polynomialMessage(7), std::string(" ") +
                                      " Coefficient of D^n for all n should be 0 or 1 " +
                                      " Illegal Grammar " +
                                      " Exponent n (in D^n) larger than or equal to 10 not "
                                      "supported ");
}

TEST(DigitValue, DigitsAndOthers) {
  for (char c = '0'; c <= '9'; ++c) {
    EXPECT_EQ(digitValue(c), c - '0');
  }
  for (const char c : {'a', 'D', '/', ':', ' ', '\0', '^'}) {
    EXPECT_EQ(digitValue(c), -1);
  }
}

TEST(PolynomialText, WritesTheWindowDefaultsInTheirUsualForm) {
  EXPECT_EQ(polynomialText(7), "1+D+D^2");
  EXPECT_EQ(polynomialText(5), "1+D^2");
  EXPECT_EQ(polynomialText(2 + 512), "D+D^9");
}

TEST(PolynomialText, ParsesBackToEveryMask) {
  for (std::int32_t mask = 1; mask < 1024; ++mask) {
    ASSERT_EQ(parsePolynomial(polynomialText(mask)), mask) << polynomialText(mask);
  }
}

}  // namespace
}  // namespace brevandor
