// The named codes against the standards' own figures: at every frame length the standard
// defines, the code's codeword length and rate are the standard's exactly.

#include "run/standard_codes.h"

#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

#include "code/conv_code.h"
#include "enumerators/weight_enumerator.h"
#include "run/constituent_options.h"
#include "turbo/turbo_code.h"

namespace brevandor {
namespace {

// The standard's frame lengths K of a named code and its codeword length streams·K + extra.
struct NamedCodeCase {
  const char* name;
  std::vector<std::int32_t> sizes;
  std::int64_t streams;
  std::int64_t extra;
};

void PrintTo(const NamedCodeCase& c, std::ostream* out) {
  *out << c.name;
}

// 3GPP TS 36.212 Table 5.1.3-3: K from 40 to 6144, in steps of 8, 16, 32 and 64 bits.
std::vector<std::int32_t> lteSizes() {
  std::vector<std::int32_t> sizes;
  for (const auto [from, step, to] : {std::array{40, 8, 512}, std::array{528, 16, 1024},
                                      std::array{1056, 32, 2048}, std::array{2112, 64, 6144}}) {
    for (std::int32_t k = from; k <= to; k += step) {
      sizes.push_back(k);
    }
  }
  return sizes;
}

// CCSDS 131.0-B section 6: 223 octets times interleaving depth 1, 2, 4 and 5.
const std::vector<std::int32_t> kCcsdsSizes{1784, 3568, 7136, 8920};

class StandardCodeLengths : public ::testing::TestWithParam<NamedCodeCase> {};

// LTE sends three streams of K bits and 12 tail bits (TS 36.212 5.1.3.2); CCSDS rate 1/n sends
// n symbols for each of the K + 4 sections (131.0-B section 6). The rate is K over that.
TEST_P(StandardCodeLengths, EveryStandardSizeGivesTheStandardsCodewordLength) {
  const NamedCodeCase& c = GetParam();
  const StandardCode* named = findStandardCode(c.name);
  ASSERT_NE(named, nullptr);
  EXPECT_EQ(standardFrameLengths(*named), c.sizes);
  RunInputs inputs;
  applyStandardCode(*named, inputs);
  const ConstituentOptionsCheck options = checkConstituentOptions(inputs);
  ASSERT_TRUE(options) << options.refusal();
  const ConvCode code(inputs.code);
  for (const std::int32_t k : c.sizes) {
    const std::int64_t length = c.streams * k + c.extra;
    WeightEnumerator enumerators[2];
    TurboCode turbo(ConcatenationType::Parallel, 2);
    turbo.puncturing = options.options->puncturing;
    turbo.termination = inputs.termination;
    turbo.tailRule = inputs.tailRule;
    turbo.attachConstituent(0, code, enumerators[0]);
    turbo.attachConstituent(1, code, enumerators[1]);
    ASSERT_EQ(turbo.setFrameLength(k, 3), 0);
    EXPECT_EQ(turbo.outputFrameLength, length) << "k " << k;
    EXPECT_EQ(standardCodewordLength(*named, k), length) << "k " << k;
    EXPECT_EQ(turbo.rate, static_cast<double>(k) / static_cast<double>(length)) << "k " << k;
    EXPECT_FALSE(standardFrameLengthWarning(*named, k)) << "k " << k;
  }
  EXPECT_TRUE(standardFrameLengthWarning(*named, 1000));
}

INSTANTIATE_TEST_SUITE_P(Named, StandardCodeLengths,
                         ::testing::Values(NamedCodeCase{"lte", lteSizes(), 3, 12},
                                           NamedCodeCase{"ccsds-1/2", kCcsdsSizes, 2, 8},
                                           NamedCodeCase{"ccsds-1/3", kCcsdsSizes, 3, 12},
                                           NamedCodeCase{"ccsds-1/4", kCcsdsSizes, 4, 16},
                                           NamedCodeCase{"ccsds-1/6", kCcsdsSizes, 6, 24}),
                         [](const auto& testInfo) {
                           std::string name(testInfo.param.name);
                           for (char& c : name) {
                             c = c == '-' || c == '/' ? '_' : c;
                           }
                           return name;
                         });

// The table above covers every named code, and 188 LTE sizes.
TEST(StandardCodeSizes, EveryNamedCodeIsChecked) {
  EXPECT_EQ(standardCodes().size(), 5u);
  EXPECT_EQ(lteSizes().size(), 188u);
  EXPECT_EQ(findStandardCode("turbo"), nullptr);
}

}  // namespace
}  // namespace brevandor
