// Circular states against the algebra of GF(2): every word of N bits has exactly one circular
// state when the feedback h shares no factor with 1 + D^N. 1 + D + D^2 is irreducible of
// period 3, so that holds exactly when 3 does not divide N; (1 + D)^2 divides 1 + D^N for
// every even N and shares 1 + D with every 1 + D^N, so never; a feedforward code always.

#include "code/circular_state.h"

#include <gtest/gtest.h>

namespace brevandor {
namespace {

TEST(CircularStates, FollowTheFeedbacksCommonFactorsWithOnePlusDToTheN) {
  const ConvCode periodThree(*describeCode(0b101, 0b111).description);  // (1+D^2)/(1+D+D^2)
  const ConvCode squared(*describeCode(0b111, 0b101).description);      // (1+D+D^2)/(1+D^2)
  const ConvCode feedforward(*describeCode(0b111, 0b1).description);    // 1+D+D^2
  for (std::int32_t n = 10; n <= 30; ++n) {
    EXPECT_EQ(hasSingleCircularStates(periodThree, n), n % 3 != 0) << "N " << n;
    EXPECT_EQ(circularStatesOfZeroWord(periodThree, n), n % 3 != 0 ? 1 : 4) << "N " << n;
    EXPECT_FALSE(hasSingleCircularStates(squared, n)) << "N " << n;
    EXPECT_TRUE(hasSingleCircularStates(feedforward, n)) << "N " << n;
  }
}

}  // namespace
}  // namespace brevandor
