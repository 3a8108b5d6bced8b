#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "enumerators/weight_enumerator.h"
#include "support/recording_target.h"
#include "support/test_codes.h"

namespace brevandor {
namespace {

using testing::defaultCode;
using testing::describeOrDie;
using testing::RecordingTarget;

// One constituent's CWEF stage on the reference engine, with a recording target, a cancel
// flag and a clock that advances 16 ms (one unit of the estimate) at every reading.
struct CwefStage {
  ConvCode code;
  WeightEnumerator enumerator;
  RecordingTarget target;
  CancelFlag cancel{0};
  std::int32_t now = 0;
  RunContext context;

  CwefStage(const CodeDescription& description, std::int32_t frameLength,
            std::uint32_t countsInputBits, RecordingTarget::Hook hook = {})
      : code(description), target(std::move(hook)) {
    enumerator.frameLength = frameLength;
    enumerator.countsInputBits = countsInputBits;
    enumerator.allocate(code);
    enumerator.computeTransferMatrix(code);
    context.cancelFlag = &cancel;
    context.noticeTarget = &target;
    context.engine = Engine::Reference;
    context.clock = [this] { return now += 16; };
  }
  ~CwefStage() { enumerator.release(code); }

  StageEnd compute() { return enumerator.computeCwef(code, context); }
  std::int32_t maxWeight() const { return enumerator.layerMaxWeight(code); }

