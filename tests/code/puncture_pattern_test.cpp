#include "code/puncture_pattern.h"

#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

namespace brevandor {
namespace {

constexpr std::array<std::string_view, 3> kRows{"SYS", "PAR1", "PAR2"};

PuncturePattern parsed(const std::string& text) {
  return parsePuncturePattern(text, kRows).pattern.value();
}

TEST(PuncturePattern, ReadsRowsCharacterByCharacter) {
  // "11,10,01": every systematic bit, PAR1 at even sections, PAR2 at odd sections.
  const PuncturePattern pattern = parsed("11,10,01");
  EXPECT_EQ(pattern.period, 2);
  EXPECT_EQ(pattern.text(), "11,10,01");
  EXPECT_TRUE(pattern.sends(0, 7));
  EXPECT_TRUE(pattern.sends(1, 4));
  EXPECT_FALSE(pattern.sends(1, 5));
  EXPECT_FALSE(pattern.sends(2, 4));
  EXPECT_TRUE(pattern.sends(2, 5));
  EXPECT_FALSE(pattern.puncturesRow(0));
  EXPECT_TRUE(pattern.puncturesRow(1));
  EXPECT_TRUE(pattern.puncturesAny());
}

TEST(PuncturePattern, CountsSentBitsOverWholeAndPartPeriods) {
  // "110" sends at t mod 3 = 0, 1: of t = 0 … 9 that is 0,1,3,4,6,7,9 = 7 bits.
  const PuncturePattern pattern = parsed("111,110,001");
  EXPECT_EQ(pattern.sentCount(1, 10), 7);
  EXPECT_EQ(pattern.sentCount(2, 10), 3);  // t = 2, 5, 8
  EXPECT_EQ(pattern.sentCount(0, 10), 10);
  EXPECT_EQ(pattern.sentCount(1, 0), 0);
}

TEST(PuncturePattern, AllOnesOfAnyPeriodPuncturesNothing) {
  EXPECT_FALSE(parsed("1,1,1").puncturesAny());
  EXPECT_FALSE(
      parsed(std::string(64, '1') + "," + std::string(64, '1') + "," + std::string(64, '1'))
          .puncturesAny());
}

TEST(PuncturePattern, FindsPositionsWhereChosenRowsAreAllSilent) {
  // SYS "1010" and PAR1 "1100" are both 0 at position 3 only.
  const PuncturePattern pattern = parsed("1010,1100,1111");
  const std::array<std::size_t, 2> rows{0, 1};
  EXPECT_EQ(pattern.silentPositions(rows), std::vector<std::int32_t>{3});
}

struct Refusal {
  const char* name;
  std::string text;
  const char* message;
};

class PuncturePatternRefusal : public ::testing::TestWithParam<Refusal> {};

TEST_P(PuncturePatternRefusal, SaysWhy) {
  const ParsedPattern result = parsePuncturePattern(GetParam().text, kRows);
  EXPECT_FALSE(result);
  EXPECT_NE(result.failure.find(GetParam().message), std::string::npos) << result.failure;
}

INSTANTIATE_TEST_SUITE_P(
    Texts, PuncturePatternRefusal,
    ::testing::Values(
        Refusal{"TwoRows", "11,10", "needs 3 rows (SYS,PAR1,PAR2) separated by commas, not 2"},
        Refusal{"FourRows", "1,1,1,1", "not 4"},
        Refusal{"UnequalLengths", "11,10,1", "rows of different lengths (SYS has 2, PAR2 has 1)"},
        Refusal{"OtherCharacter", "11,1x,01", "'x' in row PAR1 is not a pattern character"},
        Refusal{"Blank", "11,1 ,01", "' ' in row PAR1"},
        Refusal{"EmptyRow", "11,,01", "row PAR1 has 0 characters"},
        Refusal{"LongerThan64", std::string(65, '1') + ",1,1", "row SYS has 65 characters"},
        Refusal{"SendsNothing", "00,00,00", "sends no bit at all"}),
    [](const auto& testInfo) { return std::string(testInfo.param.name); });

TEST(SectionPuncturing, MapsRowsOntoOutputBitsSectionBySection) {
  // Bit 1 of the output word (systematic) from SYS, bit 0 (parity) from PAR1.
  const std::array<std::int32_t, 2> rowOfBit{1, 0};
  const SectionPuncturing puncturing = sectionPuncturing(parsed("10,11,00"), rowOfBit);
  EXPECT_EQ(puncturing.masks, (std::vector<std::uint32_t>{0b11, 0b01}));
  EXPECT_EQ(puncturing.sentBits(5, 0b11), 0b01u);
}

TEST(SectionPuncturing, NothingWhereTheChosenRowsSendEverything) {
  // PAR2 punctures, but rows SYS and PAR1 send all: this code's sections lose nothing.
  const std::array<std::int32_t, 2> rowOfBit{1, 0};
  EXPECT_TRUE(sectionPuncturing(parsed("11,11,01"), rowOfBit).empty());
  const std::array<std::int32_t, 2> alwaysSystematic{2, -1};
  EXPECT_FALSE(sectionPuncturing(parsed("11,11,01"), alwaysSystematic).empty());
}

}  // namespace
}  // namespace brevandor
