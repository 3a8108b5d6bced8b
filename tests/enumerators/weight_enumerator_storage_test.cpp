#include <gtest/gtest.h>

#include <cstdint>

#include "enumerators/weight_enumerator.h"
#include "support/test_codes.h"

namespace brevandor {
namespace {

using testing::defaultCode;

TEST(WeightEnumeratorStorage, TableShapesAtTenBits) {
  const ConvCode code(defaultCode());
  WeightEnumerator enumerator;
  enumerator.frameLength = 10;
  enumerator.countsInputBits = 1;
  enumerator.allocate(code);
  EXPECT_EQ(enumerator.transferMatrix.states(), 4);
  EXPECT_EQ(enumerator.cwef.rows(), 25);
  EXPECT_EQ(enumerator.cwef.columns(), 11);

  enumerator.allocateLayers(code);
  for (const LogTable& layer : enumerator.layers) {
    EXPECT_EQ(layer.blocks(), 4);
    EXPECT_EQ(layer.rows(), 25);
    EXPECT_EQ(layer.columns(), 11);
  }
  enumerator.releaseLayers(code);

  enumerator.countsInputBits = 0;
  enumerator.allocateLayers(code);
  EXPECT_EQ(enumerator.layers[0].rows(), 15);
  EXPECT_EQ(enumerator.layers[1].rows(), 15);
  enumerator.releaseLayers(code);
  EXPECT_FALSE(enumerator.layers[0].exists());
  EXPECT_FALSE(enumerator.layers[1].exists());

  enumerator.release(code);
  EXPECT_FALSE(enumerator.cwef.exists());
  EXPECT_FALSE(enumerator.transferMatrix.exists());
}

TEST(WeightEnumeratorStorage, RepetitionTableHasRTimesNPlusOneRows) {
  const ConvCode code(defaultCode());
  WeightEnumerator enumerator;
  enumerator.frameLength = 4;
  enumerator.countsInputBits = 1;
  enumerator.repetitionFactor = 3;
  enumerator.allocate(code);
  EXPECT_EQ(enumerator.cwef.rows(), 13);
  EXPECT_EQ(enumerator.cwef.columns(), 5);
  enumerator.release(code);
  EXPECT_FALSE(enumerator.cwef.exists());
}

TEST(WeightEnumeratorStorage, RowsAreAlignedAndInputWeightIsContiguous) {
  const ConvCode code(defaultCode());
  WeightEnumerator enumerator;
  enumerator.frameLength = 37;
  enumerator.countsInputBits = 0;
  enumerator.allocate(code);
  enumerator.allocateLayers(code);
  for (int d = 0; d < enumerator.cwef.rows(); ++d) {
    EXPECT_EQ(reinterpret_cast<std::uintptr_t>(enumerator.cwef.row(d)) % 64, 0u);
    EXPECT_EQ(&enumerator.cwef.at(d, 1), &enumerator.cwef.at(d, 0) + 1);
  }
  const LogTable& layer = enumerator.layers[0];
  EXPECT_EQ(reinterpret_cast<std::uintptr_t>(layer.row(3, 5)) % 64, 0u);
  EXPECT_EQ(layer.row(1, 0), layer.row(0, layer.rows() - 1) + layer.stride());
}

TEST(WeightEnumeratorStorage, ByteCountsFollowTheShapes) {
  const ConvCode code(defaultCode());
  WeightEnumerator enumerator;
  enumerator.frameLength = 1000;
  enumerator.countsInputBits = 1;
  // Rows of 1001 floats are padded to 1008; the layers have 4 × 2005 rows each.
  EXPECT_EQ(enumerator.layerBytes(code), 2ull * 4 * 2005 * 1008 * 4);
  EXPECT_EQ(enumerator.tableBytes(code), 16ull * sizeof(TransitionWeight) + 2005ull * 1008 * 4);
}

TEST(WeightEnumeratorStorage, CopyToCopiesMatrixAndTableCells) {
  const ConvCode code(defaultCode());
  WeightEnumerator source;
  WeightEnumerator target;
  for (WeightEnumerator* e : {&source, &target}) {
    e->frameLength = 6;
    e->countsInputBits = 0;
    e->allocate(code);
  }
  source.computeTransferMatrix(code);
  for (int d = 0; d < source.cwef.rows(); ++d) {
    for (int w = 0; w <= 6; ++w) {
      source.cwef.at(d, w) =
          (d * 7 + w) % 5 == 0 ? kLogZeroFloat : 0.125f * static_cast<float>(d + w);
    }
  }
  source.copyTo(target, code);
  for (int to = 0; to < 4; ++to) {
    for (int from = 0; from < 4; ++from) {
      EXPECT_EQ(target.transferMatrix.at(to, from), source.transferMatrix.at(to, from));
    }
  }
  for (int d = 0; d < source.cwef.rows(); ++d) {
    for (int w = 0; w <= 6; ++w) {
      EXPECT_EQ(target.cwef.at(d, w), source.cwef.at(d, w)) << d << "," << w;
    }
  }
}

}  // namespace
}  // namespace brevandor
