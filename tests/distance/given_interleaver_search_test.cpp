#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cstdint>
#include <numeric>
#include <ostream>
#include <random>
#include <string>
#include <vector>

#include "code/puncture_pattern.h"
#include "distance/distance_search.h"
#include "enumerators/weight_enumerator.h"
#include "run/given_interleaver_code_of.h"
#include "support/case_name.h"
#include "support/exhaustive_encoder.h"
#include "support/test_codes.h"
#include "turbo/turbo_code.h"

namespace brevandor {
namespace {

using testing::ShiftRegisterEncoder;

using Bits = std::vector<std::uint8_t>;

// The sent bits of a terminated frame, written straight from the shift register: per section
// the systematic bit (where `systematicRow` sends it; null: never) and the parity bit (where
// `parityRow` does), then every bit of the tail, systematic first.
Bits sentBits(const ShiftRegisterEncoder& encoder, const Bits& input, const char* systematicRow,
              const char* parityRow) {
  Bits sent;
  std::uint32_t state = 0;
  for (std::size_t t = 0; t < input.size(); ++t) {
    const std::uint32_t parity = encoder.parityStep(state, input[t]);
    const auto section = static_cast<std::int32_t>(t);
    if (testing::sentAt(systematicRow, section)) {
      sent.push_back(input[t]);
    }
    if (testing::sentAt(parityRow, section)) {
      sent.push_back(static_cast<std::uint8_t>(parity));
    }
  }
  for (std::int32_t i = 0; i < encoder.memory; ++i) {
    const std::uint32_t tailInput = encoder.zeroingInput(state);
    sent.push_back(static_cast<std::uint8_t>(tailInput));
    sent.push_back(static_cast<std::uint8_t>(encoder.parityStep(state, tailInput)));
  }
  return sent;
}

std::int32_t weightOf(const Bits& bits) {
  return static_cast<std::int32_t>(std::count(bits.begin(), bits.end(), 1));
}

// bits[π(j)] for j = 0 … L − 1: the interleaved j-th bit is the input's π(j)-th bit.
Bits permuted(const Bits& bits, const std::vector<std::int32_t>& permutation) {
  Bits out(bits.size());
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

// One concatenated code, its patterns as the user types them, and D.
struct SearchCase {
  const char* name;
  ConcatenationType type;  // Parallel or Serial
  const char* numerator;
  const char* denominator;
  const char* numerator2;  // null: the first code
  const char* denominator2;
  std::int32_t frameLength;
  std::uint32_t seed;
  const char* pattern;       // parallel SYS,PAR1,PAR2 or serial outer SYS,PAR; "" none
  const char* innerPattern;  // serial inner SYS,PAR; "" none
  std::int32_t maxWeight;
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

// The configured turbo code of a case, with its codes and enumerators.
struct CaseCode {
  explicit CaseCode(const SearchCase& c)
      : first(testing::describeOrDie(c.numerator, c.denominator)),
        second(c.numerator2 != nullptr ? testing::describeOrDie(c.numerator2, c.denominator2)
                                       : testing::describeOrDie(c.numerator, c.denominator)),
        turbo(c.type, 2) {
    const std::string_view pattern(c.pattern);
    if (c.type == ConcatenationType::Parallel && !pattern.empty()) {
      turbo.puncturing.parallel = *parsePuncturePattern(pattern, kParallelPatternRows).pattern;
    }
    if (c.type == ConcatenationType::Serial && !pattern.empty()) {
      turbo.puncturing.outer = *parsePuncturePattern(pattern, kSerialPatternRows).pattern;
    }
    if (c.type == ConcatenationType::Serial && std::string_view(c.innerPattern).size() > 0) {
      turbo.puncturing.inner = *parsePuncturePattern(c.innerPattern, kSerialPatternRows).pattern;
    }
    turbo.attachConstituent(0, first, enumerators[0]);
    turbo.attachConstituent(1, second, enumerators[1]);
    turbo.setFrameLength(c.frameLength, 3);
  }
  ConvCode first;
  ConvCode second;
  WeightEnumerator enumerators[2];
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
  const auto first = ShiftRegisterEncoder::fromDescription(code.first.description);
  const auto second = ShiftRegisterEncoder::fromDescription(code.second.description);
  GivenSpectrum spectrum;
  spectrum.codewords.assign(static_cast<std::size_t>(c.maxWeight) + 1, 0);
  spectrum.inputWeights = spectrum.codewords;
  const std::string a = rowOf(c.pattern, 0);
  const std::string b = rowOf(c.pattern, 1);
  const std::string p2 = rowOf(c.pattern, 2);
  for (std::uint32_t word = 1; word < (1u << c.frameLength); ++word) {
    Bits input(static_cast<std::size_t>(c.frameLength));
    for (std::size_t i = 0; i < input.size(); ++i) {
      input[i] = static_cast<std::uint8_t>((word >> i) & 1u);
    }
    std::int32_t d = 0;
    if (c.type == ConcatenationType::Parallel) {
      d = weightOf(sentBits(first, input, a.c_str(), b.c_str())) +
          weightOf(sentBits(second, permuted(input, permutation), nullptr, p2.c_str()));
    } else {
      const Bits outer = sentBits(first, input, a.c_str(), b.c_str());
      d = weightOf(sentBits(second, permuted(outer, permutation), rowOf(c.innerPattern, 0).c_str(),
                            rowOf(c.innerPattern, 1).c_str()));
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
};

INSTANTIATE_TEST_SUITE_P(Codes, SwappedEncodersTest, ::testing::ValuesIn(kSwapCases),
                         [](const auto& testCase) {
                           return testing::caseName(testCase.param.name);
                         });

}  // namespace
}  // namespace brevandor
