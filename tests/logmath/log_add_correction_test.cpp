#include "logmath/log_add_correction.h"

#include <gtest/gtest.h>

#include <cmath>

namespace brevandor {
namespace {

using Table = LogAddCorrectionTable;

// The stored polynomial of interval k at t, in extended precision.
long double storedPolynomial(const Table& table, int k, long double t) {
  long double higher = 0.0L;
  for (int j = Table::kDegree - 2; j >= 0; --j) {
    higher = higher * t + table.higher[j][k];
  }
  const long double c0 = static_cast<long double>(table.c0Hi[k]) + table.c0Lo[k];
  const long double c1 = static_cast<long double>(table.c1Hi[k]) + table.c1Lo[k];
  return c0 + t * (c1 + t * higher);
}

// Each interval's polynomial follows log10(1 + 10^(−δ)) within the bound the vector
// kernels rely on, over the whole interval including both ends.
TEST(LogAddCorrectionTable, EveryIntervalFollowsTheCorrection) {
  const Table& table = logAddCorrectionTable();
  for (int k = 0; k < Table::kIntervals; ++k) {
    for (int i = 0; i <= 400; ++i) {
      const long double t = -0.5L + i / 400.0L;
      const long double delta = (k + t) / Table::kIntervalsPerUnit;
      const long double exact = std::log10(1.0L + std::pow(10.0L, -delta));
      ASSERT_NEAR(static_cast<double>(storedPolynomial(table, k, t)), static_cast<double>(exact),
                  Table::kFitError)
          << "interval " << k << " t " << static_cast<double>(t);
    }
  }
}

// The double tables (for results rounded to float; for results kept in double), named for
// the test names.
struct RoundedToFloat : LogAddCorrectionDoubleTable {
  static const LogAddCorrectionDoubleTable& get() { return logAddCorrectionDoubleTable(); }
};
struct KeptInDouble : LogAddCorrectionFineTable {
  static const LogAddCorrectionFineTable& get() { return logAddCorrectionFineTable(); }
};

template <typename Wide>
class LogAddCorrectionDoubleTables : public ::testing::Test {};
using DoubleTables = ::testing::Types<RoundedToFloat, KeptInDouble>;
TYPED_TEST_SUITE(LogAddCorrectionDoubleTables, DoubleTables);

// Each double table, evaluated by Horner's rule in double as the kernels do, follows the
// correction (in extended precision) within its bound on every interval.
TYPED_TEST(LogAddCorrectionDoubleTables, EveryIntervalFollowsTheCorrection) {
  using Wide = TypeParam;
  const auto& table = Wide::get();
  for (int k = 0; k < Wide::kIntervals; ++k) {
    for (int i = 0; i <= 400; ++i) {
      const double t = -0.5 + i / 400.0;
      double p = table.c[Wide::kDegree][k];
      for (int j = Wide::kDegree - 1; j >= 0; --j) {
        p = std::fma(p, t, table.c[j][k]);
      }
      const long double delta = (k + static_cast<long double>(t)) / Wide::kIntervalsPerUnit;
      const long double exact = std::log10(1.0L + std::pow(10.0L, -delta));
      ASSERT_NEAR(p, static_cast<double>(exact), Wide::kFitError) << "interval " << k << " t " << t;
    }
  }
}

// The low parts of the leading coefficients are what is left of the extended value: below
// half a float spacing of the high part.
TEST(LogAddCorrectionTable, LeadingCoefficientsSplitIntoFloatPairs) {
  const Table& table = logAddCorrectionTable();
  EXPECT_EQ(table.c0Hi[0], static_cast<float>(std::log10(2.0L)));
  for (int k = 0; k < Table::kIntervals; ++k) {
    EXPECT_LE(std::fabs(table.c0Lo[k]),
              0.5f * std::fabs(std::nextafter(table.c0Hi[k], 1.0f) - table.c0Hi[k]));
    EXPECT_LE(std::fabs(table.c1Lo[k]),
              0.5f * std::fabs(std::nextafter(table.c1Hi[k], -1.0f) - table.c1Hi[k]));
  }
}

}  // namespace
}  // namespace brevandor
