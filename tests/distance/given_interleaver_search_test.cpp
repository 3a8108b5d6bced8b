#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cstdint>
#include <numeric>
#include <optional>
#include <ostream>
#include <random>
#include <string>
#include <vector>

#include "code/polynomial.h"
#include "code/polynomial_list.h"
#include "code/puncture_pattern.h"
#include "code/termination.h"
#include "distance/distance_search.h"
#include "enumerators/weight_enumerator.h"
#include "run/given_interleaver_code_of.h"
#include "support/case_name.h"
#include "support/exhaustive_encoder.h"
#include "support/test_codes.h"
#include "turbo/turbo_code.h"
#include "turbo/turbo_puncturing.h"

namespace brevandor {
namespace {

using Bits = std::vector<std::uint8_t>;

// A systematic rate-1/(m + 1) encoder written straight from its polynomials, independent of
// the trellis builder: feedback w = u + d1·w(t−1) + … + dK·w(t−K), parity j =
// a_j0·w + a_j1·w(t−1) + … over GF(2); the state holds the last K feedback symbols, bit 0
// the most recent. A feedforward code has denominator 1, so w = u.
struct RegisterEncoder {
  std::vector<std::uint32_t> numerators;
  std::uint32_t denominator = 1;
  std::int32_t memory = 0;  // K, the highest degree of all the polynomials

