#include "bounds/union/bound_formulas.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "bounds/numerics/special_functions.h"
#include "support/case_name.h"

namespace brevandor {
namespace {

constexpr double kExampleRate = 2.0 / 14.0;
const double kFiveDecibels = std::pow(10.0, 0.5);

// The weighted spectrum of the default code at a frame of two bits: B[9] = B[10] = 1, D = 14.
std::vector<double> twoBitFrameSpectrum() {
  std::vector<double> spectrum(15, 0.0);
  spectrum[9] = 1.0;
  spectrum[10] = 1.0;
  return spectrum;
}

std::string scientific(double value) {
  char text[32];
  std::snprintf(text, sizeof text, "%e", value);
  return text;
}

// The three bounds of the two-bit frame at 0 and 5 dB, as the results file prints them.
// With ρ ≤ 1 the improved bound settles on ρ = 1 and equals the exponential union bound.
struct ExamplePoint {
  double snr;
  const char* unionQ;
  const char* unionExp;
};

class TwoBitFrameBounds : public ::testing::TestWithParam<ExamplePoint> {};

TEST_P(TwoBitFrameBounds, PrintAsExpected) {
  const ExamplePoint& p = GetParam();
  const std::vector<double> b = twoBitFrameSpectrum();
  EXPECT_EQ(scientific(boundUnionQ(b, 14, kExampleRate, p.snr)), p.unionQ);
  EXPECT_EQ(scientific(boundUnionExp(b, 14, kExampleRate, p.snr)), p.unionExp);
  EXPECT_EQ(scientific(boundViterbi(b, 14, kExampleRate, p.snr)), p.unionExp);
}

INSTANTIATE_TEST_SUITE_P(BothEnds, TwoBitFrameBounds,
                         ::testing::Values(ExamplePoint{1.0, "9.988920e-02", "5.161041e-01"},
                                           ExamplePoint{kFiveDecibels, "3.499290e-03",
                                                        "2.806536e-02"}),
                         [](const auto& named) { return testing::caseName(named.param.unionQ); });

TEST(OptimalRho, TwoBitFrameSettlesOnOneAtBothEnds) {
  for (const double snr : {1.0, kFiveDecibels}) {
    for (const int d : {9, 10}) {
      EXPECT_EQ(optimalRho(d / 14.0, 0.0, snr * kExampleRate), 1.0) << d;
    }
  }
}

// Whatever the entry, the search never leaves 0 < ρ ≤ 1, where the bound holds.
TEST(OptimalRho, NeverExceedsOne) {
  for (const double delta : {0.01, 0.1, 0.3, 0.5}) {
    for (const double r : {0.0, 0.05, 0.2, 0.5}) {
      for (const double c : {0.05, 0.3, 1.0}) {
        const double rho = optimalRho(delta, r, c);
        EXPECT_GT(rho, 0.0);
        EXPECT_LE(rho, 1.0);
      }
    }
  }
}

// A long frame's typical entry: the literal grid up to 1.05 would pick 1.05, whose "bound"
// lies below the union bound term; the search must stop at 1.
TEST(OptimalRho, StopsAtOneWhereTheExponentStillRises) {
  const double delta = 0.3;
  const double r = 0.01;
  const double c = 0.5;
  ASSERT_GT(viterbiExponent(1.05, delta, r, c), viterbiExponent(1.0, delta, r, c));
  EXPECT_EQ(optimalRho(delta, r, c), 1.0);
}

// When no ρ beats 0.05 the search falls back to 1.0, the union bound's exponent.
TEST(OptimalRho, FallsBackToOneWhenNothingBeatsTheFirstPoint) {
  const double delta = 0.5;
  const double r = 5.0;
  const double c = 0.2;
  const double first = viterbiExponent(0.05, delta, r, c);
  for (int i = 2; i <= 20; ++i) {
    ASSERT_LE(viterbiExponent(0.05 * i, delta, r, c), first) << i;
  }
  EXPECT_EQ(optimalRho(delta, r, c), 1.0);
}

TEST(OptimalRho, PicksTheInteriorMaximum) {
  const double delta = 0.2;
  const double r = 0.2;
  const double c = 1.0;
  const double rho = optimalRho(delta, r, c);
  ASSERT_LT(rho, 0.99);
  for (int i = 1; i <= 20; ++i) {
    EXPECT_LE(viterbiExponent(0.05 * i, delta, r, c), viterbiExponent(rho, delta, r, c)) << i;
  }
}

// At ρ = 1 the exponent reduces to δc − r: the integrals are then e^−c and 1.
TEST(ViterbiExponent, AtRhoOneIsTheUnionExponent) {
  for (const double c : {0.1, 0.7, 2.0}) {
    for (const double delta : {0.1, 0.4}) {
      EXPECT_NEAR(viterbiExponent(1.0, delta, 0.2, c), delta * c - 0.2, 1e-10) << c;
    }
  }
}

TEST(UnionBounds, EntryAtTheLargestWeightContributes) {
  std::vector<double> b(15, 0.0);
  b[14] = 3.0;
  const double snr = 1.5;
  EXPECT_DOUBLE_EQ(boundUnionQ(b, 14, kExampleRate, snr),
                   3.0 * gaussianQ(std::sqrt(2.0 * snr * kExampleRate * 14)));
  EXPECT_DOUBLE_EQ(boundUnionExp(b, 14, kExampleRate, snr),
                   3.0 * std::exp(-14 * kExampleRate * snr));
  EXPECT_GT(boundViterbi(b, 14, kExampleRate, snr), 0.0);
}

}  // namespace
}  // namespace brevandor
