// The given permutation's error-floor estimate, m Q(√(2 d R Eb/N0)) for one weight, at
// magnitudes down to 10^-13032: its natural log against mpmath at 40 digits
// (`m * erfc(sqrt(2 d R r) / sqrt(2)) / 2`), and the value itself where extended precision
// holds it. The section printed 0 for every estimate below 10^-308.

#include "distance/given_error_floor.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace brevandor {
namespace {

struct OneWeightCase {
  const char* name;
  std::size_t weight;
  long double multiplicity;
  double rate;
  double ebn0Ratio;
  long double expectedLog;  // mpmath, 40 digits
};

class GivenErrorFloorTest : public ::testing::TestWithParam<OneWeightCase> {};

TEST_P(GivenErrorFloorTest, LogOfTheEstimateMatchesAHighPrecisionValue) {
  const OneWeightCase& c = GetParam();
  std::vector<long double> multiplicities(c.weight + 1, 0.0L);
  multiplicities[c.weight] = c.multiplicity;
  const long double log = logTruncatedUnionEstimate(multiplicities, c.rate, c.ebn0Ratio);
  EXPECT_NEAR(static_cast<double>(log), static_cast<double>(c.expectedLog), 1e-9);
  const long double value = truncatedUnionEstimate(multiplicities, c.rate, c.ebn0Ratio);
  if (std::isnormal(value)) {
    EXPECT_NEAR(static_cast<double>(std::log(value)), static_cast<double>(log), 1e-12);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Weights, GivenErrorFloorTest,
    ::testing::Values(
        OneWeightCase{"D8At5dB", 8, 1.0L, 0.5, std::pow(10.0, 0.5), -15.21964008506688992664L},
        OneWeightCase{"D15At25dB", 15, 0.005859375L, 1.0 / 3.0, std::pow(10.0, 2.5),
                      -1591.227320844660607783L},
        OneWeightCase{"D40At30dB", 40, 2.5L, 1.0 / 3.0, 1000.0, -13338.43160344364283071L},
        OneWeightCase{"D60At30dB", 60, 0.75L, 0.5, 1000.0, -30006.70768719223085185L}),
    [](const ::testing::TestParamInfo<OneWeightCase>& test) { return test.param.name; });

}  // namespace
}  // namespace brevandor