  explicit RegisterEncoder(const CodeDescription& description)
      : denominator(static_cast<std::uint32_t>(denominatorMask(description))) {
    std::uint32_t all = denominator;
    for (const std::int32_t mask : numeratorMasks(description)) {
      numerators.push_back(static_cast<std::uint32_t>(mask));
      all |= static_cast<std::uint32_t>(mask);
    }
    memory = static_cast<std::int32_t>(std::bit_width(all)) - 1;
  }
  // The input bit that makes the feedback symbol 0: what the tail sends.
  std::uint32_t zeroingInput(std::uint32_t state) const {
    return static_cast<std::uint32_t>(std::popcount((denominator >> 1) & state) & 1);
  }
  // One section: the parity bits in polynomial order; moves the register on.
  Bits step(std::uint32_t& state, std::uint32_t input) const {
    const std::uint32_t feedback = (input ^ zeroingInput(state)) & 1u;
    const std::uint32_t withFeedback = (state << 1) | feedback;
    Bits parities;
    for (const std::uint32_t numerator : numerators) {
      parities.push_back(static_cast<std::uint8_t>(std::popcount(numerator & withFeedback) & 1));
    }
    state = withFeedback & ((1u << memory) - 1u);
    return parities;
  }
};

// Which bits one constituent sends: its systematic row (none: never in the data sections),
// one row per parity output ("" sends every bit, as testing::sentAt reads rows), and how its
// frame ends.
struct SentStreams {
  std::optional<std::string> systematic;
  std::vector<std::string> parities;
  FrameEnding ending;
};

// The sent bits of a frame, written straight from the register: per section the systematic
// bit and the parity bits where their rows send them, then the tail of a terminated frame,
// each tail section's systematic bit first (where the ending sends tail inputs) and its
// parity bits, all sent or, with a punctured tail, where the rows say at sections N, N + 1, ….
Bits sentBits(const RegisterEncoder& encoder, const Bits& input, const SentStreams& streams) {
  Bits sent;
  std::uint32_t state = 0;
  const char* systematic = streams.systematic ? streams.systematic->c_str() : nullptr;
  const auto length = static_cast<std::int32_t>(input.size());
  for (std::int32_t t = 0; t < length; ++t) {
    const std::uint8_t u = input[static_cast<std::size_t>(t)];
    const Bits parities = encoder.step(state, u);
    if (testing::sentAt(systematic, t)) {
      sent.push_back(u);
    }
    for (std::size_t j = 0; j < parities.size(); ++j) {
      if (testing::sentAt(streams.parities[j].c_str(), t)) {
        sent.push_back(parities[j]);
      }
    }
  }
  if (!streams.ending.terminated) {
    return sent;
  }
  for (std::int32_t i = 0; i < encoder.memory; ++i) {
    const std::int32_t section = length + i;
    const auto sends = [&](const char* row) {
      return !streams.ending.punctureTail || testing::sentAt(row, section);
    };
    const std::uint32_t u = encoder.zeroingInput(state);
    const Bits parities = encoder.step(state, u);
    if (streams.ending.sendsTailInput && (systematic == nullptr || sends(systematic))) {
      sent.push_back(static_cast<std::uint8_t>(u));
    }
    for (std::size_t j = 0; j < parities.size(); ++j) {
      if (sends(streams.parities[j].c_str())) {
        sent.push_back(parities[j]);
      }
    }
  }
  return sent;
}

std::int32_t weightOf(const Bits& bits) {
  return static_cast<std::int32_t>(std::count(bits.begin(), bits.end(), 1));
}

// bits[π(j)] for j = 0 … L − 1: the interleaved j-th bit is the input's π(j)-th bit (of a
// permutation itself: π applied after it).
template <typename Values>
Values permuted(const Values& bits, const std::vector<std::int32_t>& permutation) {
  Values out(bits.size());
  for (std::size_t j = 0; j < bits.size(); ++j) {
    out[j] = bits[static_cast<std::size_t>(permutation[j])];
  }
  return out;
}

std::vector<std::int32_t> randomPermutation(std::int32_t length, std::uint32_t seed) {
  std::vector<std::int32_t> permutation(static_cast<std::size_t>(length));
  std::iota(permutation.begin(), permutation.end(), 0);
  std::mt19937 random(seed);
  std::shuffle(permutation.begin(), permutation.end(), random);
  return permutation;
}

std::vector<std::int32_t> inverseOf(const std::vector<std::int32_t>& permutation) {
  std::vector<std::int32_t> inverse(permutation.size());
  for (std::size_t j = 0; j < permutation.size(); ++j) {
    inverse[static_cast<std::size_t>(permutation[j])] = static_cast<std::int32_t>(j);
  }
  return inverse;
}

// One concatenated code, its patterns as the user types them, and D. A numerator may list
// several parity outputs ("g1,g2").
struct SearchCase {
  const char* name;
  ConcatenationType type;  // Parallel or Serial
  const char* numerator;
  const char* denominator;
  const char* numerator2;  // null: the first code
  const char* denominator2;
  std::int32_t frameLength;
  std::uint32_t seed;
  const char* pattern;       // parallel SYS, encoder 1's then encoder 2's parity rows, or
                             // serial outer SYS,PAR…; "" none
  const char* innerPattern;  // serial inner SYS,PAR…; "" none
  std::int32_t maxWeight;
  Termination termination = Termination::Both;
  TailRule tailRule = {};
  std::int32_t constituents = 2;  // PCCC: encoders 2, 3, … use the second code
};

// Test names and failure messages show the case's name.
void PrintTo(const SearchCase& c, std::ostream* out) {
  *out << c.name;
}

// A pattern row as text for sentAt ("" sends everything).
std::string rowOf(const char* pattern, std::size_t row) {
  std::string text(pattern);
  for (std::size_t r = 0; r < row && !text.empty(); ++r) {
    text = text.substr(text.find(',') + 1);
  }
  return text.substr(0, text.find(','));
}

CodeDescription describeList(const char* numerators, const char* denominator) {
  const PolynomialList list = parsePolynomialList(numerators);
  return describeCode(list.masks, parsePolynomial(denominator)).description.value();
}

PuncturePattern patternOf(std::string_view text, const std::vector<std::string>& rows) {
  const std::vector<std::string_view> names(rows.begin(), rows.end());
  return parsePuncturePattern(text, names).pattern.value();
}

// The configured turbo code of a case, with its codes and enumerators.
struct CaseCode {
  explicit CaseCode(const SearchCase& c)
      : first(describeList(c.numerator, c.denominator)),
        second(c.numerator2 != nullptr ? describeList(c.numerator2, c.denominator2)
                                       : describeList(c.numerator, c.denominator)),
        turbo(c.type, c.constituents) {
    const std::int32_t firstParities = parityOutputCount(first.description);
    const std::int32_t secondParities = parityOutputCount(second.description);
    const std::string_view pattern(c.pattern);
    const std::string_view inner(c.innerPattern);
    if (c.type == ConcatenationType::Parallel && !pattern.empty()) {
      std::vector<std::int32_t> counts(static_cast<std::size_t>(c.constituents), secondParities);
      counts.front() = firstParities;
      turbo.puncturing.parallel = patternOf(pattern, parallelPatternRows(counts));
    }
    if (c.type == ConcatenationType::Serial && !pattern.empty()) {
      turbo.puncturing.outer = patternOf(pattern, serialPatternRows(firstParities));
    }
    if (c.type == ConcatenationType::Serial && !inner.empty()) {
      turbo.puncturing.inner = patternOf(inner, serialPatternRows(secondParities));
    }
    turbo.termination = c.termination;
    turbo.tailRule = c.tailRule;
    for (std::int32_t k = 0; k < c.constituents; ++k) {
      turbo.attachConstituent(k, k == 0 ? first : second, enumerators[static_cast<std::size_t>(k)]);
    }
    turbo.setFrameLength(c.frameLength, 3);
  }
  // The streams of constituent c: its rows of the pattern, first row `firstRow`.
  SentStreams streams(const char* pattern, std::size_t firstRow, bool sendsSystematic,
                      std::int32_t c) const {
    const ConvCode& code = c == 0 ? first : second;
    SentStreams streams;
    streams.ending = turbo.endingOf(c);
    std::size_t row = firstRow;
    if (sendsSystematic) {
      streams.systematic = rowOf(pattern, row++);
    }
    for (std::int32_t j = 0; j < parityOutputCount(code.description); ++j) {
      streams.parities.push_back(rowOf(pattern, row++));
    }
    return streams;
  }
  ConvCode first;
  ConvCode second;
  WeightEnumerator enumerators[TurboCode::kMaxConstituents];
  TurboCode turbo;
};

GivenSpectrum search(const SearchCase& c, const std::vector<std::int32_t>& permutation) {
  CaseCode code(c);
  const auto given = givenInterleaverCodeOf(code.turbo, permutation);
  const DistanceSearchResult result =
      searchGivenInterleaver(*given, c.maxWeight, DistanceSearchLimits{}, RunContext{});
  EXPECT_EQ(result.outcome, DistanceSearchOutcome::Complete) << result.message;
  return result.spectrum;
}

// A_d and Σ w for d ≤ D by encoding every one of the 2^N input words.
GivenSpectrum bruteForce(const SearchCase& c, const std::vector<std::int32_t>& permutation) {
  const CaseCode code(c);
  const RegisterEncoder first(code.first.description);
  const RegisterEncoder second(code.second.description);
  GivenSpectrum spectrum;
  spectrum.codewords.assign(static_cast<std::size_t>(c.maxWeight) + 1, 0);
  spectrum.inputWeights = spectrum.codewords;
  const bool parallel = c.type == ConcatenationType::Parallel;
  const SentStreams outer = code.streams(c.pattern, 0, true, 0);
  const SentStreams inner = parallel ? code.streams(c.pattern, outer.parities.size() + 1, false, 1)
                                     : code.streams(c.innerPattern, 0, true, 1);
  // PCCC encoder k reads the input through the permutation applied k times.
  std::vector<SentStreams> further;
  std::vector<std::vector<std::int32_t>> powers;
  for (std::int32_t k = 2; k < c.constituents; ++k) {
    const std::size_t firstRow =
        1 + outer.parities.size() + static_cast<std::size_t>(k - 1) * inner.parities.size();
    further.push_back(code.streams(c.pattern, firstRow, false, k));
    powers.push_back(permuted(powers.empty() ? permutation : powers.back(), permutation));
  }
  for (std::uint32_t word = 1; word < (1u << c.frameLength); ++word) {
    Bits input(static_cast<std::size_t>(c.frameLength));
    for (std::size_t i = 0; i < input.size(); ++i) {
      input[i] = static_cast<std::uint8_t>((word >> i) & 1u);
    }
    const Bits sent = sentBits(first, input, outer);
    std::int32_t d =
        parallel ? weightOf(sent) + weightOf(sentBits(second, permuted(input, permutation), inner))
                 : weightOf(sentBits(second, permuted(sent, permutation), inner));
    for (std::size_t k = 0; k < further.size(); ++k) {
      d += weightOf(sentBits(second, permuted(input, powers[k]), further[k]));
    }
    if (d <= c.maxWeight) {
      ++spectrum.codewords[static_cast<std::size_t>(d)];
      spectrum.inputWeights[static_cast<std::size_t>(d)] +=
          static_cast<std::uint64_t>(std::popcount(word));
    }
  }
  return spectrum;
}

std::int32_t permutationLength(const SearchCase& c) {
  const CaseCode code(c);
  return givenInterleaverLength(code.turbo);
}

class GivenInterleaverSearchTest : public ::testing::TestWithParam<SearchCase> {};

// Expected values: every input word encoded by the independent shift-register encoder.
TEST_P(GivenInterleaverSearchTest, FindsEveryLightCodewordOfEveryInputWord) {
  const SearchCase& c = GetParam();
  const auto permutation = randomPermutation(permutationLength(c), c.seed);
  const GivenSpectrum expected = bruteForce(c, permutation);
  const GivenSpectrum found = search(c, permutation);
  ASSERT_TRUE(expected.minimumDistance().has_value()) << "D below d_min tests nothing";
  EXPECT_EQ(found.codewords, expected.codewords);
  EXPECT_EQ(found.inputWeights, expected.inputWeights);
}

constexpr SearchCase kSearchCases[] = {
    {"PcccDefaultCodeWholeSpectrum", ConcatenationType::Parallel, "1+D+D^2", "1+D^2", nullptr,
     nullptr, 10, 1, "", "", 40},
    {"PcccLteCodeN16", ConcatenationType::Parallel, "1+D+D^3", "1+D^2+D^3", nullptr, nullptr, 16, 2,
     "", "", 16},
    {"PcccLteCodeN18", ConcatenationType::Parallel, "1+D+D^3", "1+D^2+D^3", nullptr, nullptr, 18, 3,
     "", "", 14},
    {"PcccPuncturedHalfRate", ConcatenationType::Parallel, "1+D+D^2", "1+D^2", nullptr, nullptr, 14,
     4, "11,10,01", "", 12},
    {"PcccPuncturedSystematic", ConcatenationType::Parallel, "1+D^2", "1+D+D^2", nullptr, nullptr,
     12, 5, "110,111,101", "", 14},
    {"PcccSecondCodeFeedforward", ConcatenationType::Parallel, "1+D+D^2", "1+D^2", "1+D^2", "1", 12,
     6, "", "", 20},
    {"SccDefaultCodes", ConcatenationType::Serial, "1+D+D^2", "1+D^2", nullptr, nullptr, 8, 7, "",
     "", 14},
    {"SccPuncturedOuterAndInner", ConcatenationType::Serial, "1+D+D^2", "1+D^2", "1+D^2", "1+D+D^2",
     10, 8, "11,10", "11,01", 12},
    {"SccFeedforwardOuterWholeSpectrum", ConcatenationType::Serial, "1+D^2", "1", "1+D+D^2",
     "1+D^2", 6, 9, "", "", 60},
    {"PcccFirstTerminated", ConcatenationType::Parallel, "1+D+D^3", "1+D^2+D^3", nullptr, nullptr,
     14, 21, "", "", 16, Termination::First},
    {"PcccOpenPunctured", ConcatenationType::Parallel, "1+D+D^2", "1+D^2", nullptr, nullptr, 14, 22,
     "11,10,01", "", 10, Termination::Open},
    {"PcccTwoParityOutputs", ConcatenationType::Parallel, "1+D+D^2,1+D", "1+D^2", nullptr, nullptr,
     12, 23, "", "", 20},
    {"PcccThreeOutputsThirdRateTailRules", ConcatenationType::Parallel,
     "1+D+D^3+D^4,1+D^2+D^4,1+D+D^2+D^3+D^4", "1+D^3+D^4", nullptr, nullptr, 12, 24,
     "1,1,0,0,1,0,0", "", 16, Termination::Both, TailRule{true, true}},
    {"PcccTailInputsFirstOnly", ConcatenationType::Parallel, "1+D+D^2", "1+D^2", "1+D^2", "1+D+D^2",
     12, 25, "", "", 14, Termination::Both, TailRule{true, false}},
    {"PcccThreeEncoders", ConcatenationType::Parallel, "1+D+D^2", "1+D^2", nullptr, nullptr, 12, 29,
     "", "", 18, Termination::Both, TailRule{}, 3},
    {"PcccFourEncodersPunctured", ConcatenationType::Parallel, "1+D+D^2", "1+D^2", "1+D^2",
     "1+D+D^2", 10, 30, "11,10,01,10,01", "", 16, Termination::First, TailRule{}, 4},
    {"SccOpen", ConcatenationType::Serial, "1+D+D^2", "1+D^2", nullptr, nullptr, 8, 26, "", "", 14,
     Termination::Open},
    {"SccFirstTerminatedPuncturedTail", ConcatenationType::Serial, "1+D+D^2", "1+D^2", nullptr,
     nullptr, 10, 27, "11,10", "11,01", 12, Termination::First, TailRule{false, true}},
    {"SccTwoOutputOuterInnerTailParityOnly", ConcatenationType::Serial, "1+D+D^2,1+D", "1+D^2",
     "1+D^2", "1+D+D^2", 6, 28, "", "", 24, Termination::Both, TailRule{true, false}},
};

INSTANTIATE_TEST_SUITE_P(Codes, GivenInterleaverSearchTest, ::testing::ValuesIn(kSearchCases),
                         [](const auto& testCase) {
                           return testing::caseName(testCase.param.name);
                         });

// Encoder 1 on u and encoder 2 on π(u) send the same weights as encoder 1 on π(u) and
// encoder 2 on π⁻¹(π(u)) = u: with equal constituents π and π⁻¹ have one spectrum.
class SwappedEncodersTest : public ::testing::TestWithParam<SearchCase> {};

TEST_P(SwappedEncodersTest, PermutationAndInverseGiveOneSpectrum) {
  const SearchCase& c = GetParam();
  const auto permutation = randomPermutation(c.frameLength, c.seed);
  const GivenSpectrum forward = search(c, permutation);
  const GivenSpectrum backward = search(c, inverseOf(permutation));
  EXPECT_EQ(forward.codewords, backward.codewords);
  EXPECT_EQ(forward.inputWeights, backward.inputWeights);
  EXPECT_TRUE(forward.minimumDistance().has_value());
}

constexpr SearchCase kSwapCases[] = {
    {"DefaultCodeN100", ConcatenationType::Parallel, "1+D+D^2", "1+D^2", nullptr, nullptr, 100, 11,
     "", "", 12},
    {"LteCodeN120", ConcatenationType::Parallel, "1+D+D^3", "1+D^2+D^3", nullptr, nullptr, 120, 12,
     "", "", 16},
    {"OpenFramesN80", ConcatenationType::Parallel, "1+D+D^2", "1+D^2", nullptr, nullptr, 80, 13, "",
     "", 10, Termination::Open},
};

INSTANTIATE_TEST_SUITE_P(Codes, SwappedEncodersTest, ::testing::ValuesIn(kSwapCases),
                         [](const auto& testCase) {
                           return testing::caseName(testCase.param.name);
                         });

}  // namespace
}  // namespace brevandor
