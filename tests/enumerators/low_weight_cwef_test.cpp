#include "enumerators/low_weight/low_weight_cwef.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "enumerators/cwef_engines.h"
#include "support/recording_target.h"
#include "support/test_codes.h"

namespace brevandor {
namespace {

using testing::CodeCase;
using testing::kCounterpartCase;
using testing::kDefaultCase;
using testing::kFeedforwardCase;
using testing::kMemory3Case;
using testing::kPrimitiveFeedbackCase;
using testing::RecordingTarget;

// One constituent configured as a run configures it, with the full CWEF (reference engine)
// and the low-weight CWEF of either engine side by side.
struct Constituent {
  ConvCode code;
  WeightEnumerator full;
  WeightEnumerator low;
  LowWeightCut cut;
  RecordingTarget target;
  CancelFlag cancel{0};
  RunContext context;

  Constituent(const CodeCase& codeCase, std::int32_t frameLength, std::uint32_t countsInputBits,
              std::int32_t maxWeight, Engine engine)
      : code(codeCase.description()) {
    for (WeightEnumerator* enumerator : {&full, &low}) {
      enumerator->frameLength = frameLength;
      enumerator->countsInputBits = countsInputBits;
    }
    cut = lowWeightCut(low, code, maxWeight);
    allocateLowWeightTables(low, code, cut);
    low.computeTransferMatrix(code);
    context.cancelFlag = &cancel;
    context.noticeTarget = &target;
    context.engine = engine;
    context.threads = 2;
  }

