// The named codes against the standards' own figures: at every frame length the standard
// defines, the code's codeword length and rate are the standard's exactly.

#include "run/standard_codes.h"

#include <gtest/gtest.h>

#include <string>

#include "code/conv_code.h"
#include "enumerators/weight_enumerator.h"
#include "run/constituent_options.h"
#include "turbo/turbo_code.h"

namespace brevandor {

// Failure messages name the code.
void PrintTo(const StandardCode& code, std::ostream* out);
void PrintTo(const StandardCode& code, std::ostream* out) {
  *out << code.name;
}

namespace {

class StandardCodeLengths : public ::testing::TestWithParam<StandardCode> {};

// Expected lengths: 3GPP TS 36.212 5.1.3.2 (LTE, 3K + 12 over the 188 sizes of its
// interleaver table) and CCSDS 131.0-B section 6 ((k + 4) / r for k = 1784 … 8920).
TEST_P(StandardCodeLengths, EveryStandardSizeGivesTheStandardsCodewordLength) {
  const StandardCode& named = GetParam();
  RunInputs inputs;
  applyStandardCode(named, inputs);
  const ConstituentOptionsCheck options = checkConstituentOptions(inputs);
  ASSERT_TRUE(options) << options.refusal();
  const ConvCode code(inputs.code);
  for (const std::int32_t k : standardFrameLengths(named)) {
    WeightEnumerator enumerators[2];
    TurboCode turbo(ConcatenationType::Parallel, 2);
    turbo.puncturing = options.options->puncturing;
    turbo.termination = inputs.termination;
    turbo.tailRule = inputs.tailRule;
    turbo.attachConstituent(0, code, enumerators[0]);
    turbo.attachConstituent(1, code, enumerators[1]);
    ASSERT_EQ(turbo.setFrameLength(k, 3), 0);
    EXPECT_EQ(turbo.outputFrameLength, standardCodewordLength(named, k)) << "k " << k;
    EXPECT_EQ(turbo.rate,
              static_cast<double>(k) / static_cast<double>(standardCodewordLength(named, k)))
        << "k " << k;
    EXPECT_FALSE(standardFrameLengthWarning(named, k)) << "k " << k;
  }
  EXPECT_TRUE(standardFrameLengthWarning(named, 1000));
}

INSTANTIATE_TEST_SUITE_P(Named, StandardCodeLengths,
                         ::testing::ValuesIn(standardCodes().begin(), standardCodes().end()),
                         [](const auto& testInfo) {
                           std::string name(testInfo.param.name);
                           for (char& c : name) {
                             c = c == '-' || c == '/' ? '_' : c;
                           }
                           return name;
                         });

TEST(StandardCodeSizes, LteHasTheStandardsHundredAndEightyEightSizes) {
  const std::vector<std::int32_t> sizes = standardFrameLengths(*findStandardCode("lte"));
  ASSERT_EQ(sizes.size(), 188u);  // TS 36.212 Table 5.1.3-3
  EXPECT_EQ(sizes.front(), 40);
  EXPECT_EQ(sizes.back(), 6144);
  EXPECT_EQ(findStandardCode("turbo"), nullptr);
}

}  // namespace
}  // namespace brevandor
