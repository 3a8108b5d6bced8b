#include "bounds/numerics/special_functions.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

namespace brevandor {
namespace {

// A golden value of one special function, with the absolute tolerance it is held to.
struct GoldenCase {
  const char* name;
  double (*function)(double);
  double argument;
  double expected;
  double tolerance;
};

class SpecialFunctionGolden : public ::testing::TestWithParam<GoldenCase> {};

TEST_P(SpecialFunctionGolden, MatchesPublishedValue) {
  const GoldenCase& c = GetParam();
  EXPECT_NEAR(c.function(c.argument), c.expected, c.tolerance) << c.name;
}

INSTANTIATE_TEST_SUITE_P(
    Values, SpecialFunctionGolden,
    ::testing::Values(GoldenCase{"QOfZero", gaussianQ, 0.0, 0.5, 0.0},
                      GoldenCase{"ErfcOfZero", ERFC, 0.0, 1.0, 0.0},
                      // The tolerance of the fraction, not double precision, limits these two.
                      GoldenCase{"ErfcOfOne", ERFC, 1.0, 0.1572992100, 1e-10},
                      GoldenCase{"ErfcOfThree", ERFC, 3.0, 2.2090497e-5, 1e-12},
                      GoldenCase{"LogGammaHalf", logGamma, 0.5, 0.572364942924743, 1e-13},
                      GoldenCase{"LogGammaOne", logGamma, 1.0, 0.0, 1e-15},
                      GoldenCase{"LogGammaTwo", logGamma, 2.0, 0.0, 1e-15},
                      GoldenCase{"LogGammaTen", logGamma, 10.0, std::log(362880.0), 1e-12}),
    [](const auto& tested) { return std::string(tested.param.name); });

TEST(SpecialFunctions, ErfcIsPointSymmetricAboutOne) {
  for (const double x : {0.1, 0.5, 1.0, 1.2247448713915890, 1.3, 2.0, 4.5}) {
    EXPECT_DOUBLE_EQ(ERFC(-x), 2.0 - ERFC(x)) << x;
  }
}

TEST(SpecialFunctions, ErfcFollowsTheLibraryWithinTheTolerance) {
  for (double x = 0.05; x < 26.0; x += 0.37) {
    const double expected = std::erfc(x);
    EXPECT_NEAR(ERFC(x), expected, 1e-6 * expected) << x;
  }
}

TEST(SpecialFunctions, GaussianQOfRootTwoIsHalfErfcOfOne) {
  EXPECT_EQ(gaussianQ(std::sqrt(2.0)), 0.5 * ERFC(1.0));
}

// P(a, x) switches from the series to the continued fraction at x = a + 1: exactly at the
// cut the fraction serves, just below it the series, and both agree there.
TEST(SpecialFunctions, SeriesAndFractionMeetAtAPlusOne) {
  const double a = 0.5;
  const double cut = a + 1.0;
  const double below = std::nextafter(cut, 0.0);
  EXPECT_EQ(GAMMP(a, cut), 1.0 - GCF(a, cut).value);
  EXPECT_EQ(GAMMQ(a, cut), GCF(a, cut).value);
  EXPECT_EQ(GAMMP(a, below), GSER(a, below).value);
  EXPECT_EQ(GAMMQ(a, below), 1.0 - GSER(a, below).value);
  EXPECT_NEAR(GAMMP(a, below), GAMMP(a, cut), 1e-6);
  EXPECT_NEAR(GAMMP(a, cut), std::erf(std::sqrt(cut)), 1e-6);
  // ERFC meets the same cut at x² = 1.5: the smallest x with x · x ≥ 1.5 takes the fraction,
  // the double below it the series.
  double x = std::sqrt(cut);
  while (x * x < cut) {
    x = std::nextafter(x, 2.0);
  }
  while (std::nextafter(x, 0.0) * std::nextafter(x, 0.0) >= cut) {
    x = std::nextafter(x, 0.0);
  }
  const double xBelow = std::nextafter(x, 0.0);
  EXPECT_EQ(ERFC(x), GCF(a, x * x).value);
  EXPECT_EQ(ERFC(xBelow), 1.0 - GSER(a, xBelow * xBelow).value);
  EXPECT_NEAR(ERFC(x), ERFC(xBelow), 1e-6);
}

TEST(SpecialFunctions, LogGaussianQAgreesWithLogOfQWhereQIsNormal) {
  for (const double x : {0.0, 0.7, 3.0, 12.0, 30.0, 37.0}) {
    EXPECT_NEAR(logGaussianQ(x), std::log(gaussianQ(x)),
                1e-12 * (1.0 + std::fabs(std::log(gaussianQ(x)))));
  }
}

// Beyond x ≈ 37.5 Q underflows; the log-space fraction must continue smoothly and follow the
// asymptotic series ln Q(x) = −x²/2 − ln(x√(2π)) + ln(1 − 1/x² + 3/x⁴ − …).
TEST(SpecialFunctions, LogGaussianQStaysFiniteWhereQUnderflows) {
  EXPECT_LT(gaussianQ(38.6), std::numeric_limits<double>::min());
  const double pi = std::acos(-1.0);
  for (const double x : {38.6, 50.0, 200.0, 3000.0}) {
    const double asymptotic = -x * x / 2.0 - std::log(x * std::sqrt(2.0 * pi)) +
                              std::log(1.0 - 1.0 / (x * x) + 3.0 / (x * x * x * x));
    EXPECT_NEAR(logGaussianQ(x), asymptotic, 1e-6) << x;
  }
  // No jump at the change of method: the step from 37.5 to 38.6 is the slope's work.
  const double slope = -38.0;
  EXPECT_NEAR(logGaussianQ(38.6) - logGaussianQ(37.5), slope * 1.1, 0.1);
}

// Failures throw the three-line report of the routine; the run that called it ends with it.
struct FailureCase {
  const char* name;
  double (*function)(double, double);
  double a;
  double x;
  const char* message;
};

class SpecialFunctionFailure : public ::testing::TestWithParam<FailureCase> {};

TEST_P(SpecialFunctionFailure, ThrowsTheReport) {
  const FailureCase& c = GetParam();
  try {
    c.function(c.a, c.x);
    FAIL() << "no failure reported";
  } catch (const NumericalError& error) {
    EXPECT_EQ(error.what(), std::string("Numerical Recipes run-time error...\n") + c.message +
                                "\n...now exiting to system...");
  }
}

double erfcOfSecond(double, double x) {
  return ERFC(x);
}
double gserValue(double a, double x) {
  return GSER(a, x).value;
}

INSTANTIATE_TEST_SUITE_P(
    Messages, SpecialFunctionFailure,
    ::testing::Values(
        FailureCase{"ErfcOfNaN", erfcOfSecond, 0.0, std::nan(""),
                    "Invalid arguments in routine ERFC"},
        FailureCase{"GammpNegativeX", GAMMP, 0.5, -1.0, "Invalid arguments in routine GAMMP"},
        FailureCase{"GammpZeroA", GAMMP, 0.0, 1.0, "Invalid arguments in routine GAMMP"},
        FailureCase{"GammqZeroA", GAMMQ, 0.0, 1.0, "Invalid arguments in routine GAMMQ"},
        FailureCase{"GserNegativeX", gserValue, 0.5, -1.0, "x less than 0 in routine GSER"},
        FailureCase{"SeriesTooSlow", GAMMP, 1000.0, 999.0,
                    "a too large, ITMAX too small in routine GSER"},
        FailureCase{"FractionTooSlow", GAMMQ, 1e4, 10001.0,
                    "a too large, ITMAX too small in routine GCF"}),
    [](const auto& tested) { return std::string(tested.param.name); });

}  // namespace
}  // namespace brevandor
