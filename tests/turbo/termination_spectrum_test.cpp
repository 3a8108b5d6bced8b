// Parallel codes whose frames end otherwise than "every encoder terminated, its whole tail
// sent": open encoders, and tails that keep the pattern or hold back their input bits. Held
// to the mean over every interleaver of tiny frames, each input word encoded through each
// permutation from the polynomials (support/all_interleavers_check.h), and every constituent
// table's columns summing to C(N, w).

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "code/polynomial.h"
#include "code/polynomial_list.h"
#include "run/run_inputs.h"
#include "support/all_interleavers_check.h"

namespace brevandor {
namespace {

using testing::MultiParityEncoder;

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
  const PolynomialList list = parsePolynomialList(c.numerators);
  const MultiParityEncoder encoder({list.masks.begin(), list.masks.end()},
                                   static_cast<std::uint32_t>(parsePolynomial(c.denominator)));
  const std::vector<std::size_t> parities(2, list.masks.size());
  std::vector<std::vector<std::int32_t>> weights;
  for (std::size_t e = 0; e < 2; ++e) {
    const testing::SentStreams streams = testing::sentStreams(
        c.pattern, parities, e, testing::endingStreams(c.termination, c.tailRule, e));
    weights.push_back(testing::sentWeights(encoder, c.frameLength, streams));
  }
  // The bits sent: the largest weight any word can have is at most this many.
  const auto outputs = static_cast<std::int32_t>(list.masks.size());
  const std::int32_t bound =
      (c.frameLength + encoder.memory) * (1 + 2 * outputs) + 2 * encoder.memory;
  testing::GeneralParallel shape;
  shape.first = codeFromTexts(c.numerators, c.denominator).description.value();
  shape.termination = c.termination;
  shape.tailRule = c.tailRule;
  shape.puncturing = testing::parallelPatternOf(c.pattern);
  testing::expectEnginesMatchEveryInterleaver(
      shape, c.frameLength, -1, testing::allInterleavers(weights, c.frameLength, bound));
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

}  // namespace
}  // namespace brevandor
