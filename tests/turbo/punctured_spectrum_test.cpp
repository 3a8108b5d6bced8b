// Spectra of punctured and asymmetric turbo codes against values found without the
// engines: every interleaver of a small frame tried in turn, and exact rationals for longer
// frames.

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <string>
#include <vector>

#include "support/spectrum_checks.h"
#include "support/spectrum_oracle.h"
#include "support/test_codes.h"
#include "support/turbo_pipeline.h"

namespace brevandor {
namespace {

using testing::CodeCase;
using testing::ShiftRegisterEncoder;
using testing::TurboPipeline;

const CodeCase kDefault{"1+D+D^2", "1+D^2"};
const CodeCase kSwapped{"1+D^2", "1+D+D^2"};
const CodeCase kMemory3{"1+D+D^3", "1+D^2+D^3"};

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

struct InterleaverCase {
  const char* name;
  CodeCase first;
  CodeCase second;
  const char* pattern;  // SYS,PAR1,PAR2
  std::int32_t frameLength;
};

class AllInterleavers : public ::testing::TestWithParam<InterleaverCase> {};

TEST_P(AllInterleavers, UniformAverageEqualsTheMeanOverEveryPermutation) {
  const InterleaverCase& c = GetParam();
  const ShiftRegisterEncoder first = ShiftRegisterEncoder::fromDescription(c.first.description());
  const ShiftRegisterEncoder second = ShiftRegisterEncoder::fromDescription(c.second.description());
  const std::vector<std::string> rows = rowsOf(c.pattern);
  // The bits sent, counted from the rows: the frame length the code must report.
  std::int32_t sent = 2 * (first.memory + second.memory);
  for (std::int32_t t = 0; t < c.frameLength; ++t) {
    for (const std::string& row : rows) {
      sent += testing::sentAt(row.c_str(), t) ? 1 : 0;
    }
  }
  const testing::LinearSpectrum expected = testing::allInterleaversParallel(
      first, second, c.frameLength, rows[0].c_str(), rows[1].c_str(), rows[2].c_str(), sent);
  for (const Engine engine : {Engine::Reference, Engine::Fast}) {
    TurboPipeline pipeline(c.first.description(), ConcatenationType::Parallel, c.frameLength,
                           engine, testing::puncturingOf(c.pattern), c.second.description());
    ASSERT_EQ(pipeline.turbo.outputFrameLength, sent);
    ASSERT_EQ(pipeline.run(), sent);
    testing::expectSpectrum(TurboPipeline::plain(pipeline.codeword), expected.codeword, "codeword");
    testing::expectSpectrum(TurboPipeline::plain(pipeline.weighted), expected.weighted, "weighted");
  }
}

INSTANTIATE_TEST_SUITE_P(
    SmallFrames, AllInterleavers,
    ::testing::Values(InterleaverCase{"RateHalf", kDefault, kDefault, "11,10,01", 5},
                      InterleaverCase{"RateHalfSeven", kDefault, kDefault, "11,10,01", 7},
                      InterleaverCase{"SystematicPunctured", kDefault, kDefault, "10,11,11", 6},
                      InterleaverCase{"EncoderTwoAlone", kDefault, kDefault, "10,10,11", 6},
                      InterleaverCase{"PeriodThree", kSwapped, kSwapped, "110,101,011", 7},
                      InterleaverCase{"Asymmetric", kDefault, kSwapped, "1,1,1", 6},
                      InterleaverCase{"AsymmetricMemories", kDefault, kMemory3, "1,1,1", 6},
                      InterleaverCase{"AsymmetricMemoriesPunctured", kMemory3, kDefault, "01,11,10",
                                      6}),
    [](const auto& testInfo) { return std::string(testInfo.param.name); });

// A spectrum entry as an exact fraction.
struct Fraction {
  double numerator;
  double denominator;
  double value() const { return numerator / denominator; }
};

struct GoldenCase {
  const char* name;
  ConcatenationType type;
  CodeCase first;
  CodeCase second;
  TurboPuncturing puncturing;
  std::int32_t frameLength;
  std::int32_t lowestWeight;         // the smallest weight with a codeword
  std::array<Fraction, 3> codeword;  // A_d at the lowest three weights
  std::array<Fraction, 3> weighted;  // B_d at the same weights
};

class PuncturedGolden : public ::testing::TestWithParam<GoldenCase> {};

TEST_P(PuncturedGolden, LowestWeightsAreTheExactRationals) {
  const GoldenCase& c = GetParam();
  for (const Engine engine : {Engine::Reference, Engine::Fast}) {
    TurboPipeline pipeline(c.first.description(), c.type, c.frameLength, engine, c.puncturing,
                           c.second.description());
    ASSERT_GT(pipeline.run(), 0);
    const std::vector<double> codeword = TurboPipeline::plain(pipeline.codeword);
    const std::vector<double> weighted = TurboPipeline::plain(pipeline.weighted);
    for (std::int32_t d = 0; d < c.lowestWeight; ++d) {
      EXPECT_EQ(codeword[static_cast<std::size_t>(d)], 0.0) << "weight " << d;
    }
    for (std::size_t i = 0; i < 3; ++i) {
      const auto d = static_cast<std::size_t>(c.lowestWeight) + i;
      // Single-precision tables: a relative error of a few 1e-6.
      EXPECT_NEAR(codeword[d], c.codeword[i].value(), 2e-5 * c.codeword[i].value()) << d;
      EXPECT_NEAR(weighted[d], c.weighted[i].value(), 2e-5 * c.weighted[i].value()) << d;
    }
    double total = 0.0;
    for (const double count : codeword) {
      total += count;
    }
    EXPECT_NEAR(total, std::exp2(c.frameLength) - 1.0, 1e-5 * total);
  }
}

// Source of every value: tests/data/exact_spectra.py, which encodes every input word of each
// constituent (or sweeps the encoder states, for the SCCC's 22- and 28-bit inner frames)
// straight from the encoder equations and combines the counts over the uniform interleaver
// in exact rational arithmetic (Python's fractions). Each spectrum it printed sums exactly to
// 2^N − 1.
INSTANTIATE_TEST_SUITE_P(
    Frames, PuncturedGolden,
    ::testing::Values(GoldenCase{"RateHalfN12",
                                 ConcatenationType::Parallel,
                                 kDefault,
                                 kDefault,
                                 testing::puncturingOf("11,10,01"),
                                 12,
                                 4,
                                 {{{37, 90}, {1697, 495}, {64369, 6930}}},
                                 {{{439, 5940}, {179, 270}, {87113, 41580}}}},
                      GoldenCase{"RateHalfN16",
                                 ConcatenationType::Parallel,
                                 kDefault,
                                 kDefault,
                                 testing::puncturingOf("11,10,01"),
                                 16,
                                 4,
                                 {{{935, 2184}, {11981, 2730}, {1604903, 120120}}},
                                 {{{4891, 87360}, {13133, 21840}, {1973981, 960960}}}},
                      GoldenCase{"SystematicPuncturedN12",
                                 ConcatenationType::Parallel,
                                 kDefault,
                                 kDefault,
                                 testing::puncturingOf("10,11,11"),
                                 12,
                                 6,
                                 {{{2173, 2310}, {949, 420}, {159767, 27720}}},
                                 {{{2641, 13860}, {31267, 55440}, {57901, 36960}}}},
                      GoldenCase{"SystematicPuncturedN16",
                                 ConcatenationType::Parallel,
                                 kDefault,
                                 kDefault,
                                 testing::puncturingOf("10,11,11"),
                                 16,
                                 6,
                                 {{{55001, 60060}, {32145, 16016}, {1761941, 360360}}},
                                 {{{3833, 30030}, {418113, 1281280}, {5050861, 5765760}}}},
                      GoldenCase{"AsymmetricN12",
                                 ConcatenationType::Parallel,
                                 kDefault,
                                 kSwapped,
                                 {},
                                 12,
                                 8,
                                 {{{113, 330}, {4709, 1980}, {31561, 6930}}},
                                 {{{337, 3960}, {10937, 23760}, {10187, 10395}}}},
                      GoldenCase{"AsymmetricN16",
                                 ConcatenationType::Parallel,
                                 kDefault,
                                 kSwapped,
                                 {},
                                 16,
                                 8,
                                 {{{191, 840}, {48043, 21840}, {127363, 34320}}},
                                 {{{547, 13440}, {105683, 349440}, {2173403, 3843840}}}},
                      GoldenCase{"SerialOuterPuncturedN12",
                                 ConcatenationType::Serial,
                                 kDefault,
                                 kDefault,
                                 testing::puncturingOf("", "11,10"),
                                 12,
                                 6,
                                 {{{25, 308}, {331, 1463}, {55925, 127908}}},
                                 {{{127, 9240}, {1681, 43890}, {411953, 5372136}}}},
                      GoldenCase{"SerialOuterPuncturedN16",
                                 ConcatenationType::Serial,
                                 kDefault,
                                 kDefault,
                                 testing::puncturingOf("", "11,10"),
                                 16,
                                 6,
                                 {{{29, 468}, {103, 585}, {53804, 156975}}},
                                 {{{209, 26208}, {53, 2340}, {44971, 993600}}}}),
    [](const auto& testInfo) { return std::string(testInfo.param.name); });

}  // namespace
}  // namespace brevandor
