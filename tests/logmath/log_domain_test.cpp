#include "logmath/log_domain.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

namespace brevandor {
namespace {

TEST(Log10Binomial, KnownValues) {
  EXPECT_NEAR(log10Binomial(10, 3), 2.0791812460476249, 1e-13);
  EXPECT_NEAR(log10Binomial(1000, 500), 299.4318271518636, 1e-9);
  EXPECT_NEAR(log10Binomial(52, 5), std::log10(2598960.0), 1e-12);
}

TEST(Log10Binomial, EdgesAreExactlyZero) {
  EXPECT_EQ(log10Binomial(3, 5), 0.0);
  for (const int n : {1, 7, 100, 1000, 10000}) {
    EXPECT_EQ(log10Binomial(n, 0), 0.0) << n;
    EXPECT_EQ(log10Binomial(n, n), 0.0) << n;
  }
}

TEST(Log10Binomial, IsSymmetric) {
  for (const int k : {1, 17, 250, 499}) {
    EXPECT_NEAR(log10Binomial(1000, k), log10Binomial(1000, 1000 - k), 1e-10) << k;
  }
}

// The row for every k is the single values, bit for bit, at the edges too.
TEST(Log10Binomial, RowEqualsSingleValuesExactly) {
  for (const std::int32_t n : {0, 1, 2, 7, 100, 1031}) {
    const std::vector<double> row = log10BinomialRow(n);
    ASSERT_EQ(row.size(), static_cast<std::size_t>(n) + 1);
    for (std::int32_t k = 0; k <= n; ++k) {
      ASSERT_EQ(row[static_cast<std::size_t>(k)], log10Binomial(n, k)) << n << " " << k;
    }
  }
}

TEST(LogAdd, AddsCounts) {
  EXPECT_NEAR(logAdd(2, 2), 2.3010299956639812, 1e-14);
  EXPECT_NEAR(logAdd(0, std::log10(3.0)), std::log10(4.0), 1e-15);
}

TEST(LogAdd, LogZeroCountsAsZero) {
  EXPECT_EQ(logAdd(LogZero, 5), 5.0);
  EXPECT_EQ(logAdd(5, LogZero), 5.0);
  EXPECT_EQ(logAdd(LogZero, LogZero), LogZero);
  // Below LogZero is not LogZero: the powers are added as they are.
  EXPECT_EQ(logAdd(5, -400), 5.0);
  // A value below LogZero is a count all the same (10^−400), not a zero.
  EXPECT_EQ(logAdd(LogZero, -400), -400.0);
  EXPECT_EQ(logAdd(-400, LogZero), -400.0);
}

TEST(LogAdd, ShiftStartsJustBelowThreshold) {
  const double threshold = 308.0 - std::log10(2.0);
  EXPECT_EQ(logAddShift(threshold - 1e-9), 0.0);
  EXPECT_EQ(logAddShift(threshold), 1.0);
  EXPECT_EQ(logAddShift(307.9), 1.0);
  EXPECT_EQ(logAddShift(308.6989), 1.0);
  EXPECT_EQ(logAddShift(308.7), 2.0);
  EXPECT_EQ(logAddShift(3010.3), 2703.0);
}

TEST(LogAdd, LargeArgumentsStayFinite) {
  EXPECT_NEAR(logAdd(307.9, 307.9), 308.2010299956640, 1e-12);
  EXPECT_NEAR(logAdd(307.6, 307.6), 307.9010299956640, 1e-12);
  EXPECT_NEAR(logAdd(3000.0, 3000.0), 3000.3010299956640, 1e-11);
  EXPECT_NEAR(logAdd(3000.0, 2999.0), 3000.0 + std::log10(1.1), 1e-11);
}

// Counts far below 10^−308 (the last weights of long frames) are added as counts: the powers
// are shifted up instead of turning subnormal or vanishing (−400 and −400 gave −∞).
TEST(LogAdd, SmallArgumentsKeepTheirDigits) {
  const double threshold = 308.0 - std::log10(2.0);
  EXPECT_EQ(logAddShift(-threshold), 0.0);
  EXPECT_EQ(logAddShift(-threshold - 1e-9), -1.0);
  EXPECT_EQ(logAddShift(-551.0), -244.0);
  EXPECT_NEAR(logAdd(-400.0, -400.0), -400.0 + std::log10(2.0), 1e-12);
  EXPECT_NEAR(logAdd(-551.0, -552.0), -551.0 + std::log10(1.1), 1e-12);
  EXPECT_NEAR(logAdd(-300.0, -330.0), -300.0, 1e-12);
  const double minusInfinity = -std::numeric_limits<double>::infinity();
  EXPECT_EQ(logAdd(-551.0, minusInfinity), -551.0);
  EXPECT_EQ(logAdd(minusInfinity, minusInfinity), minusInfinity);
}

TEST(ScaleSpectrum, ScalesByWholePowersOfTen) {
  std::vector<double> values{LogZero, 2.0, 310.5};
  EXPECT_EQ(scaleSpectrum(values, 2), 3.0);
  EXPECT_EQ(values[0], 0.0);
  EXPECT_NEAR(values[1], 0.1, 1e-15);
  EXPECT_NEAR(values[2] / std::pow(10.0, 307.5), 1.0, 1e-13);
}

TEST(ScaleSpectrum, LargestOfExactly308NeedsNoScale) {
  std::vector<double> values{308.0, 1.0, -500.0, LogZero};
  EXPECT_EQ(scaleSpectrum(values, 3), 0.0);
  EXPECT_NEAR(values[0], 1e308, 1e295);
  EXPECT_NEAR(values[1], 10.0, 1e-13);
  EXPECT_EQ(values[2], 0.0);
  EXPECT_EQ(values[3], 0.0);
}

TEST(ScaleSpectrum, OnlyTheFirstMaxWeightPlusOneEntries) {
  std::vector<double> values{1.0, 2.0, 999.0};
  EXPECT_EQ(scaleSpectrum(values, 1), 0.0);
  EXPECT_NEAR(values[1], 100.0, 1e-12);
  EXPECT_EQ(values[2], 999.0);
}

}  // namespace
}  // namespace brevandor
