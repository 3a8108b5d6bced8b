#include "run/run_memory.h"

#include <gtest/gtest.h>

#include "support/test_codes.h"
#include "turbo/concatenation_type.h"

namespace brevandor {
namespace {

using testing::defaultCode;

// The run's objects for one configuration, nothing allocated: what the plan is made from.
struct Planned {
  ConvCode code{defaultCode()};
  WeightEnumerator enumerators[2];
  TurboCode turbo;

  Planned(ConcatenationType type, std::int32_t frameLength, const TurboPuncturing& puncturing = {},
          TablePrecision precision = TablePrecision::Single)
      : turbo(type, 2) {
    turbo.puncturing = puncturing;
    turbo.attachConstituent(0, code, enumerators[0]);
    turbo.attachConstituent(1, code, enumerators[1]);
    turbo.setFrameLength(frameLength, 3);
    for (WeightEnumerator& enumerator : enumerators) {
      enumerator.precision = precision;
    }
  }
  RunMemoryPlan plan(Engine engine) const {
    RunContext context;
    context.engine = engine;
    context.threads = 2;
    return planRunMemory(turbo, context);
  }
};

TEST(RunMemoryPlan, FastParallelRunHoldsOneTableAndOneCompactLayer) {
  const Planned run(ConcatenationType::Parallel, 1000);
  const RunMemoryPlan reference = run.plan(Engine::Reference);
  const RunMemoryPlan fast = run.plan(Engine::Fast);
  const std::uint64_t table = run.enumerators[0].tableBytes(run.code);
  EXPECT_TRUE(sharesParallelTable(run.turbo, Engine::Fast));
  EXPECT_FALSE(sharesParallelTable(run.turbo, Engine::Reference));
  EXPECT_EQ(reference.tables - fast.tables, table);
  // Two full layers against one holding a single input-weight parity per state.
  EXPECT_LT(4 * fast.work, reference.work + reference.work / 20);
}

TEST(RunMemoryPlan, ParallelConstituentsOfTheirOwnPatternHoldTwoTables) {
  // PAR1 and PAR2 leave out different sections: the tables differ, both are computed.
  const Planned run(ConcatenationType::Parallel, 1000, testing::puncturingOf("11,10,01"));
  EXPECT_FALSE(sharesParallelTable(run.turbo, Engine::Fast));
  const RunMemoryPlan fast = run.plan(Engine::Fast);
  EXPECT_EQ(fast.tables, run.plan(Engine::Reference).tables);
  EXPECT_GT(fast.tables,
            run.enumerators[0].tableBytes(run.code) + run.enumerators[1].tableBytes(run.code) - 1);
}

TEST(RunMemoryPlan, FastSerialRunNeedsNoMoreWorkThanTheReference) {
  const Planned run(ConcatenationType::Serial, 500);
  EXPECT_LE(run.plan(Engine::Fast).peak(), run.plan(Engine::Reference).peak());
  EXPECT_EQ(run.plan(Engine::Fast).tables, run.plan(Engine::Reference).tables);
}

// Double-precision tables, layers and work rows take twice the bytes of single ones, less a
// little: rows are padded to whole cache lines of 16 floats or 8 doubles, and the spectra
// (doubles either way) and the transfer matrices do not grow.
TEST(RunMemoryPlan, DoublePrecisionDoublesEveryTable) {
  for (const ConcatenationType type : {ConcatenationType::Parallel, ConcatenationType::Serial,
                                       ConcatenationType::RepetitionSerial}) {
    for (const Engine engine : {Engine::Reference, Engine::Fast}) {
      const RunMemoryPlan single = Planned(type, 400).plan(engine);
      const RunMemoryPlan wide = Planned(type, 400, {}, TablePrecision::Double).plan(engine);
      EXPECT_GT(wide.tables, 2 * single.tables - single.tables / 10) << concatenationTypeName(type);
      EXPECT_LT(wide.tables, 2 * single.tables) << concatenationTypeName(type);
      EXPECT_GT(wide.work, 2 * single.work - single.work / 10) << concatenationTypeName(type);
      EXPECT_LE(wide.work, 2 * single.work) << concatenationTypeName(type);
    }
  }
}

}  // namespace
}  // namespace brevandor
