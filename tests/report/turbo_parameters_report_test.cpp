#include <gtest/gtest.h>

#include <cstdio>
#include <sstream>
#include <string>
#include <vector>

#include "report/results_report.h"
#include "support/case_name.h"
#include "support/file_capture.h"
#include "support/test_codes.h"

namespace brevandor {
namespace {

using testing::captureFile;
using testing::defaultCode;
using testing::describeOrDie;
using testing::readTestData;

// A turbo code of two copies of one code, configured for a frame length.
struct ConfiguredTurbo {
  ConvCode code;
  WeightEnumerator first;
  WeightEnumerator second;
  TurboCode turbo;

  ConfiguredTurbo(const CodeDescription& description, ConcatenationType type, std::int32_t n)
      : code(description), turbo(type, 2) {
    turbo.attachConstituent(0, code, first);
    turbo.attachConstituent(1, code, second);
    EXPECT_EQ(turbo.setFrameLength(n, 3), 0);
  }
};

// The default code as a PCCC of two bits: trellis and tail lines checked by hand against the
// encoder ( 1, (1 + D + D^2) / (1 + D^2) ).
TEST(TurboParametersReport, DefaultParallelCodeOfTwoBits) {
  const ConfiguredTurbo c(defaultCode(), ConcatenationType::Parallel, 2);
  const std::string text =
      captureFile([&](std::FILE* file) { printTurboParameters(file, c.turbo); });
  EXPECT_EQ(text, readTestData("turbo_parameters_pccc_n2.txt"));
}

TEST(TurboParametersReport, SerialCodeOfHundredBits) {
  const ConfiguredTurbo c(defaultCode(), ConcatenationType::Serial, 100);
  const std::string text =
      captureFile([&](std::FILE* file) { printTurboParameters(file, c.turbo); });
  for (const char* expected : {"\n Concatenation Type : SCCC \n # of Concatenation : 2 ",
                               "\n Input  Frame Length = 100 [bits]"
                               "\n Output Frame Length = 412 [bits]"
                               "\n Overall Rate : 0.242718 \n",
                               "\n ** Constituent Code 1 ** \n Input Frame Length = 100 "
                               "\n Convolutional Code Parameters",
                               "\n ** Constituent Code 2 ** \n Input Frame Length = 204 "
                               "\n Convolutional Code Parameters"}) {
    EXPECT_NE(text.find(expected), std::string::npos) << expected;
  }
}

// Reads the tail digits of every "S%d --> " line of a code block.
std::vector<std::string> tailDigits(const std::string& block, std::int32_t states) {
  std::vector<std::string> digits;
  for (std::int32_t s = 0; s < states; ++s) {
    const std::string label = "\n S" + std::to_string(s) + " --> ";
    const std::size_t at = block.find(label);
    if (at == std::string::npos) {
      digits.emplace_back("<missing>");
      continue;
    }
    const std::size_t begin = at + label.size();
    digits.push_back(block.substr(begin, block.find('\n', begin) - begin));
  }
  return digits;
}

// Every printed tail, fed to the encoder digit by digit from its state, ends in state 0 after
// exactly K − 1 sections.
class TailBitsReport : public ::testing::TestWithParam<std::pair<const char*, const char*>> {};

TEST_P(TailBitsReport, DriveEveryStateToZero) {
  const ConvCode code(describeOrDie(GetParam().first, GetParam().second));
  const std::string block = captureFile([&](std::FILE* file) { printConvCode(code, file); });
  const std::vector<std::string> digits = tailDigits(block, code.stateCount);
  for (std::int32_t s = 0; s < code.stateCount; ++s) {
    const std::string& tail = digits[static_cast<std::size_t>(s)];
    ASSERT_EQ(tail.size(), static_cast<std::size_t>(code.registerLength - 1)) << s;
    std::int32_t state = s;
    for (const char digit : tail) {
      state = code.forwardTrellis.row(state)[static_cast<std::size_t>(digit - '0')].state;
    }
    EXPECT_EQ(state, 0) << "from state " << s << " with " << tail;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Codes, TailBitsReport,
    ::testing::Values(std::pair{"1+D+D^2", "1+D^2"}, std::pair{"1+D^2+D^3", "1+D+D^3"},
                      std::pair{"1+D^4", "1+D+D^2+D^3+D^4"}, std::pair{"1+D+D^2", "1"}),
    [](const auto& named) {
      return testing::caseName(std::string(named.param.first) + "_over_" + named.param.second);
    });

// When no tail exists the lines keep their labels and the block goes on as usual.
TEST(TailBitsReport, WithoutTailsOnlyLabelsArePrinted) {
  ConvCode code(defaultCode());
  for (TrellisBranch& branch : code.reverseTrellis.row(0)) {
    branch.state = 0;  // nothing but state 0 now leads into state 0
  }
  std::vector<std::int32_t> tails(4, 0);
  ASSERT_EQ(code.computeTailInputs(tails), -1);
  const std::string block = captureFile([&](std::FILE* file) { printConvCode(code, file); });
  EXPECT_NE(block.find("\n Tail Bits \n\n S0 --> \n S1 --> \n S2 --> \n S3 --> "
                       "\n\n End of Convolutional Code Parameters ------\n"),
            std::string::npos)
      << block;
}

}  // namespace
}  // namespace brevandor
