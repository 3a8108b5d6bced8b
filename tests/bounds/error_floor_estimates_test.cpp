#include "bounds/error_floor_estimates.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "bounds/ber_bounds.h"
#include "logmath/log_domain.h"

namespace brevandor {
namespace {

// A spectrum known for d ≤ 12 of a code of 300 output bits gives, in every bound, the sums
// that the whole evaluation gives for the same entries followed by zeros up to d = 300. The
// improved bound depends on the code's length through δ = d / n and ln B / n: it must use
// n = 300, not the last weight computed.
TEST(ErrorFloorEstimates, SumsAreThoseOfTheSpectrumPaddedWithZeros) {
  std::vector<double> cut(13, LogZero);
  cut[7] = std::log10(0.25);
  cut[9] = std::log10(3.5);
  cut[12] = std::log10(40.0);
  std::vector<double> padded(cut);
  padded.resize(301, LogZero);
  const double rate = 100.0 / 300.0;
  const RunContext context;
  const auto estimates =
      computeErrorFloorEstimates(rate, cut, 12, 300, kAllBerBounds, context).value();
  const BoundTables whole =
      computeBerBoundsFromLog10(rate, padded, 300, kAllBerBounds, context).value();
  EXPECT_EQ(estimates.sums.unionQ, whole.unionQ);
  EXPECT_EQ(estimates.sums.unionExp, whole.unionExp);
  EXPECT_EQ(estimates.sums.viterbi, whole.viterbi);
  EXPECT_EQ(estimates.maxWeight, 12);
  EXPECT_EQ(estimates.blockLength, 300);
  // B_12 = 40 against B_9 = 3.5 and B_7 = 0.25: the last weights dominate every row.
  ASSERT_EQ(estimates.unsettled.size(), 21u);
  EXPECT_TRUE(estimates.unsettled.back());
}

TEST(ErrorFloorEstimates, CancelGivesNothing) {
  CancelFlag cancel{1};
  RunContext context;
  context.cancelFlag = &cancel;
  const std::vector<double> spectrum(21, 1.0);
  EXPECT_FALSE(computeErrorFloorEstimates(0.5, spectrum, 20, 40, {BerBound::UnionQ}, context));
}

}  // namespace
}  // namespace brevandor