  // Every cell of rows 0 … D that holds a count, with its value.
  std::map<std::pair<int, int>, float> countedCells() const {
    std::map<std::pair<int, int>, float> cells;
    for (int d = 0; d <= maxWeight(); ++d) {
      for (int w = 0; w <= enumerator.frameLength; ++w) {
        if (enumerator.cwef.at(d, w) != kLogZeroFloat) {
          cells[{d, w}] = enumerator.cwef.at(d, w);
        }
      }
    }
    return cells;
  }
};

// The recursive code (1 + D^2) / (1 + D + D^2).
CodeDescription swappedDefaultCode() {
  return describeOrDie("1+D^2", "1+D+D^2");
}

TEST(Cwef, TwoBitFrameParityWeights) {
  CwefStage stage(swappedDefaultCode(), 2, 0);
  ASSERT_EQ(stage.compute(), StageEnd::Completed);
  EXPECT_EQ(stage.maxWeight(), 6);
  const std::map<std::pair<int, int>, float> expected = {
      {{0, 0}, 0.0f}, {{4, 1}, 0.0f}, {{5, 1}, 0.0f}, {{3, 2}, 0.0f}};
  EXPECT_EQ(stage.countedCells(), expected);
}

TEST(Cwef, TwoBitFrameAllOutputWeights) {
  CwefStage stage(swappedDefaultCode(), 2, 1);
  ASSERT_EQ(stage.compute(), StageEnd::Completed);
  EXPECT_EQ(stage.maxWeight(), 8);
  const std::map<std::pair<int, int>, float> expected = {
      {{0, 0}, 0.0f}, {{5, 1}, 0.0f}, {{6, 1}, 0.0f}, {{5, 2}, 0.0f}};
  EXPECT_EQ(stage.countedCells(), expected);
}

TEST(Cwef, FourBitFrameHoldsMultiplePaths) {
  CwefStage stage(swappedDefaultCode(), 4, 0);
  ASSERT_EQ(stage.compute(), StageEnd::Completed);
  EXPECT_FLOAT_EQ(stage.enumerator.cwef.at(5, 2), static_cast<float>(std::log10(3.0)));
  EXPECT_FLOAT_EQ(stage.enumerator.cwef.at(2, 3), static_cast<float>(std::log10(2.0)));
}

// The default code at N = 10: the counts of input weights 1, 2 and 3 by parity weight,
// starting at the first listed row.
struct DefaultColumn {
  int inputWeight;
  int firstParityWeight;
  std::vector<double> counts;
};

class DefaultCodeColumns : public ::testing::TestWithParam<std::uint32_t> {};

TEST_P(DefaultCodeColumns, MatchTheKnownCounts) {
  const std::uint32_t countsInputBits = GetParam();
  CwefStage stage(defaultCode(), 10, countsInputBits);
  ASSERT_EQ(stage.compute(), StageEnd::Completed);
  EXPECT_EQ(stage.maxWeight(), countsInputBits != 0 ? 24 : 14);
  const std::vector<DefaultColumn> columns = {
      {1, 4, {2, 2, 2, 2, 2}},
      {2, 3, {8, 7, 6, 5, 4, 5, 4, 3, 2, 1}},
      {3, 3, {1, 4, 9, 16, 33, 30, 21, 6}},
  };
  for (const DefaultColumn& column : columns) {
    // Counting the input bits moves every count w rows down.
    const int shift = countsInputBits != 0 ? column.inputWeight : 0;
    for (int d = 0; d <= stage.maxWeight(); ++d) {
      const int index = d - shift - column.firstParityWeight;
      const float cell = stage.enumerator.cwef.at(d, column.inputWeight);
      if (index < 0 || index >= static_cast<int>(column.counts.size())) {
        EXPECT_EQ(cell, kLogZeroFloat) << "d " << d << " w " << column.inputWeight;
      } else {
        EXPECT_FLOAT_EQ(cell, static_cast<float>(std::log10(column.counts[index])))
            << "d " << d << " w " << column.inputWeight;
      }
    }
  }
}

INSTANTIATE_TEST_SUITE_P(BothWeightCounts, DefaultCodeColumns, ::testing::Values(0u, 1u),
                         ::testing::PrintToStringParamName());

TEST(Cwef, ProgressCountsSectionsDownToOne) {
  CwefStage stage(defaultCode(), 10, 0);
  ASSERT_EQ(stage.compute(), StageEnd::Completed);
  // One unit per section, so each estimate shows the remaining sections in sixtieths.
  std::vector<std::string> expected = {"--- Wait ---"};
  for (int remaining = 9; remaining >= 1; --remaining) {
    char text[80];
    std::snprintf(text, sizeof text, "Est. Remaining Time =  0 hrs,  0 min,  0 sec, %2d'",
                  remaining);
    expected.emplace_back(text);
  }
  expected.emplace_back("------------");
  EXPECT_EQ(stage.target.statusLines(), expected);
  EXPECT_TRUE(stage.target.logLines().empty());
}

TEST(Cwef, OneSectionFramePostsNoEstimate) {
  CwefStage stage(defaultCode(), 1, 1);
  ASSERT_EQ(stage.compute(), StageEnd::Completed);
  EXPECT_EQ(stage.target.statusLines(), (std::vector<std::string>{"--- Wait ---", "------------"}));
  // Input 0 stays in state 0. Input 1 sends 11 and moves to state 1, whose tail sends 01
  // and 11: one path of weight 5.
  const std::map<std::pair<int, int>, float> expected = {{{0, 0}, 0.0f}, {{5, 1}, 0.0f}};
  EXPECT_EQ(stage.countedCells(), expected);
}

TEST(Cwef, WorkTablesAreFreedAndTransferMatrixKept) {
  CwefStage stage(defaultCode(), 6, 0);
  const TransitionMatrix before = stage.enumerator.transferMatrix;
  ASSERT_EQ(stage.compute(), StageEnd::Completed);
  EXPECT_FALSE(stage.enumerator.layers[0].exists());
  EXPECT_FALSE(stage.enumerator.layers[1].exists());
  EXPECT_FALSE(stage.enumerator.logTransferMatrix.exists());
  EXPECT_TRUE(std::ranges::equal(stage.enumerator.transferMatrix.entries(), before.entries()));
}

// Fills rows 0 … D with a value no computation writes, to see what a stage left alone.
void markResult(CwefStage& stage) {
  for (int d = 0; d <= stage.maxWeight(); ++d) {
    for (int w = 0; w <= stage.enumerator.frameLength; ++w) {
      stage.enumerator.cwef.at(d, w) = 7.5f;
    }
  }
}

bool resultUntouched(const CwefStage& stage) {
  for (int d = 0; d <= stage.maxWeight(); ++d) {
    for (int w = 0; w <= stage.enumerator.frameLength; ++w) {
      if (stage.enumerator.cwef.at(d, w) != 7.5f) {
        return false;
      }
    }
  }
  return true;
}

TEST(CwefCancel, RequestBeforeTheSecondSectionStopsAfterIt) {
  CwefStage stage(defaultCode(), 12, 1);
  const TransitionMatrix before = stage.enumerator.transferMatrix;
  markResult(stage);
  stage.cancel = 1;
  EXPECT_EQ(stage.compute(), StageEnd::Cancelled);
  EXPECT_FALSE(stage.enumerator.layers[0].exists());
  EXPECT_FALSE(stage.enumerator.layers[1].exists());
  EXPECT_FALSE(stage.enumerator.logTransferMatrix.exists());
  EXPECT_TRUE(std::ranges::equal(stage.enumerator.transferMatrix.entries(), before.entries()));
  EXPECT_TRUE(resultUntouched(stage));
  EXPECT_EQ(stage.target.statusLines(), std::vector<std::string>{"--- Wait ---"});
}

TEST(CwefCancel, RequestDuringASectionTakesEffectAtItsEnd) {
  // The request arrives with the third estimate, i.e. while section 4 is being computed.
  CancelFlag* flag = nullptr;
  int estimates = 0;
  CwefStage stage(defaultCode(), 12, 0, [&](const RunNotice& notice) {
    if (notice.text.starts_with("Est.") && ++estimates == 3) {
      *flag = 1;
    }
  });
  flag = &stage.cancel;
  markResult(stage);
  EXPECT_EQ(stage.compute(), StageEnd::Cancelled);
  EXPECT_TRUE(resultUntouched(stage));
  // "--- Wait ---" and three estimates; section 4 ends with the cancel, without estimate.
  EXPECT_EQ(stage.target.statusLines().size(), 4u);
  EXPECT_FALSE(stage.enumerator.layers[0].exists());
}

TEST(RepetitionCwef, FourBitsRepeatedThreeTimes) {
  const ConvCode code(defaultCode());
  WeightEnumerator enumerator;
  enumerator.frameLength = 4;
  enumerator.countsInputBits = 1;
  enumerator.repetitionFactor = 3;
  enumerator.allocate(code);
  EXPECT_EQ(enumerator.computeRepetitionCwef(code), 12);
  const std::map<int, double> counts = {{0, 1}, {1, 4}, {2, 6}, {3, 4}, {4, 1}};
  for (int d = 0; d <= 12; ++d) {
    for (int w = 0; w <= 4; ++w) {
      if (d == 3 * w) {
        EXPECT_FLOAT_EQ(enumerator.cwef.at(d, w), static_cast<float>(std::log10(counts.at(w))));
      } else {
        EXPECT_EQ(enumerator.cwef.at(d, w), kLogZeroFloat) << "d " << d << " w " << w;
      }
    }
  }
  // log10 C(n, 0) and C(n, n) are exact zeros, not sums that cancel to rounding.
  EXPECT_EQ(enumerator.cwef.at(0, 0), 0.0f);
  EXPECT_EQ(enumerator.cwef.at(12, 4), 0.0f);
  enumerator.release(code);
}

}  // namespace
}  // namespace brevandor