  StageEnd computeLow() { return computeLowWeightCwef(low, code, cut, context); }
  void computeFull() {
    full.allocate(code);
    full.computeTransferMatrix(code);
    RunContext quiet;
    quiet.engine = Engine::Reference;
    ASSERT_EQ(full.computeCwef(code, quiet), StageEnd::Completed);
  }
};

struct CutCase {
  const char* name;
  CodeCase code;
  std::int32_t frameLength;
  std::uint32_t countsInputBits;  // 0: parity bits only, as parallel constituents count
  std::int32_t maxWeight;
  Engine engine;
};

class LowWeightCwef : public ::testing::TestWithParam<CutCase> {};

// The cut keeps exactly the cells that can reach a codeword of weight ≤ D, and each holds
// the full recursion's value bit for bit: the low-weight recursion makes the same additions
// in the same order, it only leaves out the cells beyond the cut.
TEST_P(LowWeightCwef, KeptCellsEqualTheFullTableBitForBit) {
  const CutCase& c = GetParam();
  Constituent constituent(c.code, c.frameLength, c.countsInputBits, c.maxWeight, c.engine);
  ASSERT_EQ(constituent.computeLow(), StageEnd::Completed);
  constituent.computeFull();
  const LowWeightCut& cut = constituent.cut;
  const bool systematic = isSystematic(constituent.code.kind);
  EXPECT_EQ(cut.maxInputWeight, systematic ? std::min(c.maxWeight, c.frameLength) : c.frameLength);
  std::int32_t kept = 0;
  for (std::int32_t d = 0; d <= cut.maxOutputWeight; ++d) {
    for (std::int32_t w = 0; w <= cut.maxInputWeight; ++w) {
      const float low = constituent.low.cwef.at(d, w);
      const bool inside = c.countsInputBits != 0 || d + w <= c.maxWeight;
      const float expected = inside ? constituent.full.cwef.at(d, w) : kLogZeroFloat;
      ASSERT_EQ(low, expected) << "d " << d << " w " << w;
      kept += low != kLogZeroFloat ? 1 : 0;
    }
  }
  EXPECT_GT(kept, 10);  // the case has counts to compare, not just the empty corner
  // Every kept-row count is a whole frame's, and no tail diagnostic is posted for the
  // paths that the cut leaves behind.
  EXPECT_TRUE(constituent.target.texts(NoticeKind::LogLine).empty());
  EXPECT_FALSE(constituent.low.logTransferMatrix.exists());
}

const CodeCase kFeedforwardCounterpart{"1+D^2", "1", true};

INSTANTIATE_TEST_SUITE_P(
    Codes, LowWeightCwef,
    ::testing::Values(
        CutCase{"ParallelDefaultReference", kDefaultCase, 90, 0, 12, Engine::Reference},
        CutCase{"ParallelDefaultFast", kDefaultCase, 90, 0, 12, Engine::Fast},
        CutCase{"ParallelMemory3Fast", kMemory3Case, 70, 0, 14, Engine::Fast},
        CutCase{"ParallelFeedforwardFast", kFeedforwardCase, 60, 0, 9, Engine::Fast},
        CutCase{"SerialOuterPrimitiveReference", kPrimitiveFeedbackCase, 80, 1, 15,
                Engine::Reference},
        CutCase{"SerialOuterPrimitiveFast", kPrimitiveFeedbackCase, 80, 1, 15, Engine::Fast},
        // The inner code of the repetition type: no input bits sent, every input weight kept.
        CutCase{"RepetitionInnerReference", kCounterpartCase, 75, 1, 8, Engine::Reference},
        CutCase{"RepetitionInnerFast", kCounterpartCase, 75, 1, 8, Engine::Fast},
        CutCase{"FeedforwardInnerFast", kFeedforwardCounterpart, 66, 1, 7, Engine::Fast},
        // A cut beyond the heaviest codeword keeps the whole table.
        CutCase{"CutBeyondTheFrame", kDefaultCase, 12, 1, 100, Engine::Fast}),
    [](const ::testing::TestParamInfo<CutCase>& param) { return std::string(param.param.name); });

// Wide layers (every input weight kept) go to the worker threads; the two engines still
// agree bit for bit, and the section progress is the same.
TEST(LowWeightCwefEngines, ThreadedWideLayersEqualTheReference) {
  Constituent reference(kCounterpartCase, 1200, 1, 6, Engine::Reference);
  Constituent fast(kCounterpartCase, 1200, 1, 6, Engine::Fast);
  std::int32_t clocks[2] = {0, 0};
  reference.context.clock = [&] { return clocks[0] += 16; };
  fast.context.clock = [&] { return clocks[1] += 16; };
  ASSERT_EQ(reference.computeLow(), StageEnd::Completed);
  ASSERT_EQ(fast.computeLow(), StageEnd::Completed);
  for (std::int32_t d = 0; d <= reference.cut.maxOutputWeight; ++d) {
    for (std::int32_t w = 0; w <= reference.cut.maxInputWeight; ++w) {
      ASSERT_EQ(fast.low.cwef.at(d, w), reference.low.cwef.at(d, w)) << "d " << d << " w " << w;
    }
  }
  EXPECT_EQ(fast.target.texts(NoticeKind::StatusLine),
            reference.target.texts(NoticeKind::StatusLine));
}

// Up to 10000 sections every section is a step, as in the full recursion; beyond, blocks of
// sections keep the status lines to at most 10000 (plus the first and the last line).
TEST(LowWeightCwefProgress, LongFramesReportBlocksOfSections) {
  for (const auto& [frameLength, expectedSteps] :
       std::vector<std::pair<std::int32_t, std::size_t>>{{300, 299}, {20001, 10000}}) {
    Constituent constituent(kDefaultCase, frameLength, 0, 4, Engine::Fast);
    ASSERT_EQ(constituent.computeLow(), StageEnd::Completed);
    const auto status = constituent.target.texts(NoticeKind::StatusLine);
    ASSERT_EQ(status.size(), expectedSteps + 2) << "N = " << frameLength;
    EXPECT_EQ(status.front(), "--- Wait ---");
    EXPECT_EQ(status.back(), "------------");
  }
}

// A cancel request is seen after the section in progress: the stage returns −1 at once.
TEST(LowWeightCwefProgress, CancelStopsAfterTheSectionInProgress) {
  for (const Engine engine : {Engine::Reference, Engine::Fast}) {
    Constituent constituent(kDefaultCase, 5000, 0, 10, engine);
    std::int32_t steps = 0;
    constituent.target.setHook([&](const RunNotice& notice) {
      if (notice.kind == NoticeKind::StatusLine && ++steps == 4) {
        constituent.cancel = 1;
      }
    });
    EXPECT_EQ(constituent.computeLow(), StageEnd::Cancelled);
    EXPECT_EQ(constituent.target.texts(NoticeKind::StatusLine).size(), 4u);
  }
}

}  // namespace
}  // namespace brevandor
