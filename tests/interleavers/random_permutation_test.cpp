#include "interleavers/random_permutation.h"

#include <gtest/gtest.h>

#include <string>

namespace brevandor {
namespace {

struct SpreadCase {
  std::int32_t length = 0;
  std::int32_t spread = 0;
};

class SpreadRandomTest : public ::testing::TestWithParam<SpreadCase> {};

TEST_P(SpreadRandomTest, KeepsItsSpread) {
  const SpreadCase c = GetParam();
  const PermutationOutcome made = spreadRandomPermutation(c.length, c.spread, 3);
  ASSERT_TRUE(made) << made.failure;
  ASSERT_TRUE(isPermutation(made.permutation->indices));
  EXPECT_GE(permutationSpread(*made.permutation), c.spread);
}

// Spreads below 0.7·√(N/2) (4.9, 11, 15.6): what the greedy construction reaches in its tries.
INSTANTIATE_TEST_SUITE_P(Frames, SpreadRandomTest,
                         ::testing::Values(SpreadCase{100, 4}, SpreadCase{500, 11},
                                           SpreadCase{1000, 15}),
                         [](const auto& named) {
                           return "N" + std::to_string(named.param.length) + "_S" +
                                  std::to_string(named.param.spread);
                         });

TEST(SpreadRandom, RefusesASpreadThatCannotBeReached) {
  // Positions 0 … 30 of N = 100 would need 31 values pairwise at least 30 apart: at most 4 fit.
  const PermutationOutcome made = spreadRandomPermutation(100, 30, 1);
  ASSERT_FALSE(made);
  EXPECT_NE(made.failure.find("tries"), std::string::npos) << made.failure;
}

TEST(RandomPermutation, IsAPermutationRepeatedBySeed) {
  const Permutation first = randomPermutation(1000, 7);
  EXPECT_TRUE(isPermutation(first.indices));
  EXPECT_EQ(first, randomPermutation(1000, 7));
  EXPECT_NE(first, randomPermutation(1000, 8));
  EXPECT_EQ(inversePermutation(inversePermutation(first)), first);
}

}  // namespace
}  // namespace brevandor
