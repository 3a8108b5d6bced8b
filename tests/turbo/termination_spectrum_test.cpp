// Parallel codes whose frames end otherwise than "every encoder terminated, its whole tail
// sent": open encoders, and tails that keep the pattern or hold back their input bits. Held
// to the mean over every interleaver of tiny frames, each input word encoded through each
// permutation from the polynomials (support/general_encoder.h).

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "code/polynomial.h"
#include "code/polynomial_list.h"
#include "run/run_inputs.h"
#include "support/general_encoder.h"
#include "support/general_pipeline.h"
#include "support/spectrum_checks.h"
#include "support/turbo_pipeline.h"

namespace brevandor {
namespace {

using testing::FrameEnd;
using testing::MultiParityEncoder;
using testing::SentStreams;

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

std::vector<std::string> rowsOf(const std::string& pattern) {
  std::vector<std::string> rows;
  std::size_t start = 0;
  for (std::size_t comma = pattern.find(','); comma != std::string::npos;
       comma = pattern.find(',', start)) {
    rows.push_back(pattern.substr(start, comma - start));
    start = comma + 1;
  }
  rows.push_back(pattern.substr(start));
  return rows;
}

// What encoder `e` of the case sends, with the tail rule written out: a punctured tail is a
// pattern row read on past the frame, so the streams' rows are the pattern's as they are.
SentStreams streamsOf(const EndingCase& c, std::size_t e, std::size_t outputs) {
  SentStreams streams;
  streams.sendsSystematic = e == 0;
  const bool terminated =
      c.termination == Termination::Both || (c.termination == Termination::First && e == 0);
  streams.end = terminated ? FrameEnd::Terminated : FrameEnd::Open;
  streams.tailInputSent = !(c.tailRule.firstTailInputOnly && e > 0);
  if (std::string(c.pattern).empty()) {
    return streams;
  }
  const std::vector<std::string> rows = rowsOf(c.pattern);
  streams.systematicRow = rows[0];
  const std::size_t first = 1 + e * outputs;
  streams.parityRows.assign(rows.begin() + static_cast<std::ptrdiff_t>(first),
                            rows.begin() + static_cast<std::ptrdiff_t>(first + outputs));
  streams.punctureTail = c.tailRule.punctureTail;
  return streams;
}

class EndingAllInterleavers : public ::testing::TestWithParam<EndingCase> {};

TEST_P(EndingAllInterleavers, UniformAverageEqualsTheMeanOverEveryPermutation) {
  const EndingCase& c = GetParam();
  const PolynomialList list = parsePolynomialList(c.numerators);
  const MultiParityEncoder encoder({list.masks.begin(), list.masks.end()},
                                   static_cast<std::uint32_t>(parsePolynomial(c.denominator)));
  const std::size_t outputs = list.masks.size();
  const std::vector<std::vector<std::int32_t>> weights{
      testing::sentWeights(encoder, c.frameLength, streamsOf(c, 0, outputs)),
      testing::sentWeights(encoder, c.frameLength, streamsOf(c, 1, outputs))};
  // The bits sent: the largest weight any word can have is at most this many.
  const std::int32_t bound =
      (c.frameLength + encoder.memory) * (1 + 2 * static_cast<std::int32_t>(outputs)) +
      2 * encoder.memory;
  testing::LinearSpectrum expected = testing::allInterleavers(weights, c.frameLength, bound);
  testing::GeneralParallel shape;
  shape.first = codeFromTexts(c.numerators, c.denominator).description.value();
  shape.termination = c.termination;
  shape.tailRule = c.tailRule;
  if (!std::string(c.pattern).empty()) {
    const std::vector<std::string> names = patternRowNames(rowsOf(c.pattern).size());
    shape.puncturing.parallel = parsePuncturePattern(c.pattern, rowViews(names)).pattern.value();
  }
  for (const Engine engine : {Engine::Reference, Engine::Fast}) {
    testing::GeneralPipeline pipeline(shape, c.frameLength, engine);
    const std::int32_t sent = pipeline.turbo.outputFrameLength;
    ASSERT_EQ(pipeline.run(), sent);
    expected.codeword.resize(static_cast<std::size_t>(sent) + 1);
    expected.weighted.resize(static_cast<std::size_t>(sent) + 1);
    testing::expectSpectrum(testing::TurboPipeline::plain(pipeline.codeword), expected.codeword,
                            "codeword");
    testing::expectSpectrum(testing::TurboPipeline::plain(pipeline.weighted), expected.weighted,
                            "weighted");
  }
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
                   Termination::First, TailRule{false, true}, 6}),
    [](const auto& testInfo) { return std::string(testInfo.param.name); });

}  // namespace
}  // namespace brevandor
