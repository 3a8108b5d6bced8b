#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "enumerators/cwef_engines.h"
#include "enumerators/weight_enumerator.h"
#include "logmath/log_domain.h"
#include "support/recording_target.h"
#include "support/table_checks.h"
#include "support/test_codes.h"

namespace brevandor {
namespace {

using testing::CodeCase;
using testing::describeOrDie;
using testing::RecordingTarget;

// Recursive codes with and without a state that fixes the input parity, feedforward codes,
// memories 2 to 5, and a one-output-bit code.
const CodeCase kDefault{"1+D+D^2", "1+D^2"};
const CodeCase kPrimitiveFeedback{"1+D^2", "1+D+D^2"};
const CodeCase kFeedforward{"1+D+D^2", "1"};
const CodeCase kMemory3{"1+D+D^3", "1+D^2+D^3"};
const CodeCase kFeedforward3{"1+D^2+D^3", "1"};
const CodeCase kMemory4{"1+D^4", "1+D+D^2+D^3+D^4"};
const CodeCase kMemory5{"1+D+D^2+D^3+D^5", "1+D^2+D^5"};
const CodeCase kCounterpart{"1+D+D^2", "1+D^2", true};

// One CWEF stage of either engine, with a recording target and a clock that advances
// 16 ms (one unit of the estimate) at every reading.
struct Stage {
  ConvCode code;
  WeightEnumerator enumerator;
  RecordingTarget target;
  CancelFlag cancel{0};
  std::int32_t now = 0;
  RunContext context;

  Stage(const CodeCase& codeCase, std::int32_t frameLength, std::uint32_t countsInputBits,
        Engine engine, int threads, RecordingTarget::Hook hook = {},
        TablePrecision precision = TablePrecision::Single, FrameEnding ending = {})
      : code(codeCase.description()), target(std::move(hook)) {
    enumerator.frameLength = frameLength;
    enumerator.countsInputBits = countsInputBits;
    enumerator.precision = precision;
    enumerator.ending = ending;
    enumerator.allocate(code);
    enumerator.computeTransferMatrix(code);
    context.cancelFlag = &cancel;
    context.noticeTarget = &target;
    context.engine = engine;
    context.threads = threads;
    context.clock = [this] { return now += 16; };
  }
  ~Stage() { enumerator.release(code); }

  StageEnd compute() { return enumerator.computeCwef(code, context); }
  std::int32_t maxWeight() const { return enumerator.layerMaxWeight(code); }
};

struct EquivalenceCase {
  CodeCase code;
  std::int32_t frameLength;
  std::uint32_t countsInputBits;
  int threads;
  TablePrecision precision = TablePrecision::Single;
  bool tailBiting = false;

