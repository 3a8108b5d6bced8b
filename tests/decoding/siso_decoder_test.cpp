#include "decoding/siso_decoder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "code/polynomial_list.h"
#include "decoding/jacobian_log.h"
#include "interleavers/random_bits.h"
#include "support/test_codes.h"

namespace brevandor {
namespace {

// The a-posteriori values of one frame by brute force: every path of the trellis from state
// 0 (ending in state 0 when terminated) is a codeword; its metric is ½ Σ ±L over its output
// and input bits, and a bit's value combines the metrics of the codewords with that bit 0
// against those with it 1 — all sums for log-MAP, the best codeword for max-log-MAP.
struct Enumerated {
  std::vector<double> input;
  std::vector<double> code;
};

Enumerated enumerate(const Trellis& trellis, std::int32_t sections, TrellisEnd end,
                     SisoAlgorithm algorithm, const std::vector<double>& channel,
                     const std::vector<double>& apriori) {
  const auto n = static_cast<std::size_t>(trellis.n);
  const auto count = static_cast<std::size_t>(sections);
  std::vector<double> inputZero(count, kNoPath), inputOne(count, kNoPath);
  std::vector<double> codeZero(count * n, kNoPath), codeOne(count * n, kNoPath);
  const auto add = [algorithm](double& sum, double term) {
    sum = algorithm == SisoAlgorithm::LogMap ? jacobianLog(sum, term) : std::max(sum, term);
  };
  for (std::uint32_t inputs = 0; inputs < (1u << sections); ++inputs) {
    std::int32_t state = 0;
    double metric = 0.0;
    std::vector<std::int32_t> words(count);
    for (std::size_t t = 0; t < count; ++t) {
      const TrellisBranch& branch = trellis.row(state)[(inputs >> t) & 1u];
      words[t] = branch.output;
      state = branch.state;
      metric += ((inputs >> t) & 1u) != 0 ? -apriori[t] / 2 : apriori[t] / 2;
      for (std::size_t i = 0; i < n; ++i) {
        metric +=
            ((branch.output >> i) & 1) != 0 ? -channel[t * n + i] / 2 : channel[t * n + i] / 2;
      }
    }
    if (end == TrellisEnd::Terminated && state != 0) {
      continue;
    }
    for (std::size_t t = 0; t < count; ++t) {
      add(((inputs >> t) & 1u) != 0 ? inputOne[t] : inputZero[t], metric);
      for (std::size_t i = 0; i < n; ++i) {
        add(((words[t] >> i) & 1) != 0 ? codeOne[t * n + i] : codeZero[t * n + i], metric);
      }
    }
  }
  Enumerated result{std::vector<double>(count), std::vector<double>(count * n)};
  for (std::size_t t = 0; t < count; ++t) {
    result.input[t] = inputZero[t] - inputOne[t];
  }
  for (std::size_t b = 0; b < count * n; ++b) {
    result.code[b] = codeZero[b] - codeOne[b];
  }
  return result;
}

struct SisoCase {
  testing::CodeCase code;
  TrellisEnd end;
  SisoAlgorithm algorithm;
};

class SisoDecoderTest : public ::testing::TestWithParam<SisoCase> {};

TEST_P(SisoDecoderTest, APosterioriValuesEqualEnumerationOverAllCodewords) {
  const SisoCase& c = GetParam();
  const ConvCode code(c.code.description());
  const std::int32_t information = 7;
  const std::int32_t sections =
      information + (c.end == TrellisEnd::Terminated ? code.tailLength() : 0);
  const auto n = static_cast<std::size_t>(code.n);
  RandomBits bits(2024);
  std::vector<double> channel(static_cast<std::size_t>(sections) * n);
  std::vector<double> apriori(static_cast<std::size_t>(sections), 0.0);
  for (double& value : channel) {
    value = 6.0 * bits.openUnit() - 3.0;
  }
  for (std::int32_t t = 0; t < information; ++t) {
    apriori[static_cast<std::size_t>(t)] = 4.0 * bits.openUnit() - 2.0;
  }
  std::vector<double> inputApp(apriori.size());
  std::vector<double> codeApp(channel.size());
  SisoDecoder decoder(code.forwardTrellis, c.algorithm, c.end);
  decoder.decode(sections, {channel, apriori}, {inputApp, codeApp});

  const Enumerated expected =
      enumerate(code.forwardTrellis, sections, c.end, c.algorithm, channel, apriori);
  // Log-MAP sums the same terms in another order; max-log-MAP picks the same best path, so
  // only the rounding of the path sums differs.
  const double tolerance = 1e-9;
  for (std::int32_t t = 0; t < information; ++t) {
    EXPECT_NEAR(inputApp[static_cast<std::size_t>(t)], expected.input[static_cast<std::size_t>(t)],
                tolerance)
        << "input bit " << t;
  }
  for (std::size_t b = 0; b < codeApp.size(); ++b) {
    // A feedforward code's tail sends fixed zeros: both sides say so with +∞.
    if (std::isinf(expected.code[b])) {
      EXPECT_EQ(codeApp[b], expected.code[b]) << "output bit " << b;
    } else {
      EXPECT_NEAR(codeApp[b], expected.code[b], tolerance) << "output bit " << b;
    }
  }
}

INSTANTIATE_TEST_SUITE_P(
    Codes, SisoDecoderTest, ::testing::ValuesIn([] {
      std::vector<SisoCase> cases;
      for (const testing::CodeCase& code : {testing::kDefaultCase, testing::kMemory3Case,
                                            testing::kFeedforwardCase, testing::kCounterpartCase}) {
        for (const TrellisEnd end : {TrellisEnd::Terminated, TrellisEnd::Open}) {
          for (const SisoAlgorithm algorithm : {SisoAlgorithm::LogMap, SisoAlgorithm::MaxLogMap}) {
            cases.push_back({code, end, algorithm});
          }
        }
      }
      return cases;
    }()),
    [](const auto& named) {
      const SisoCase& c = named.param;
      return c.code.name() + (c.end == TrellisEnd::Terminated ? "_terminated_" : "_open_") +
             (c.algorithm == SisoAlgorithm::LogMap ? "LogMap" : "MaxLogMap");
    });

// A code of the fast decoder's table: its name and description.
struct LaneCase {
  std::string name;
  CodeDescription code;
  TrellisEnd end;
  SisoAlgorithm algorithm;
};

void PrintTo(const LaneCase& c, std::ostream* os) {
  *os << c.name;
}

// One frame's a-posteriori values.
struct Posterior {
  std::vector<double> input;
  std::vector<double> code;
};

// A long frame of channel values as BPSK at about 1 dB gives them (|L| up to about 12) and
// a-priori values of the same size (of `aprioriSpan` at most), decoded by `decoder`.
Posterior decodeLongFrame(SisoDecoder& decoder, const ConvCode& code, TrellisEnd end,
                          SisoChannel channelUse = SisoChannel::New, double aprioriSpan = 10.0) {
  const std::int32_t sections = 300 + (end == TrellisEnd::Terminated ? code.tailLength() : 0);
  const auto n = static_cast<std::size_t>(code.n);
  RandomBits bits(99);
  std::vector<double> channel(static_cast<std::size_t>(sections) * n);
  std::vector<double> apriori(static_cast<std::size_t>(sections), 0.0);
  for (double& value : channel) {
    value = 12.0 * bits.openUnit() - 4.0;
  }
  for (std::size_t t = 0; t < 300; ++t) {
    apriori[t] = aprioriSpan * bits.openUnit() - aprioriSpan / 2;
  }
  Posterior out{std::vector<double>(apriori.size()), std::vector<double>(channel.size())};
  decoder.decode(sections, {channel, apriori}, {out.input, out.code}, channelUse);
  return out;
}

class SisoLaneTest : public ::testing::TestWithParam<LaneCase> {};

// The fast arithmetic (floats in vector lanes) against the exact decoder on a long frame:
// single precision over sums of a few hundred LLRs between normalisations leaves errors of a
// few 1e-5 (measured: at most 2e-5); 1e-4 · (1 + |L|) is the tolerance bench/README.md states.
TEST_P(SisoLaneTest, FastArithmeticStaysNearTheExactValues) {
  const LaneCase& c = GetParam();
  const ConvCode code(c.code);
  SisoDecoder exact(code.forwardTrellis, c.algorithm, c.end);
  SisoDecoder fast(code.forwardTrellis, c.algorithm, c.end, SisoArithmetic::Fast);
  ASSERT_TRUE(fast.runsLanes());
  const Posterior expected = decodeLongFrame(exact, code, c.end);
  const Posterior got = decodeLongFrame(fast, code, c.end);
  const auto near = [](double value, double reference) {
    return std::isinf(reference)
               ? value == reference
               : std::abs(value - reference) <= 1e-4 * (1.0 + std::abs(reference));
  };
  for (std::size_t t = 0; t < 300; ++t) {
    EXPECT_PRED2(near, got.input[t], expected.input[t]) << "input bit " << t;
  }
  for (std::size_t b = 0; b < got.code.size(); ++b) {
    EXPECT_PRED2(near, got.code[b], expected.code[b]) << "output bit " << b;
  }
}

// The vector kernels this processor runs give the portable kernels' values bit for bit, so the
// simulation counts the same errors on every machine.
TEST_P(SisoLaneTest, VectorKernelsEqualPortableOnesBitForBit) {
  const LaneCase& c = GetParam();
  const ConvCode code(c.code);
  SisoDecoder fast(code.forwardTrellis, c.algorithm, c.end, SisoArithmetic::Fast);
  const LaneSisoKernels* vector = vectorLaneSisoKernels(fast.laneWidth());
  if (vector == nullptr) {
    GTEST_SKIP() << "no vector kernels of " << fast.laneWidth() << " lanes on this processor";
  }
  fast.useLaneKernels(*vector);
  const Posterior got = decodeLongFrame(fast, code, c.end);
  fast.useLaneKernels(portableLaneSisoKernels(fast.laneWidth()));
  const Posterior portable = decodeLongFrame(fast, code, c.end);
  EXPECT_EQ(got.input, portable.input);
  EXPECT_EQ(got.code, portable.code);
}

// A later iteration of a frame reuses the channel part of the branch metrics that the first
// wrote: the same values as working them out again.
TEST_P(SisoLaneTest, LaterIterationReusesTheChannelPartExactly) {
  const LaneCase& c = GetParam();
  const ConvCode code(c.code);
  SisoDecoder fresh(code.forwardTrellis, c.algorithm, c.end, SisoArithmetic::Fast);
  SisoDecoder iterated(code.forwardTrellis, c.algorithm, c.end, SisoArithmetic::Fast);
  decodeLongFrame(iterated, code, c.end, SisoChannel::New, 0.0);
  const Posterior expected = decodeLongFrame(fresh, code, c.end);
  const Posterior got = decodeLongFrame(iterated, code, c.end, SisoChannel::AsBefore);
  EXPECT_EQ(got.input, expected.input);
  EXPECT_EQ(got.code, expected.code);
}

INSTANTIATE_TEST_SUITE_P(
    Codes, SisoLaneTest, ::testing::ValuesIn([] {
      // Four to sixteen states, one to three output bits: eight lanes and sixteen.
      const std::vector<std::pair<std::string, CodeDescription>> codes{
          {"Default", testing::kDefaultCase.description()},
          {"Memory3", testing::kMemory3Case.description()},
          {"Feedforward", testing::kFeedforwardCase.description()},
          {"Counterpart", testing::kCounterpartCase.description()},
          {"Memory4", testing::describeOrDie("1+D^2+D^3+D^4", "1+D+D^4")},
          {"TwoParities", describeCode(parsePolynomialList("1+D+D^3,1+D+D^2+D^3").masks,
                                       parsePolynomial("1+D^2+D^3"))
                              .description.value()}};
      std::vector<LaneCase> cases;
      for (const auto& [name, code] : codes) {
        for (const TrellisEnd end : {TrellisEnd::Terminated, TrellisEnd::Open}) {
          for (const SisoAlgorithm algorithm : {SisoAlgorithm::LogMap, SisoAlgorithm::MaxLogMap}) {
            cases.push_back({name + (end == TrellisEnd::Terminated ? "_terminated_" : "_open_") +
                                 (algorithm == SisoAlgorithm::LogMap ? "LogMap" : "MaxLogMap"),
                             code, end, algorithm});
          }
        }
      }
      return cases;
    }()),
    [](const auto& named) { return named.param.name; });

}  // namespace
}  // namespace brevandor
