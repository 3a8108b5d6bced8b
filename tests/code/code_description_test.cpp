#include "code/code_description.h"

#include <gtest/gtest.h>

#include "code/conv_code.h"
#include "code/polynomial.h"

namespace brevandor {
namespace {

CodeDescription describe(const char* numerator, const char* denominator) {
  DescribedCode described = describeCode(parsePolynomial(numerator), parsePolynomial(denominator));
  EXPECT_TRUE(described) << numerator << " / " << denominator << ": " << described.failure;
  return described.description.value_or(CodeDescription{});
}

TEST(DescribeCode, DefaultCodeIsRecursiveSystematic) {
  const CodeDescription code = describe("1+D+D^2", "1+D^2");
  EXPECT_EQ(code.kind, RecursiveSystematic);
  EXPECT_EQ(code.k, 1);
  EXPECT_EQ(code.n, 2);
  EXPECT_EQ(code.registerLength, 3);
  EXPECT_EQ(code.generators, (std::array<std::int32_t, 5>{1, 7 + 5 * 65536, 0, 0, 0}));
}

TEST(DescribeCode, DenominatorOneGivesFeedforwardCode) {
  const CodeDescription code = describe("1+D+D^2", "1");
  EXPECT_EQ(code.kind, NonRecursiveSystematic);
  EXPECT_EQ(code.generators, (std::array<std::int32_t, 5>{1, 7, 0, 0, 0}));
}

TEST(DescribeCode, LargerDegreeSetsRegisterLength) {
  EXPECT_EQ(describe("1+D^3", "1+D").registerLength, 4);
  EXPECT_EQ(describe("1+D", "1+D^3").registerLength, 4);
  EXPECT_EQ(describe("1+D^9", "1").registerLength, 10);
}

TEST(DescribeCode, RefusesCodesOfDegreeBelowTwo) {
  for (const auto& [numerator, denominator] :
       {std::pair{"1+D", "1"}, std::pair{"1+D", "1+D"}, std::pair{"1", "1"}, std::pair{"D", "1"}}) {
    const DescribedCode described =
        describeCode(parsePolynomial(numerator), parsePolynomial(denominator));
    EXPECT_FALSE(described) << numerator << " / " << denominator;
    EXPECT_EQ(described.failure, "Invalid Parity Equation ");
  }
}

TEST(DescribeCode, RefusesDenominatorWithoutConstantTerm) {
  for (const char* denominator : {"D+D^2", "D^2", "D^3+D"}) {
    const DescribedCode described =
        describeCode(parsePolynomial("1+D+D^2"), parsePolynomial(denominator));
    EXPECT_FALSE(described) << denominator;
    EXPECT_EQ(described.failure, kFeedbackWithoutConstantTerm);
    EXPECT_NE(described.failure, kInvalidParityEquation);
  }
}

TEST(DescribeCode, NumeratorWithoutConstantTermIsAccepted) {
  const CodeDescription code = describe("D+D^2", "1+D^2");
  EXPECT_EQ(code.kind, RecursiveSystematic);
  EXPECT_EQ(code.generators[1], 6 + 5 * 65536);
}

TEST(CodeKindText, AllFourKinds) {
  EXPECT_EQ(codeKindText(0), "Non-Recursive Non Systematic");
  EXPECT_EQ(codeKindText(1), "Non-Recursive Systematic");
  EXPECT_EQ(codeKindText(2), "Recursive Non Systematic");
  EXPECT_EQ(codeKindText(3), "Recursive Systematic");
}

TEST(NonSystematicCounterpart, KeepsFeedbackAndDropsSystematicBit) {
  const CodeDescription inner = nonSystematicCounterpart(describe("1+D+D^2", "1+D^2"));
  EXPECT_EQ(inner.kind, RecursiveNonSystematic);
  EXPECT_EQ(inner.n, 1);
  EXPECT_EQ(inner.generators, (std::array<std::int32_t, 5>{7 + 5 * 65536, 7 + 5 * 65536, 0, 0, 0}));
  EXPECT_EQ(nonSystematicCounterpart(describe("1+D+D^2", "1")).kind, NonRecursiveNonSystematic);
}

}  // namespace
}  // namespace brevandor
