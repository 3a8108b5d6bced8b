// Parallel codes whose frames end otherwise than "every encoder terminated, its whole tail
// sent": open encoders, and tails that keep the pattern or hold back their input bits. Held
// to the mean over every interleaver of tiny frames, each input word encoded through each
// permutation from the polynomials (support/all_interleavers_check.h), and every constituent
// table's columns summing to C(N, w).

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "code/code_description.h"
#include "run/run_inputs.h"
#include "support/all_interleavers_check.h"
#include "turbo/turbo_puncturing.h"

namespace brevandor {
namespace {

struct EndingCase {
  const char* name;
  const char* numerators;
  const char* denominator;
  const char* pattern;  // "": none
  Termination termination;
  TailRule tailRule;
  std::int32_t frameLength;
};

void PrintTo(const EndingCase& c, std::ostream* out) {
  *out << c.name;
}

class EndingAllInterleavers : public ::testing::TestWithParam<EndingCase> {};

TEST_P(EndingAllInterleavers, UniformAverageEqualsTheMeanOverEveryPermutation) {
  const EndingCase& c = GetParam();
  testing::GeneralShape shape;
  shape.first = codeFromTexts(c.numerators, c.denominator).description.value();
  shape.termination = c.termination;
  shape.tailRule = c.tailRule;
  shape.puncturing = testing::parallelPatternOf(c.pattern);
  testing::expectEnginesMatchEveryInterleaver(
      shape, c.frameLength, -1, testing::everyInterleaverMean(shape, c.pattern, c.frameLength));
}

constexpr TailRule kWholeTails{};
constexpr TailRule kCcsdsTails{true, true};

INSTANTIATE_TEST_SUITE_P(
    SmallFrames, EndingAllInterleavers,
    ::testing::Values(
        EndingCase{"FirstTerminated", "1+D+D^2", "1+D^2", "", Termination::First, kWholeTails, 6},
        EndingCase{"Open", "1+D+D^2", "1+D^2", "", Termination::Open, kWholeTails, 6},
        EndingCase{"OpenTwoOutputs", "1+D+D^2,1+D", "1+D^2", "", Termination::Open, kWholeTails, 5},
        EndingCase{"SecondTailWithoutInput", "1+D+D^2", "1+D^2", "", Termination::Both,
                   TailRule{true, false}, 6},
        EndingCase{"CcsdsLikeRateHalf", "1+D+D^2,1+D", "1+D^2", "11,10,00,01,00", Termination::Both,
                   kCcsdsTails, 6},
        EndingCase{"CcsdsLikeThreeOutputs", "1+D+D^3,1+D^2+D^3,1+D+D^2+D^3", "1+D^2+D^3",
                   "1,1,1,0,1,0,1", Termination::Both, kCcsdsTails, 5},
        EndingCase{"FirstTerminatedPuncturedTails", "1+D+D^2", "1+D^2", "110,101,011",
                   Termination::First, TailRule{false, true}, 6},
        // Tail-biting: 1 + D + D^2 has one circular state per word where 3 does not divide N.
        EndingCase{"TailBiting", "1+D^2", "1+D+D^2", "", Termination::TailBiting, kWholeTails, 5},
        EndingCase{"TailBitingTwoOutputs", "1+D^2,1+D", "1+D+D^2", "", Termination::TailBiting,
                   kWholeTails, 4},
        EndingCase{"TailBitingPunctured", "1+D^2", "1+D+D^2", "110,101,011",
                   Termination::TailBiting, kWholeTails, 5}),
    [](const auto& testInfo) { return std::string(testInfo.param.name); });

// An SCCC: the outer code's frame of N bits, the inner code's of the outer code's sent bits.
struct SerialEndingCase {
  const char* name;
  const char* outerNumerators;
  const char* outerDenominator;
  const char* innerNumerators;
  const char* innerDenominator;
  const char* outerPattern;  // rows SYS,PAR…; "": none
  Termination termination;
  std::int32_t frameLength;
  std::int32_t sent;  // the bits of the inner codeword
};

void PrintTo(const SerialEndingCase& c, std::ostream* out) {
  *out << c.name;
}

class SerialEndingAllInterleavers : public ::testing::TestWithParam<SerialEndingCase> {};

TEST_P(SerialEndingAllInterleavers, UniformAverageEqualsTheMeanOverEveryPermutation) {
  const SerialEndingCase& c = GetParam();
  testing::GeneralShape shape;
  shape.type = ConcatenationType::Serial;
  shape.first = codeFromTexts(c.outerNumerators, c.outerDenominator).description.value();
  shape.second = codeFromTexts(c.innerNumerators, c.innerDenominator).description.value();
  shape.termination = c.termination;
  if (*c.outerPattern != '\0') {
    const std::vector<std::string> rows = serialPatternRows(parityOutputCount(shape.first));
    shape.puncturing.outer = parsePuncturePattern(c.outerPattern, rowViews(rows)).pattern.value();
  }
  testing::expectEnginesMatchEveryInterleaver(
      shape, c.frameLength, c.sent,
      testing::everyInterleaverMean(shape, c.outerPattern, c.frameLength));
}

// Tail-biting outer and inner frames: 1 + D + D^2 and 1 + D^2 + D^3 have one circular state per
// word where 3, respectively 7, does not divide the frame (4 outer bits give 8 inner ones); the
// terminated, first and open frames check the serial brute force itself.
INSTANTIATE_TEST_SUITE_P(
    SmallFrames, SerialEndingAllInterleavers,
    ::testing::Values(SerialEndingCase{"Terminated", "1+D^2", "1+D+D^2", "1+D^2", "1+D+D^2", "",
                                       Termination::Both, 2, 20},
                      SerialEndingCase{"Open", "1+D+D^2", "1+D^2", "1+D+D^2", "1+D^2", "",
                                       Termination::Open, 3, 12},
                      SerialEndingCase{"OuterTerminated", "1+D^2", "1+D+D^2", "1+D^2", "1+D+D^2",
                                       "", Termination::First, 2, 16},
                      SerialEndingCase{"TailBiting", "1+D^2", "1+D+D^2", "1+D^2", "1+D+D^2", "",
                                       Termination::TailBiting, 4, 16},
                      SerialEndingCase{"TailBitingMemory3Inner", "1+D^2", "1+D+D^2", "1+D+D^3",
                                       "1+D^2+D^3", "", Termination::TailBiting, 4, 16},
                      SerialEndingCase{"TailBitingPuncturedOuter", "1+D^2", "1+D+D^2", "1+D^2",
                                       "1+D+D^2", "11,10", Termination::TailBiting, 5, 16},
                      // One code tail-biting, the other terminated: 4 outer bits sent whole
                      // give 8 inner ones and a tail; 2 terminated outer bits with their tail
                      // give 8.
                      SerialEndingCase{"TailBitingOuterOnly", "1+D^2", "1+D+D^2", "1+D^2",
                                       "1+D+D^2", "", Termination::TailBitingOuter, 4, 20},
                      SerialEndingCase{"TailBitingInnerOnly", "1+D^2", "1+D+D^2", "1+D^2",
                                       "1+D+D^2", "", Termination::TailBitingInner, 2, 16}),
    [](const auto& testInfo) { return std::string(testInfo.param.name); });

}  // namespace
}  // namespace brevandor
