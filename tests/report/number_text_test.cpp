#include "report/number_text.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <string>

#include "logmath/log_domain.h"

namespace brevandor {
namespace {

// The readable name of a case of a table: its `name` field.
template <class Case>
std::string caseName(const ::testing::TestParamInfo<Case>& info) {
  return info.param.name;
}

struct DecimalCase {
  const char* name;
  double log10Value;
  int digits;
  const char* expected;  // worked out by hand from the power of ten
};

class DecimalFromLog10Test : public ::testing::TestWithParam<DecimalCase> {};

TEST_P(DecimalFromLog10Test, WritesTheCountInScientificNotation) {
  EXPECT_EQ(decimalFromLog10(GetParam().log10Value, GetParam().digits), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Counts, DecimalFromLog10Test,
    ::testing::Values(
        DecimalCase{"One", 0.0, 7, "1.000000e+00"},
        DecimalCase{"Four_thousand", 3.6020599913279625, 10, "4.000000000e+03"},  // log10 4000
        DecimalCase{"Half", -0.3010299956639812, 7, "5.000000e-01"},              // log10 0.5
        // 10^−307.5 = 10^0.5 · 10^−308, just above the logarithm that stands for zero.
        DecimalCase{"Just_above_LogZero", -307.5, 4, "3.162e-308"},
        // 10^3010.3 = 10^0.3 · 10^3010, far above it (10^0.3 = 1.99526…).
        DecimalCase{"Above_doubles", 3010.3, 6, "1.99526e+3010"},
        // 9.99999999… rounds up to 10 at three digits: the exponent takes the carry.
        DecimalCase{"Mantissa_carries", std::log10(9.9999999), 3, "1.00e+01"},
        DecimalCase{"Zero_count", LogZero, 7, "0"}),
    caseName<DecimalCase>);

TEST(ExactText, ReadsBackToTheSameValue) {
  for (const double value : {0.1, 3.499290e-03, 1.0 / 3.0, 5.560762e-01, 1e-300}) {
    EXPECT_EQ(std::strtod(exactText(value).c_str(), nullptr), value) << exactText(value);
  }
  // Beyond a double's range every extended digit is kept.
  const long double huge = 1.36e309L;
  EXPECT_EQ(std::strtold(exactText(huge).c_str(), nullptr), huge);
  // A double is written in its shortest form.
  EXPECT_EQ(exactText(0.1), "0.1");
}

}  // namespace
}  // namespace brevandor
