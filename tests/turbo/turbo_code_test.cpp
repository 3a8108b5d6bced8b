#include "turbo/turbo_code.h"

#include <gtest/gtest.h>

#include "support/test_codes.h"

namespace brevandor {
namespace {

using testing::defaultCode;
using testing::describeOrDie;

struct Configured {
  ConvCode code;
  WeightEnumerator first;
  WeightEnumerator second;
  TurboCode turbo;

  Configured(const CodeDescription& description, std::int32_t type, std::int32_t n)
      : code(description), turbo(type, 2) {
    turbo.attachConstituent(0, code, first);
    turbo.attachConstituent(1, code, second);
    EXPECT_EQ(turbo.setFrameLength(n, 3), 0);
  }
};

TEST(SetFrameLength, ParallelDefaultCodeAtHundredBits) {
  const Configured c(defaultCode(), Parallel, 100);
  EXPECT_EQ(c.turbo.hasNonSystematic, 0);
  EXPECT_EQ(c.turbo.frameLengths[0], 100);
  EXPECT_EQ(c.turbo.frameLengths[1], 100);
  EXPECT_EQ(c.turbo.frameLengths[2], 308);
  EXPECT_EQ(c.turbo.outputFrameLength, 308);
  EXPECT_NEAR(c.turbo.rate, 0.324675324675, 1e-12);
  for (const WeightEnumerator* e : {&c.first, &c.second}) {
    EXPECT_EQ(e->frameLength, 100);
    EXPECT_EQ(e->countsInputBits, 0u);
    EXPECT_EQ(e->repetitionFactor, 0);
  }
}

TEST(SetFrameLength, SerialDefaultCodeAtHundredBits) {
  const Configured c(defaultCode(), Serial, 100);
  EXPECT_EQ(c.turbo.frameLengths[0], 100);
  EXPECT_EQ(c.turbo.frameLengths[1], 204);
  EXPECT_EQ(c.turbo.frameLengths[2], 412);
  EXPECT_EQ(c.turbo.outputFrameLength, 412);
  EXPECT_NEAR(c.turbo.rate, 0.242718446602, 1e-12);
  EXPECT_EQ(c.first.frameLength, 100);
  EXPECT_EQ(c.second.frameLength, 204);
  EXPECT_EQ(c.first.countsInputBits, 1u);
  EXPECT_EQ(c.second.countsInputBits, 1u);
}

TEST(SetFrameLength, ThousandBits) {
  const Configured parallel(defaultCode(), Parallel, 1000);
  EXPECT_EQ(parallel.turbo.outputFrameLength, 3008);
  EXPECT_NEAR(parallel.turbo.rate, 0.332446808510, 1e-12);
  const Configured serial(defaultCode(), Serial, 1000);
  EXPECT_EQ(serial.turbo.frameLengths[1], 2004);
  EXPECT_EQ(serial.turbo.outputFrameLength, 4012);
}

TEST(SetFrameLength, NonSystematicParallelCountsAllOutputBits) {
  const Configured c(nonSystematicCounterpart(defaultCode()), Parallel, 10);
  EXPECT_EQ(c.turbo.hasNonSystematic, 1);
  EXPECT_EQ(c.first.countsInputBits, 1u);
  // Two constituents of one output bit per section: 2 · (10 + 2).
  EXPECT_EQ(c.turbo.outputFrameLength, 24);
}

TEST(SetFrameLength, RepetitionOuterCode) {
  const CodeDescription inner = nonSystematicCounterpart(defaultCode());
  const Configured c(inner, RepetitionSerial, 10);
  EXPECT_EQ(c.turbo.frameLengths[0], 10);
  EXPECT_EQ(c.turbo.frameLengths[1], 30);
  EXPECT_EQ(c.turbo.frameLengths[2], 32);
  EXPECT_EQ(c.turbo.outputFrameLength, 32);
  EXPECT_EQ(c.first.repetitionFactor, 3);
  EXPECT_EQ(c.first.frameLength, 10);
  EXPECT_EQ(c.second.repetitionFactor, 0);
  EXPECT_EQ(c.second.frameLength, 30);
}

TEST(SetFrameLength, TooManyConstituentsChangesNothing) {
  const ConvCode code(defaultCode());
  TurboCode turbo(Parallel, 5);
  EXPECT_EQ(turbo.setFrameLength(100, 3), -1);
  EXPECT_EQ(turbo.outputFrameLength, 0);
  EXPECT_EQ(turbo.frameLengths[0], 0);
}

TEST(SetFrameLength, MissingCodeChangesNothing) {
  const ConvCode code(defaultCode());
  WeightEnumerator first;
  TurboCode turbo(Parallel, 2);
  turbo.attachConstituent(0, code, first);
  EXPECT_EQ(turbo.setFrameLength(100, 3), -2);
  EXPECT_EQ(turbo.outputFrameLength, 0);
  EXPECT_EQ(first.frameLength, 0);
}

TEST(ConcatenationTypeName, Names) {
  EXPECT_EQ(concatenationTypeName(0), "PCCC");
  EXPECT_EQ(concatenationTypeName(1), "SCCC");
  EXPECT_EQ(concatenationTypeName(2), "SCC with 1st-RC and 2nd-CC");
}

}  // namespace
}  // namespace brevandor
