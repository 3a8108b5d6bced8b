#include "progress/printable_text.h"

#include <gtest/gtest.h>

#include <string>

namespace brevandor {
namespace {

struct TextCase {
  const char* name;
  std::string text;
  std::string printed;
};

class PrintableText : public ::testing::TestWithParam<TextCase> {};

TEST_P(PrintableText, EscapesControlsAndKeepsTheRest) {
  EXPECT_EQ(printableText(GetParam().text), GetParam().printed);
}

// Expected texts written by hand from the escapes' definitions (C0 controls and DEL, the C1
// controls U+0080 to U+009F, bytes that are not UTF-8).
INSTANTIATE_TEST_SUITE_P(
    Texts, PrintableText,
    ::testing::Values(TextCase{"Plain", "results 1+D^2.txt", "results 1+D^2.txt"},
                      TextCase{"Escape", "1+D\x1b[2J", "1+D\\e[2J"},
                      TextCase{"LineFeedTabReturn", "a\nb\tc\r", "a\\nb\\tc\\r"},
                      TextCase{"BellAndDelete", std::string("\x07\x7f", 2), "\\x07\\x7f"},
                      TextCase{"Nul", std::string("a\0b", 3), "a\\x00b"},
                      TextCase{"OneByteCsiOfUtf8",
                               "\xc2\x9b"
                               "2J",
                               "\\u009b2J"},
                      TextCase{"LoneContinuationByte",
                               "\x9b"
                               "2J",
                               "\\x9b2J"},
                      TextCase{"OverlongSlash", "\xc0\xaf", "\\xc0\\xaf"},
                      TextCase{"TruncatedSequence", "\xe2\x82", "\\xe2\\x82"},
                      TextCase{"Surrogate", "\xed\xa0\x80", "\\xed\\xa0\\x80"},
                      TextCase{"LettersOfOtherScripts",
                               "Ergebnisse-\xc3\xa4\xe2\x82\xac\xf0\x9f\x93\x88",
                               "Ergebnisse-\xc3\xa4\xe2\x82\xac\xf0\x9f\x93\x88"},
                      TextCase{"NoBreakSpaceIsNoControl", "\xc2\xa0", "\xc2\xa0"}),
    [](const auto& testInfo) { return std::string(testInfo.param.name); });

}  // namespace
}  // namespace brevandor
