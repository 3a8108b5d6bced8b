// Turbo codes whose constituents have several parity outputs ( 1, g1/h, …, gm/h ), held to
// the mean over every interleaver of tiny frames: each input word encoded through each
// permutation by an encoder written from the polynomials (support/all_interleavers_check.h),
// and every constituent table's columns summing to C(N, w).

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "code/polynomial.h"
#include "code/polynomial_list.h"
#include "run/run_inputs.h"
#include "support/all_interleavers_check.h"

namespace brevandor {
namespace {

using testing::MultiParityEncoder;
using testing::SentStreams;
using testing::TurboPipeline;

struct MultiCode {
  const char* numerators;  // comma-separated
  const char* denominator;

  CodeDescription description() const {
    return codeFromTexts(numerators, denominator).description.value();
  }
  MultiParityEncoder encoder() const {
    const PolynomialList list = parsePolynomialList(numerators);
    return MultiParityEncoder({list.masks.begin(), list.masks.end()},
                              static_cast<std::uint32_t>(parsePolynomial(denominator)));
  }
};

struct MultiCase {
  const char* name;
  MultiCode first;
  MultiCode second;
  const char* pattern;  // SYS, encoder 1's parities, encoder 2's parities ("": none)
  std::int32_t frameLength;
};

void PrintTo(const MultiCase& c, std::ostream* out) {
  *out << c.name;
}

class MultiParityAllInterleavers : public ::testing::TestWithParam<MultiCase> {};

TEST_P(MultiParityAllInterleavers, UniformAverageEqualsTheMeanOverEveryPermutation) {
  const MultiCase& c = GetParam();
  const MultiParityEncoder encoders[] = {c.first.encoder(), c.second.encoder()};
  const std::vector<std::size_t> parities{encoders[0].numerators.size(),
                                          encoders[1].numerators.size()};
  std::vector<std::vector<std::int32_t>> weights;
  for (std::size_t e = 0; e < 2; ++e) {
    const SentStreams streams =
        testing::sentStreams(c.pattern, parities, e, testing::endingStreams({}, {}, e));
    weights.push_back(testing::sentWeights(encoders[e], c.frameLength, streams));
  }
  // The bits sent: every pattern '1' over the frame, and both tails whole.
  std::int32_t sent = 0;
  for (std::size_t e = 0; e < 2; ++e) {
    sent += encoders[e].memory * static_cast<std::int32_t>(parities[e] + 1);
  }
  const std::vector<std::string> rows =
      std::string(c.pattern).empty() ? std::vector<std::string>(1 + parities[0] + parities[1], "1")
                                     : testing::patternRows(c.pattern);
  for (std::int32_t t = 0; t < c.frameLength; ++t) {
    for (const std::string& row : rows) {
      sent += testing::sentAt(row.c_str(), t) ? 1 : 0;
    }
  }
  testing::GeneralShape shape;
  shape.first = c.first.description();
  shape.second = c.second.description();
  shape.puncturing = testing::parallelPatternOf(c.pattern);
  testing::expectEnginesMatchEveryInterleaver(
      shape, c.frameLength, sent, testing::allInterleavers(weights, c.frameLength, sent));
}

const MultiCode kTwoOutputs{"1+D+D^2,1+D", "1+D^2"};
const MultiCode kThreeOutputs{"1+D+D^3,1+D^2+D^3,1+D+D^2+D^3", "1+D^2+D^3"};
const MultiCode kOneOutput{"1+D+D^2", "1+D^2"};
const MultiCode kFeedforwardPair{"1+D+D^2,1+D^2", "1"};

INSTANTIATE_TEST_SUITE_P(
    SmallFrames, MultiParityAllInterleavers,
    ::testing::Values(
        MultiCase{"TwoOutputs", kTwoOutputs, kTwoOutputs, "", 5},
        MultiCase{"ThreeOutputs", kThreeOutputs, kThreeOutputs, "", 5},
        MultiCase{"TwoOutputsOverOne", kTwoOutputs, kOneOutput, "", 6},
        MultiCase{"FeedforwardPair", kFeedforwardPair, kFeedforwardPair, "", 5},
        MultiCase{"TwoOutputsPunctured", kTwoOutputs, kTwoOutputs, "11,10,01,01,10", 6},
        MultiCase{"ThreeOutputsPunctured", kThreeOutputs, kThreeOutputs, "1,1,0,0,1,0,0", 5},
        MultiCase{"SystematicPunctured", kTwoOutputs, kOneOutput, "10,11,01,11", 6}),
    [](const auto& testInfo) { return std::string(testInfo.param.name); });

// The counts [weight of every output bit][input weight] of one encoder, every word tried.
testing::CountTable allBitCounts(const MultiParityEncoder& encoder, std::int32_t frameLength) {
  SentStreams streams;
  streams.sendsSystematic = true;
  const std::vector<std::int32_t> weights = testing::sentWeights(encoder, frameLength, streams);
  const auto outputs = static_cast<std::int32_t>(encoder.numerators.size()) + 1;
  testing::CountTable counts(static_cast<std::size_t>((frameLength + encoder.memory) * outputs) + 1,
                             std::vector<double>(static_cast<std::size_t>(frameLength) + 1, 0.0));
  for (std::uint32_t word = 0; word < weights.size(); ++word) {
    counts[static_cast<std::size_t>(weights[word])]
          [static_cast<std::size_t>(std::popcount(word))] += 1.0;
  }
  return counts;
}

struct SerialCase {
  const char* name;
  MultiCode outer;
  MultiCode inner;
  std::int32_t frameLength;
};

void PrintTo(const SerialCase& c, std::ostream* out) {
  *out << c.name;
}

class MultiParitySerial : public ::testing::TestWithParam<SerialCase> {};

// The serial spectrum against the uniform-interleaver sum over exact tables of both codes,
// each found by encoding every input word (the inner code's over the outer codeword length).
TEST_P(MultiParitySerial, SpectrumEqualsTheSumOverExhaustiveTables) {
  const SerialCase& c = GetParam();
  const MultiParityEncoder outer = c.outer.encoder();
  const MultiParityEncoder inner = c.inner.encoder();
  const std::int32_t interleaver =
      (c.frameLength + outer.memory) * static_cast<std::int32_t>(outer.numerators.size() + 1);
  const testing::LinearSpectrum expected =
      testing::serialOracle(allBitCounts(outer, c.frameLength), allBitCounts(inner, interleaver),
                            c.frameLength, interleaver);
  for (const Engine engine : {Engine::Reference, Engine::Fast}) {
    TurboPipeline pipeline(c.outer.description(), ConcatenationType::Serial, c.frameLength, engine,
                           {}, c.inner.description());
    ASSERT_EQ(pipeline.turbo.frameLengths[1], interleaver);
    ASSERT_EQ(pipeline.run() + 1, static_cast<std::int32_t>(expected.codeword.size()));
    testing::expectSpectrum(TurboPipeline::plain(pipeline.codeword), expected.codeword, "codeword");
    testing::expectSpectrum(TurboPipeline::plain(pipeline.weighted), expected.weighted, "weighted");
  }
}

INSTANTIATE_TEST_SUITE_P(SmallFrames, MultiParitySerial,
                         ::testing::Values(SerialCase{"TwoOutputOuter", kTwoOutputs, kOneOutput, 4},
                                           SerialCase{"TwoOutputInner", kOneOutput, kTwoOutputs,
                                                      3}),
                         [](const auto& testInfo) { return std::string(testInfo.param.name); });

}  // namespace
}  // namespace brevandor
