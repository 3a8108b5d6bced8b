#include "bounds/ebn0_grid.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

namespace brevandor {
namespace {

// The default grid is the bounds' original 21 points, bit for bit in dB and as ratios.
TEST(EbN0Grid, DefaultIsTheOriginalPointsExactly) {
  const EbN0Grid grid;
  ASSERT_EQ(grid.count(), 21);
  for (std::int32_t j = 0; j < 21; ++j) {
    EXPECT_EQ(grid.decibels(j), 0.25 * j) << j;
    EXPECT_EQ(grid.ratio(j), std::pow(10.0, 0.025 * j)) << j;
  }
  EXPECT_EQ(formatEbN0Grid(grid), "0:0.25:5");
}

struct GoodGrid {
  const char* name;
  const char* text;
  std::int32_t points;
  double last;  // decibels of the last point
};

class ParsedGrid : public ::testing::TestWithParam<GoodGrid> {};

TEST_P(ParsedGrid, HasItsPoints) {
  const GoodGrid& c = GetParam();
  const EbN0GridCheck check = parseEbN0Grid(c.text);
  ASSERT_TRUE(check.grid) << check.message;
  EXPECT_EQ(check.grid->count(), c.points);
  EXPECT_NEAR(check.grid->decibels(c.points - 1), c.last, 1e-12);
  const double ratio = std::pow(10.0, c.last / 10.0);
  EXPECT_NEAR(check.grid->ratio(c.points - 1), ratio, 1e-13 * ratio);
}

// Point counts worked by hand: (TO − FROM) / STEP + 1, TO reached despite 0.1 not being exact.
INSTANTIATE_TEST_SUITE_P(Grids, ParsedGrid,
                         ::testing::Values(GoodGrid{"Default", "0:0.25:5", 21, 5.0},
                                           GoodGrid{"TenthsReachTheEnd", "0:0.1:0.3", 4, 0.3},
                                           GoodGrid{"StepPastTheEnd", "1:2:6", 3, 5.0},
                                           GoodGrid{"OnePoint", "3:1:3", 1, 3.0},
                                           GoodGrid{"Blanks", " -5 : 0.5 : -4 ", 3, -4.0},
                                           GoodGrid{"WholeRange", "-5:0.035:30", 1001, 30.0}),
                         [](const auto& testInfo) { return std::string(testInfo.param.name); });

struct BadGrid {
  const char* name;
  const char* text;
  const char* why;  // part of the message
};

class RefusedGrid : public ::testing::TestWithParam<BadGrid> {};

TEST_P(RefusedGrid, SaysWhy) {
  const BadGrid& c = GetParam();
  const EbN0GridCheck check = parseEbN0Grid(c.text);
  EXPECT_FALSE(check.grid);
  EXPECT_NE(check.message.find(c.why), std::string::npos) << check.message;
}

INSTANTIATE_TEST_SUITE_P(
    Grids, RefusedGrid,
    ::testing::Values(BadGrid{"TwoFields", "0:5", "expected FROM:STEP:TO"},
                      BadGrid{"FourFields", "0:1:2:3", "expected FROM:STEP:TO"},
                      BadGrid{"Text", "0:a:5", "expected FROM:STEP:TO"},
                      BadGrid{"Empty", "", "expected FROM:STEP:TO"},
                      BadGrid{"NotANumber", "nan:1:2", "expected FROM:STEP:TO"},
                      BadGrid{"ZeroStep", "0:0:5", "step must be greater than 0"},
                      BadGrid{"NegativeStep", "5:-1:0", "step must be greater than 0"},
                      BadGrid{"Backwards", "5:1:0", "FROM must not be greater than TO"},
                      BadGrid{"BelowRange", "-5.5:1:0", "between -5 and 30 dB"},
                      BadGrid{"AboveRange", "0:1:30.5", "between -5 and 30 dB"},
                      BadGrid{"TooManyPoints", "0:0.001:5", "at most 1001 points"}),
    [](const auto& testInfo) { return std::string(testInfo.param.name); });

}  // namespace
}  // namespace brevandor
