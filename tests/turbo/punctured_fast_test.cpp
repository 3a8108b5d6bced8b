// The fast engine against the reference on punctured and asymmetric codes: the same
// constituent tables (within two float ulps per cell) and the same spectra, over frame
// lengths around the vector width and patterns of many periods.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/spectrum_equivalence.h"
#include "support/table_checks.h"
#include "support/test_codes.h"
#include "support/turbo_pipeline.h"

namespace brevandor {
namespace {

using testing::CodeCase;
using testing::EnginePair;
using testing::expectSameLogSpectrum;

struct PuncturedEngineCase {
  const char* name;
  ConcatenationType type;
  CodeCase first;
  CodeCase second;
  const char* parallel;  // patterns; "" for none
  const char* outer;
  const char* inner;
  std::int32_t frameLength;
  int threads;
};

class PuncturedFastAgainstReference : public ::testing::TestWithParam<PuncturedEngineCase> {};

TEST_P(PuncturedFastAgainstReference, TablesSpectraAndProgressMatch) {
  const PuncturedEngineCase& c = GetParam();
  EnginePair engines(c.first.description(), c.type, c.frameLength, c.threads,
                     testing::puncturingOf(c.parallel, c.outer, c.inner), c.second.description());
  ASSERT_EQ(engines.reference.computeEnumerators(), StageEnd::Completed);
  ASSERT_EQ(engines.fast.computeEnumerators(), StageEnd::Completed);
  for (int k = 0; k < 2; ++k) {
    const WeightEnumerator& reference = engines.reference.enumerators[k];
    testing::expectSameTable(engines.fast.enumerators[k].cwef, reference.cwef,
                             reference.layerMaxWeight(*engines.reference.turbo.codes[k]),
                             reference.frameLength, k == 0 ? "first table" : "second table");
  }
  const std::int32_t maxWeight = engines.reference.computeSpectrum();
  ASSERT_EQ(engines.fast.computeSpectrum(), maxWeight);
  expectSameLogSpectrum(engines.fast.codeword, engines.reference.codeword, "codeword");
  expectSameLogSpectrum(engines.fast.weighted, engines.reference.weighted, "weighted");
  EXPECT_EQ(engines.fast.target.statusLines(), engines.reference.target.statusLines());
  EXPECT_EQ(engines.fast.target.logLines(), engines.reference.target.logLines());
}

const CodeCase kDefault{"1+D+D^2", "1+D^2"};
const CodeCase kSwapped{"1+D^2", "1+D+D^2"};
const CodeCase kFeedforward{"1+D+D^2", "1"};
const CodeCase kMemory3{"1+D+D^3", "1+D^2+D^3"};
const CodeCase kMemory4{"1+D^4", "1+D+D^2+D^3+D^4"};
// Period 64: PAR1 sends the first 32 sections of each period only.
const std::string kLongPeriod = std::string(64, '1') + "," + std::string(32, '1') +
                                std::string(32, '0') + "," + std::string(64, '1');

std::vector<PuncturedEngineCase> engineCases() {
  std::vector<PuncturedEngineCase> cases;
  // Rate 1/2 around the vector widths and over many sections in flight.
  for (const std::int32_t n : {1, 2, 7, 8, 9, 17, 33, 100}) {
    cases.push_back({"RateHalf", ConcatenationType::Parallel, kDefault, kDefault, "11,10,01", "",
                     "", n, n % 3 + 1});
  }
  // Periods 1 to 7 and 64, the systematic row punctured or not, codes that fix the input
  // parity per state and codes that do not.
  cases.push_back({"PeriodThree", ConcatenationType::Parallel, kSwapped, kSwapped, "111,110,011",
                   "", "", 40, 2});
  cases.push_back({"SystematicPeriodFour", ConcatenationType::Parallel, kDefault, kDefault,
                   "1011,0111,1101", "", "", 31, 2});
  cases.push_back({"PeriodFive", ConcatenationType::Parallel, kMemory3, kMemory3,
                   "11111,10100,01011", "", "", 26, 3});
  cases.push_back({"PeriodSevenFeedforward", ConcatenationType::Parallel, kFeedforward,
                   kFeedforward, "1110111,1001010,0110101", "", "", 45, 2});
  cases.push_back({"PeriodLongerThanTheFrame", ConcatenationType::Parallel, kDefault, kDefault,
                   kLongPeriod.c_str(), "", "", 50, 2});
  // Asymmetric: other memories, with and without a pattern.
  cases.push_back(
      {"Asymmetric", ConcatenationType::Parallel, kDefault, kSwapped, "", "", "", 24, 2});
  cases.push_back(
      {"AsymmetricMemories", ConcatenationType::Parallel, kMemory3, kDefault, "", "", "", 60, 2});
  cases.push_back({"AsymmetricMemory4Punctured", ConcatenationType::Parallel, kDefault, kMemory4,
                   "11,10,01", "", "", 20, 1});
  // Serial: outer, inner, both, and another inner code.
  cases.push_back(
      {"SerialOuter", ConcatenationType::Serial, kDefault, kDefault, "", "11,10", "", 17, 2});
  cases.push_back({"SerialInnerPeriodThree", ConcatenationType::Serial, kSwapped, kSwapped, "", "",
                   "110,011", 12, 3});
  cases.push_back(
      {"SerialBoth", ConcatenationType::Serial, kDefault, kMemory3, "", "10,11", "11,01", 15, 2});
  cases.push_back(
      {"SerialSecondCode", ConcatenationType::Serial, kMemory3, kDefault, "", "", "", 13, 2});
  return cases;
}

INSTANTIATE_TEST_SUITE_P(Codes, PuncturedFastAgainstReference, ::testing::ValuesIn(engineCases()),
                         [](const auto& testInfo) {
                           return std::string(testInfo.param.name) + "_N" +
                                  std::to_string(testInfo.param.frameLength);
                         });

}  // namespace
}  // namespace brevandor
