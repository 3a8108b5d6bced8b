// Parallel codes of three constituents over two independent uniform interleavers, held to
// the mean over every pair of permutations of tiny frames (support/general_encoder.h).

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "code/polynomial.h"
#include "code/polynomial_list.h"
#include "run/run_inputs.h"
#include "support/general_encoder.h"
#include "support/spectrum_checks.h"
#include "support/turbo_pipeline.h"

namespace brevandor {
namespace {

using testing::MultiParityEncoder;
using testing::SentStreams;

struct ManyCase {
  const char* name;
  const char* numerators;
  const char* denominator;
  std::int32_t constituents;
  std::int32_t frameLength;
};

void PrintTo(const ManyCase& c, std::ostream* out) {
  *out << c.name;
}

// The codes, tables and turbo code of a parallel code of M constituents of one code.
struct ManyPipeline {
  ConvCode code;
  WeightEnumerator enumerators[TurboCode::kMaxConstituents];
  TurboCode turbo;
  testing::RecordingTarget target;
  CancelFlag cancel{0};
  RunContext context;
  std::vector<double> codeword;
  std::vector<double> weighted;

  ManyPipeline(const CodeDescription& description, std::int32_t count, std::int32_t frameLength,
               Engine engine)
      : code(description), turbo(ConcatenationType::Parallel, count) {
    context.cancelFlag = &cancel;
    context.noticeTarget = &target;
    context.engine = engine;
    for (std::int32_t c = 0; c < count; ++c) {
      turbo.attachConstituent(c, code, enumerators[c]);
    }
    turbo.setFrameLength(frameLength, 3);
    codeword.assign(static_cast<std::size_t>(turbo.outputFrameLength) + 1, 0.0);
    weighted.assign(codeword.size(), 0.0);
  }
  ~ManyPipeline() {
    for (WeightEnumerator& enumerator : enumerators) {
      enumerator.release(code);
    }
  }
  ManyPipeline(const ManyPipeline&) = delete;
  ManyPipeline& operator=(const ManyPipeline&) = delete;

  std::int32_t run() {
    for (std::int32_t c = 0; c < turbo.constituentCount; ++c) {
      enumerators[c].allocate(code);
      enumerators[c].computeTransferMatrix(code);
      if (enumerators[c].computeCwef(code, context) == StageEnd::Cancelled) {
        return -1;
      }
    }
    return testing::stageCode(turbo.computeParallelSpectrum(codeword, weighted, context));
  }
};

class ManyConstituents : public ::testing::TestWithParam<ManyCase> {};

TEST_P(ManyConstituents, UniformAverageEqualsTheMeanOverEveryPairOfPermutations) {
  const ManyCase& c = GetParam();
  const PolynomialList list = parsePolynomialList(c.numerators);
  const MultiParityEncoder encoder({list.masks.begin(), list.masks.end()},
                                   static_cast<std::uint32_t>(parsePolynomial(c.denominator)));
  SentStreams first;
  first.sendsSystematic = true;
  std::vector<std::vector<std::int32_t>> weights{
      testing::sentWeights(encoder, c.frameLength, first)};
  for (std::int32_t e = 1; e < c.constituents; ++e) {
    weights.push_back(testing::sentWeights(encoder, c.frameLength, SentStreams{}));
  }
  const auto outputs = static_cast<std::int32_t>(list.masks.size());
  // Every encoder sends its parity bits and its whole tail; the input bits go once.
  const std::int32_t sent = c.frameLength * (1 + c.constituents * outputs) +
                            c.constituents * encoder.memory * (outputs + 1);
  const testing::LinearSpectrum expected = testing::allInterleavers(weights, c.frameLength, sent);
  for (const Engine engine : {Engine::Reference, Engine::Fast}) {
    ManyPipeline pipeline(codeFromTexts(c.numerators, c.denominator).description.value(),
                          c.constituents, c.frameLength, engine);
    ASSERT_EQ(pipeline.turbo.outputFrameLength, sent);
    ASSERT_EQ(pipeline.run(), sent);
    testing::expectSpectrum(testing::TurboPipeline::plain(pipeline.codeword), expected.codeword,
                            "codeword");
    testing::expectSpectrum(testing::TurboPipeline::plain(pipeline.weighted), expected.weighted,
                            "weighted");
  }
}

INSTANTIATE_TEST_SUITE_P(SmallFrames, ManyConstituents,
                         ::testing::Values(ManyCase{"ThreeOfOneOutput", "1+D+D^2", "1+D^2", 3, 5},
                                           ManyCase{"ThreeOfTwoOutputs", "1+D+D^2,1+D", "1+D^2", 3,
                                                    4},
                                           ManyCase{"ThreeFeedforward", "1+D^2", "1", 3, 5}),
                         [](const auto& testInfo) { return std::string(testInfo.param.name); });

}  // namespace
}  // namespace brevandor
