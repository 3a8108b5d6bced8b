#include "bounds/spectrum_file.h"

#include <gtest/gtest.h>

#include <cmath>
#include <sstream>
#include <string>

#include "logmath/log_domain.h"

namespace brevandor {
namespace {

SpectrumFileCheck readText(const std::string& text, std::int32_t codeLength = 10) {
  std::istringstream in(text);
  return readSpectrumFile(in, codeLength);
}

struct GoodFile {
  const char* name;
  const char* text;
};

class AcceptedSpectrum : public ::testing::TestWithParam<GoodFile> {};

// Every layout gives the same spectrum: A_3 = 2, B_3 = 0.5, A_5 = 1000, B_5 = 250, rest 0, of
// a code of length 20 (which has C(20, 5) = 15504 words of weight 5).
TEST_P(AcceptedSpectrum, ReadsTheSameCounts) {
  const SpectrumFileCheck check = readText(GetParam().text, 20);
  ASSERT_TRUE(check.spectrum) << check.message;
  const SpectrumFile& s = *check.spectrum;
  ASSERT_EQ(s.log10Codewords.size(), 21u);
  EXPECT_NEAR(s.log10Codewords[3], std::log10(2.0), 1e-15);
  EXPECT_NEAR(s.log10Weighted[3], std::log10(0.5), 1e-15);
  EXPECT_NEAR(s.log10Codewords[5], 3.0, 1e-15);
  EXPECT_NEAR(s.log10Weighted[5], std::log10(250.0), 1e-15);
  for (const int d : {0, 1, 2, 4, 6, 20}) {
    EXPECT_EQ(s.log10Codewords[static_cast<std::size_t>(d)], LogZero) << d;
    EXPECT_EQ(s.log10Weighted[static_cast<std::size_t>(d)], LogZero) << d;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Layouts, AcceptedSpectrum,
    ::testing::Values(GoodFile{"Decimal", "d,A,B\n3,2,0.5\n5,1000,250\n"},
                      GoodFile{"Logarithms",
                               "d,log10_A,log10_B\n3,0.30102999566398120,-0.30102999566398120\n"
                               "5,3,2.3979400086720376\n"},
                      GoodFile{"ZeroRowsAndBlankLines",
                               "d,A,B\n\n0,0,0\n3,2,0.5\n4,0,0\n\n5,1e3,2.5e2\n\n"},
                      GoodFile{"CrLfAndBlanks", "d, A, B\r\n3, 2, 0.5\r\n5, 1000, 250\r\n"},
                      GoodFile{"OtherColumnsInAnyOrder", "B,note,A,d\n0.5,x,2,3\n250,y,1000,5\n"},
                      GoodFile{"LogarithmsPreferred",
                               "d,A,B,log10_A,log10_B\n3,9,9,0.30102999566398120,"
                               "-0.30102999566398120\n5,9,9,3,2.3979400086720376\n"},
                      GoodFile{"MinusInfinityIsZero",
                               "d,log10_A,log10_B\n2,-inf,-inf\n3,0.30102999566398120,"
                               "-0.30102999566398120\n5,3,2.3979400086720376\n"}),
    [](const auto& testInfo) { return std::string(testInfo.param.name); });

// What a device that never ends gives: one line without end (/dev/zero), or blank lines.
const std::string kEndlessLine = "d,A,B\n" + std::string(100000, '1');
const std::string kEndlessBlankLines = "d,A,B\n" + std::string(100000, '\n');

struct BadFile {
  const char* name;
  const char* text;
  const char* message;  // the start of the refusal: the line and what is wrong there
};

class RefusedSpectrum : public ::testing::TestWithParam<BadFile> {};

TEST_P(RefusedSpectrum, NamesTheLine) {
  const SpectrumFileCheck check = readText(GetParam().text);
  EXPECT_FALSE(check.spectrum);
  EXPECT_EQ(check.message.rfind(GetParam().message, 0), 0u) << check.message;
}

INSTANTIATE_TEST_SUITE_P(
    Faults, RefusedSpectrum,
    ::testing::Values(
        BadFile{"Empty", "", "line 1: the file is empty"},
        BadFile{"OnlyBlankLines", "\n\n", "line 3: the file is empty"},
        BadFile{"HeaderOnly", "d,A,B\n", "line 2: no spectrum rows"},
        BadFile{"NoWeightColumn", "w,A,B\n1,1,1\n", "line 1: the header has no column d"},
        BadFile{"MissingCount", "d,A\n1,1\n", "line 1: the header needs the columns A and B"},
        BadFile{"MixedPair", "d,A,log10_B\n1,1,0\n", "line 1: the header needs the columns"},
        BadFile{"TwiceTheSameColumn", "d,A,B,A\n1,1,1,1\n", "line 1: the column A appears twice"},
        BadFile{"ShortRow", "d,A,B\n1,1,1\n2,1\n", "line 3: expected 3 fields"},
        BadFile{"NegativeWeight", "d,A,B\n-1,1,1\n", "line 2: d must be a non-negative whole"},
        BadFile{"FractionalWeight", "d,A,B\n1.5,1,1\n", "line 2: d must be a non-negative whole"},
        BadFile{"RepeatedWeight", "d,A,B\n3,1,1\n3,1,1\n", "line 3: d = 3 does not increase"},
        BadFile{"FallingWeight", "d,A,B\n4,1,1\n\n2,1,1\n", "line 4: d = 2 does not increase"},
        BadFile{"WeightBeyondLength", "d,A,B\n11,1,1\n", "line 2: d = 11 exceeds the code length"},
        BadFile{"TextInCount", "d,A,B\n1,1,x1\n", "line 2: B is not a number: 'x1'"},
        BadFile{"TrailingText", "d,A,B\n1,1e3abc,1\n", "line 2: A is not a number"},
        BadFile{"NegativeCount", "d,A,B\n1,-2,1\n", "line 2: A must be a finite count"},
        BadFile{"InfiniteCount", "d,A,B\n1,inf,1\n", "line 2: A must be a finite count"},
        BadFile{"CountTooLarge", "d,A,B\n1,1e400,1\n", "line 2: A is out of the range"},
        BadFile{"NotANumberLog", "d,log10_A,log10_B\n1,nan,0\n", "line 2: log10_A is not a"},
        BadFile{"InfiniteLog", "d,log10_A,log10_B\n1,0,inf\n", "line 2: log10_B must be finite"},
        BadFile{"WordOfWeightZero", "d,A,B\n0,1,0\n", "line 2: the counts at d = 0 must be 0"},
        // C(10, 5) = 252 words of weight 5; B at most 10 C(10, 1) = 100 at d = 1.
        BadFile{"MoreWordsThanTheWeightHas", "d,log10_A,log10_B\n5,3,2\n",
                "line 2: A = 10^3 at d = 5 is more than the 10^2.401 words"},
        BadFile{"WeightedBeyondAnyCode", "d,A,B\n1,1,1000\n", "line 2: B = 10^3 at d = 1"},
        BadFile{"LineLongerThanAnyRow", kEndlessLine.c_str(), "line 2: the line is longer than"},
        BadFile{"EndlessBlankLines", kEndlessBlankLines.c_str(),
                "line 12284: the file is longer than any spectrum"}),
    [](const auto& testInfo) { return std::string(testInfo.param.name); });

}  // namespace
}  // namespace brevandor
