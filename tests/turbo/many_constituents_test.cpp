// Parallel codes of three constituents over two independent uniform interleavers, held to
// the mean over every pair of permutations of tiny frames (support/general_encoder.h).

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
  testing::GeneralShape shape;
  shape.first = codeFromTexts(c.numerators, c.denominator).description.value();
  shape.constituents = c.constituents;
  testing::expectEnginesMatchEveryInterleaver(
      shape, c.frameLength, sent, testing::allInterleavers(weights, c.frameLength, sent));
}

INSTANTIATE_TEST_SUITE_P(SmallFrames, ManyConstituents,
                         ::testing::Values(ManyCase{"ThreeOfOneOutput", "1+D+D^2", "1+D^2", 3, 5},
                                           ManyCase{"ThreeOfTwoOutputs", "1+D+D^2,1+D", "1+D^2", 3,
                                                    4},
                                           ManyCase{"ThreeFeedforward", "1+D^2", "1", 3, 5}),
                         [](const auto& testInfo) { return std::string(testInfo.param.name); });

}  // namespace
}  // namespace brevandor
