#include "turbo/turbo_code.h"

#include <gtest/gtest.h>

#include <array>
#include <string>

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

  Configured(const CodeDescription& description, ConcatenationType type, std::int32_t n)
      : code(description), turbo(type, 2) {
    turbo.attachConstituent(0, code, first);
    turbo.attachConstituent(1, code, second);
    EXPECT_EQ(turbo.setFrameLength(n, 3), 0);
  }
};

TEST(SetFrameLength, ParallelDefaultCodeAtHundredBits) {
  const Configured c(defaultCode(), ConcatenationType::Parallel, 100);
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
  const Configured c(defaultCode(), ConcatenationType::Serial, 100);
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
  const Configured parallel(defaultCode(), ConcatenationType::Parallel, 1000);
  EXPECT_EQ(parallel.turbo.outputFrameLength, 3008);
  EXPECT_NEAR(parallel.turbo.rate, 0.332446808510, 1e-12);
  const Configured serial(defaultCode(), ConcatenationType::Serial, 1000);
  EXPECT_EQ(serial.turbo.frameLengths[1], 2004);
  EXPECT_EQ(serial.turbo.outputFrameLength, 4012);
}

TEST(SetFrameLength, NonSystematicParallelCountsAllOutputBits) {
  const Configured c(nonSystematicCounterpart(defaultCode()), ConcatenationType::Parallel, 10);
  EXPECT_EQ(c.turbo.hasNonSystematic, 1);
  EXPECT_EQ(c.first.countsInputBits, 1u);
  // Two constituents of one output bit per section: 2 · (10 + 2).
  EXPECT_EQ(c.turbo.outputFrameLength, 24);
}

TEST(SetFrameLength, RepetitionOuterCode) {
  const CodeDescription inner = nonSystematicCounterpart(defaultCode());
  const Configured c(inner, ConcatenationType::RepetitionSerial, 10);
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
  TurboCode turbo(ConcatenationType::Parallel, 5);
  EXPECT_EQ(turbo.setFrameLength(100, 3), -1);
  EXPECT_EQ(turbo.outputFrameLength, 0);
  EXPECT_EQ(turbo.frameLengths[0], 0);
}

TEST(SetFrameLength, MissingCodeChangesNothing) {
  const ConvCode code(defaultCode());
  WeightEnumerator first;
  TurboCode turbo(ConcatenationType::Parallel, 2);
  turbo.attachConstituent(0, code, first);
  EXPECT_EQ(turbo.setFrameLength(100, 3), -2);
  EXPECT_EQ(turbo.outputFrameLength, 0);
  EXPECT_EQ(first.frameLength, 0);
}

// Lengths of punctured and asymmetric codes at N = 100, counted by hand: the default code
// (memory 2) has a tail of 2 · 2 bits, "1+D+D^3" over "1+D^2+D^3" (memory 3) one of 2 · 3.
struct PuncturedLengths {
  const char* name;
  ConcatenationType type;
  const char* parallel;
  const char* outer;
  const char* inner;
  bool memory3Second;
  std::array<std::int32_t, 2> sent;  // bits each constituent sends
  std::int32_t interleaverLength;    // SCCC: the inner frame, the outer bits sent
  std::int32_t output;
  std::array<std::uint32_t, 2> countsInputBits;
};

class PuncturedFrameLengths : public ::testing::TestWithParam<PuncturedLengths> {};

TEST_P(PuncturedFrameLengths, FollowTheBitsEachPatternSends) {
  const PuncturedLengths& c = GetParam();
  const ConvCode code(defaultCode());
  const ConvCode memory3(describeOrDie("1+D+D^3", "1+D^2+D^3"));
  WeightEnumerator enumerators[2];
  TurboCode turbo(c.type, 2);
  turbo.puncturing = testing::puncturingOf(c.parallel, c.outer, c.inner);
  turbo.attachConstituent(0, code, enumerators[0]);
  turbo.attachConstituent(1, c.memory3Second ? memory3 : code, enumerators[1]);
  ASSERT_EQ(turbo.setFrameLength(100, 3), 0);
  EXPECT_EQ(turbo.sentLengths[0], c.sent[0]);
  EXPECT_EQ(turbo.sentLengths[1], c.sent[1]);
  EXPECT_EQ(turbo.outputFrameLength, c.output);
  EXPECT_EQ(turbo.frameLengths[2], c.output);
  EXPECT_DOUBLE_EQ(turbo.rate, 100.0 / c.output);
  EXPECT_EQ(enumerators[0].countsInputBits, c.countsInputBits[0]);
  EXPECT_EQ(enumerators[1].countsInputBits, c.countsInputBits[1]);
  if (c.type == ConcatenationType::Serial) {
    EXPECT_EQ(turbo.frameLengths[1], c.interleaverLength);
    EXPECT_EQ(enumerators[1].frameLength, c.interleaverLength);
  }
}

INSTANTIATE_TEST_SUITE_P(
    HundredBits, PuncturedFrameLengths,
    ::testing::Values(
        // 100 systematic + 50 PAR1 + 4 tail; 50 PAR2 + 4 tail.
        PuncturedLengths{"RateHalf",
                         ConcatenationType::Parallel,
                         "11,10,01",
                         "",
                         "",
                         false,
                         {154, 54},
                         0,
                         208,
                         {0, 0}},
        // 50 systematic + 100 PAR1 + 4; 100 PAR2 + 4: encoder 1 counts what it sends.
        PuncturedLengths{"SystematicPunctured",
                         ConcatenationType::Parallel,
                         "10,11,11",
                         "",
                         "",
                         false,
                         {154, 104},
                         0,
                         258,
                         {1, 0}},
        // 100 + 100 + 4; 100 + 6.
        PuncturedLengths{"Asymmetric",
                         ConcatenationType::Parallel,
                         "",
                         "",
                         "",
                         true,
                         {204, 106},
                         0,
                         310,
                         {0, 0}},
        // Outer: 100 + 50 + 4 = 154 bits into the interleaver; inner: 2 · (154 + 2).
        PuncturedLengths{"SerialOuter",
                         ConcatenationType::Serial,
                         "",
                         "11,10",
                         "",
                         false,
                         {154, 312},
                         154,
                         312,
                         {1, 1}},
        // Inner: 204 systematic + 102 parity + 4.
        PuncturedLengths{"SerialInner",
                         ConcatenationType::Serial,
                         "",
                         "",
                         "11,10",
                         false,
                         {204, 310},
                         204,
                         310,
                         {1, 1}},
        // Inner of memory 3: 2 · (204 + 3).
        PuncturedLengths{"SerialSecondCode",
                         ConcatenationType::Serial,
                         "",
                         "",
                         "",
                         true,
                         {204, 414},
                         204,
                         414,
                         {1, 1}}),
    [](const auto& testInfo) { return std::string(testInfo.param.name); });

TEST(ConcatenationTypeName, Names) {
  EXPECT_EQ(concatenationTypeName(ConcatenationType::Parallel), "PCCC");
  EXPECT_EQ(concatenationTypeName(ConcatenationType::Serial), "SCCC");
  EXPECT_EQ(concatenationTypeName(ConcatenationType::RepetitionSerial),
            "SCC with 1st-RC and 2nd-CC");
}

}  // namespace
}  // namespace brevandor
