#include <gtest/gtest.h>

#include "enumerators/weight_enumerator.h"
#include "support/test_codes.h"

namespace brevandor {
namespace {

using testing::describeOrDie;

WeightEnumerator matrixOf(const ConvCode& code, std::uint32_t countsInputBits) {
  WeightEnumerator enumerator;
  enumerator.frameLength = 4;
  enumerator.countsInputBits = countsInputBits;
  enumerator.allocate(code);
  enumerator.allocateLogTransferMatrix(code);
  enumerator.computeTransferMatrix(code);
  enumerator.computeLogTransferMatrix(code);
  return enumerator;
}

TEST(TransferMatrix, EveryStateHasOneBranchOfEachInputWeight) {
  const ConvCode code(describeOrDie("1+D^2", "1+D+D^2"));
  const WeightEnumerator enumerator = matrixOf(code, 0);
  for (int from = 0; from < 4; ++from) {
    int branches = 0;
    int inputWeightSum = 0;
    for (int to = 0; to < 4; ++to) {
      const TransitionWeight& entry = enumerator.transferMatrix.at(to, from);
      if (entry.multiplicity == 1) {
        ++branches;
        inputWeightSum += entry.inputWeight;
      } else {
        EXPECT_EQ(entry, (TransitionWeight{0, 0, 0}));
      }
    }
    EXPECT_EQ(branches, 2) << "from " << from;
    EXPECT_EQ(inputWeightSum, 1) << "from " << from;
  }
}

TEST(TransferMatrix, OutputWeightCountsInputBitsOnlyWhenAsked) {
  // The default code's branch from state 1 with input 1 has output bits 1 (systematic)
  // and 0 (parity) and leads to state 3.
  const ConvCode code(describeOrDie("1+D+D^2", "1+D^2"));
  EXPECT_EQ(matrixOf(code, 0).transferMatrix.at(3, 1), (TransitionWeight{1, 0, 1}));
  EXPECT_EQ(matrixOf(code, 1).transferMatrix.at(3, 1), (TransitionWeight{1, 1, 1}));
}

TEST(TransferMatrix, ZeroStateLoopExistsInBothForms) {
  const ConvCode code(describeOrDie("1+D+D^2", "1+D^2"));
  const WeightEnumerator enumerator = matrixOf(code, 1);
  EXPECT_EQ(enumerator.transferMatrix.at(0, 0), (TransitionWeight{0, 0, 1}));
  EXPECT_EQ(enumerator.logTransferMatrix.at(0, 0), (TransitionWeight{0, 0, 0}));
}

TEST(TransferMatrix, LogFormMarksMissingBranchesWithLogZero) {
  const ConvCode code(describeOrDie("1+D+D^2", "1+D^2"));
  const WeightEnumerator enumerator = matrixOf(code, 1);
  for (int to = 0; to < 4; ++to) {
    for (int from = 0; from < 4; ++from) {
      const TransitionWeight& linear = enumerator.transferMatrix.at(to, from);
      const TransitionWeight& log = enumerator.logTransferMatrix.at(to, from);
      EXPECT_EQ(log.inputWeight, linear.inputWeight);
      EXPECT_EQ(log.outputWeight, linear.outputWeight);
      EXPECT_EQ(log.multiplicity, linear.multiplicity == 1 ? 0 : kLogZeroInt);
    }
  }
}

TEST(PopCount, CountsAllThirtyTwoBits) {
  EXPECT_EQ(popCount(0u), 0);
  EXPECT_EQ(popCount(0xFFFFFFFFu), 32);
  EXPECT_EQ(popCount(0x80000001u), 2);
}

}  // namespace
}  // namespace brevandor
