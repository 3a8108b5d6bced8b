#include <gtest/gtest.h>

#include <string>

#include "interleavers/ccsds_interleaver.h"
#include "interleavers/lte_qpp_table.h"
#include "interleavers/qpp_interleaver.h"

namespace brevandor {
namespace {

TEST(LteQppTable, EveryRowIsAPermutationOfItsBlockSize) {
  for (const LteQppParameters& row : kLteQppTable) {
    const PermutationOutcome made = ltePermutation(row.blockSize);
    ASSERT_TRUE(made) << made.failure;
    EXPECT_EQ(made.permutation->size(), row.blockSize);
  }
}

TEST(LteQppTable, ReproducesThePublishedParameters) {
  // Spot values of 3GPP TS 36.212's table: K = 40 (3, 10), 1008 (55, 84), 6144 (263, 480).
  struct Row {
    std::int32_t k, f1, f2;
  };
  for (const Row expected : {Row{40, 3, 10}, Row{1008, 55, 84}, Row{6144, 263, 480}}) {
    const auto row = lteQppParameters(expected.k);
    ASSERT_TRUE(row.has_value()) << expected.k;
    EXPECT_EQ(row->f1, expected.f1) << expected.k;
    EXPECT_EQ(row->f2, expected.f2) << expected.k;
  }
  EXPECT_EQ(kLteQppTable.size(), 188u);
  EXPECT_FALSE(lteQppParameters(6152).has_value());
}

TEST(LteQppTable, FollowsTheStandardsReadingDirection) {
  // K = 40: π(j) = (3j + 10j²) mod 40, by hand π(1) = 13, π(2) = 46 mod 40 = 6, π(3) = 99 mod
  // 40 = 19; interleaved bit j is input bit π(j).
  const Permutation pi = *ltePermutation(40).permutation;
  EXPECT_EQ(pi[0], 0);
  EXPECT_EQ(pi[1], 13);
  EXPECT_EQ(pi[2], 6);
  EXPECT_EQ(pi[3], 19);
}

class CcsdsInterleaverTest : public ::testing::TestWithParam<std::int32_t> {};

TEST_P(CcsdsInterleaverTest, IsAPermutationStartingAsDefined) {
  const PermutationOutcome made = ccsdsPermutation(GetParam());
  ASSERT_TRUE(made) << made.failure;
  ASSERT_TRUE(isPermutation(made.permutation->indices));
  // By hand from the CCSDS definition: s = 1 gives t = 1, c = 0, π = 2·(1 + 0 + 1) = 4; s = 2
  // gives m = 1, c = 21, π = 2·(1 + 84 + 1) − 1 = 171 (both 1-based, the same for every k).
  EXPECT_EQ((*made.permutation)[0], 3);
  EXPECT_EQ((*made.permutation)[1], 170);
}

INSTANTIATE_TEST_SUITE_P(BlockSizes, CcsdsInterleaverTest,
                         ::testing::Values(1784, 3568, 7136, 8920),
                         [](const auto& named) { return "K" + std::to_string(named.param); });

}  // namespace
}  // namespace brevandor