  FrameEnding ending() const {
    return frameEndingOf(tailBiting ? Termination::TailBiting : Termination::Both, {}, 0);
  }
};

class CwefFastAgainstReference : public ::testing::TestWithParam<EquivalenceCase> {};

TEST_P(CwefFastAgainstReference, EveryCellWithinTwoUlps) {
  const EquivalenceCase& c = GetParam();
  Stage reference(c.code, c.frameLength, c.countsInputBits, Engine::Reference, 1, {}, c.precision,
                  c.ending());
  Stage fast(c.code, c.frameLength, c.countsInputBits, Engine::Fast, c.threads, {}, c.precision,
             c.ending());
  ASSERT_EQ(reference.compute(), StageEnd::Completed);
  ASSERT_EQ(fast.compute(), StageEnd::Completed);
  if (c.precision == TablePrecision::Double) {
    testing::expectSameTable(fast.enumerator.cwefDouble, reference.enumerator.cwefDouble,
                             reference.maxWeight(), c.frameLength);
  } else {
    testing::expectSameTable(fast.enumerator.cwef, reference.enumerator.cwef, reference.maxWeight(),
                             c.frameLength);
  }
  // Same progress, same (absent) diagnostics, work tables gone.
  EXPECT_EQ(fast.target.statusLines(), reference.target.statusLines());
  EXPECT_EQ(fast.target.logLines(), reference.target.logLines());
  EXPECT_FALSE(fast.enumerator.logTransferMatrix.exists());
  EXPECT_FALSE(fast.enumerator.layers[0].exists());
  EXPECT_FALSE(fast.enumerator.layersDouble[0].exists());
}

std::vector<EquivalenceCase> equivalenceCases() {
  std::vector<EquivalenceCase> cases;
  // Odd and even frames around the vector width of eight, for both weight counts.
  for (const CodeCase& code : {kDefault, kPrimitiveFeedback, kFeedforward, kMemory3}) {
    for (const std::int32_t n : {1, 2, 3, 7, 8, 9, 17, 33}) {
      cases.push_back({code, n, 0, 1});
      cases.push_back({code, n, 1, 2});
    }
  }
  for (const CodeCase& code : {kFeedforward3, kMemory4, kMemory5}) {
    cases.push_back({code, 15, 0, 2});
    cases.push_back({code, 26, 1, 3});
  }
  // Longer frames: many sections in flight at once, on one thread and on several.
  cases.push_back({kDefault, 100, 0, 2});
  cases.push_back({kDefault, 71, 1, 1});
  cases.push_back({kPrimitiveFeedback, 97, 0, 3});
  cases.push_back({kMemory3, 64, 1, 2});
  // Parity-only counts of a non-systematic code: a branch can lower the weight.
  cases.push_back({kCounterpart, 12, 0, 2});
  cases.push_back({kCounterpart, 12, 1, 2});
  // Double-precision tables through the double kernels.
  for (const CodeCase& code : {kDefault, kPrimitiveFeedback, kFeedforward, kMemory3}) {
    cases.push_back({code, 9, 0, 1, TablePrecision::Double});
    cases.push_back({code, 33, 1, 2, TablePrecision::Double});
  }
  cases.push_back({kDefault, 100, 0, 2, TablePrecision::Double});
  cases.push_back({kMemory5, 26, 1, 3, TablePrecision::Double});
  cases.push_back({kCounterpart, 12, 1, 2, TablePrecision::Double});
  // Tail-biting frames, one recursion per start state: the primitive feedback with and
  // without a circular state for every word (3 divides N or not), start states that fix the
  // parity class (the default code), memories 3 to 5, and the counterpart on the reference.
  for (const CodeCase& code : {kPrimitiveFeedback, kDefault, kFeedforward, kMemory3}) {
    for (const std::int32_t n : {1, 2, 7, 9, 17}) {
      cases.push_back({code, n, 0, 1, TablePrecision::Single, true});
      cases.push_back({code, n, 1, 2, TablePrecision::Single, true});
    }
  }
  cases.push_back({kMemory4, 26, 1, 3, TablePrecision::Single, true});
  cases.push_back({kMemory5, 15, 0, 2, TablePrecision::Single, true});
  cases.push_back({kPrimitiveFeedback, 97, 0, 3, TablePrecision::Single, true});
  cases.push_back({kMemory3, 33, 1, 2, TablePrecision::Double, true});
  cases.push_back({kDefault, 40, 0, 2, TablePrecision::Double, true});
  cases.push_back({kCounterpart, 12, 1, 2, TablePrecision::Single, true});
  return cases;
}

std::string caseName(const ::testing::TestParamInfo<EquivalenceCase>& info) {
  const EquivalenceCase& c = info.param;
  std::string name = std::string(c.code.numerator) + "_over_" + c.code.denominator +
                     (c.code.counterpart ? "_counterpart" : "") + "_N" +
                     std::to_string(c.frameLength) + (c.countsInputBits ? "_all" : "_parity") +
                     "_t" + std::to_string(c.threads) +
                     (c.precision == TablePrecision::Double ? "_double" : "") +
                     (c.tailBiting ? "_tail_biting" : "");
  for (char& ch : name) {
    if (ch == '+' || ch == '^') {
      ch = '_';
    }
  }
  return name;
}

INSTANTIATE_TEST_SUITE_P(Codes, CwefFastAgainstReference, ::testing::ValuesIn(equivalenceCases()),
                         caseName);

// Fills rows 0 … D with a value no computation writes, to see what a stage left alone.
void markResult(Stage& stage) {
  for (int d = 0; d <= stage.maxWeight(); ++d) {
    for (int w = 0; w <= stage.enumerator.frameLength; ++w) {
      stage.enumerator.cwef.at(d, w) = 7.5f;
    }
  }
}

bool resultUntouched(const Stage& stage) {
  for (int d = 0; d <= stage.maxWeight(); ++d) {
    for (int w = 0; w <= stage.enumerator.frameLength; ++w) {
      if (stage.enumerator.cwef.at(d, w) != 7.5f) {
        return false;
      }
    }
  }
  return true;
}

TEST(CwefFastCancel, RequestBeforeTheStartStopsAfterTheSecondSection) {
  Stage stage(kDefault, 40, 0, Engine::Fast, 2);
  markResult(stage);
  stage.cancel = 1;
  EXPECT_EQ(stage.compute(), StageEnd::Cancelled);
  EXPECT_TRUE(resultUntouched(stage));
  EXPECT_EQ(stage.target.statusLines(), std::vector<std::string>{"--- Wait ---"});
  EXPECT_FALSE(stage.enumerator.logTransferMatrix.exists());
}

class CwefFastCancelDuringSection : public ::testing::TestWithParam<int> {};

TEST_P(CwefFastCancelDuringSection, StopsAtTheSameSectionAsTheReference) {
  // The request arrives with the fifth estimate, while later sections may already be
  // under way on other threads; the stage still ends at the end of that section.
  auto cancelAtFifth = [](Stage*& stage) {
    return [&stage, estimates = 0](const RunNotice& notice) mutable {
      if (notice.text.starts_with("Est.") && ++estimates == 5) {
        stage->cancel = 1;
      }
    };
  };
  Stage* referencePointer = nullptr;
  Stage* fastPointer = nullptr;
  Stage reference(kDefault, 60, 1, Engine::Reference, 1, cancelAtFifth(referencePointer));
  Stage fast(kDefault, 60, 1, Engine::Fast, GetParam(), cancelAtFifth(fastPointer));
  referencePointer = &reference;
  fastPointer = &fast;
  markResult(fast);
  EXPECT_EQ(reference.compute(), StageEnd::Cancelled);
  EXPECT_EQ(fast.compute(), StageEnd::Cancelled);
  EXPECT_TRUE(resultUntouched(fast));
  EXPECT_EQ(fast.target.statusLines(), reference.target.statusLines());
  EXPECT_EQ(fast.target.statusLines().size(), 6u);
}

INSTANTIATE_TEST_SUITE_P(Threads, CwefFastCancelDuringSection, ::testing::Values(1, 2, 4),
                         ::testing::PrintToStringParamName());

TEST(CwefFastWork, OneLayerOfHalfTheCellsWhereTheStateFixesTheParity) {
  Stage stage(kDefault, 1000, 0, Engine::Fast, 2);
  const std::uint64_t fast = fastCwefWorkBytes(stage.enumerator, stage.code, stage.context);
  const std::uint64_t reference = stage.enumerator.layerBytes(stage.code);
  // Two full layers against one layer of half rows (plus a few spare rows).
  EXPECT_LT(fast, reference / 4 + reference / 50);
  EXPECT_GT(fast, reference / 4);
}

TEST(CwefFastWork, OneFullLayerOtherwise) {
  Stage stage(kPrimitiveFeedback, 1000, 0, Engine::Fast, 2);
  const std::uint64_t fast = fastCwefWorkBytes(stage.enumerator, stage.code, stage.context);
  const std::uint64_t reference = stage.enumerator.layerBytes(stage.code);
  EXPECT_LT(fast, reference / 2 + reference / 50);
  EXPECT_GT(fast, reference / 2);
}

// All output bits counted (serial concatenation): a path's output weight is at least its
// input weight and at most its input weight plus one per section, so row d holds input
// weights from d − N to d, about half the row on average (N + 1 of 2N + 5 rows in full).
TEST(CwefFastWork, HalfALayerWhereTheOutputWeightBoundsTheInputWeight) {
  Stage stage(kPrimitiveFeedback, 1000, 1, Engine::Fast, 2);
  const std::uint64_t fast = fastCwefWorkBytes(stage.enumerator, stage.code, stage.context);
  const std::uint64_t reference = stage.enumerator.layerBytes(stage.code);
  EXPECT_LT(fast, reference / 4 + reference / 50);
  EXPECT_GT(fast, reference / 4);
}

}  // namespace
}  // namespace brevandor
