#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "report/results_report.h"
#include "report/scientific_text.h"
#include "support/file_capture.h"

namespace brevandor {
namespace {

using testing::captureFile;
using testing::readTestData;

// The default code as a PCCC of two bits: codewords of weight 9 (two) and 10 (one), each
// with weighted count 1.
TEST(DistanceSpectrumReport, ParallelCodeOfTwoBits) {
  std::vector<double> codewords(15, 0.0);
  std::vector<double> weighted(15, 0.0);
  codewords[9] = 2.0;
  codewords[10] = 1.0;
  weighted[9] = 1.0;
  weighted[10] = 1.0;
  const std::string text = captureFile([&](std::FILE* file) {
    printDistanceSpectrum(file, 2.0, codewords, weighted, 14, 0.0, 0.0);
  });
  EXPECT_EQ(text, readTestData("distance_spectrum_pccc_n2.txt"));
}

// From about N = 1024 the check values exceed a double; they are printed in extended
// precision in the same layout instead of "inf".
TEST(DistanceSpectrumReport, CheckLinesBeyondTheDoubleRange) {
  const std::vector<double> codewords = {0.0, 1.5e308, 1.5e308, 1.5e308};
  const std::vector<double> weighted(4, 1.0);
  const std::string text = captureFile([&](std::FILE* file) {
    printDistanceSpectrum(file, 1100.0, codewords, weighted, 3, 0.0, 0.0);
  });
  EXPECT_EQ(text.find("inf"), std::string::npos);
  EXPECT_NE(text.find("\n Sum Check : 4.500000e+308  <= SUM of The # of CodeWords"
                      "\n             1.358299e+331  <= 2^(1100) Scaled by 10^0.000000 \n"),
            std::string::npos)
      << text;
}

TEST(DistanceSpectrumReport, ScaleExponentsAreTruncated) {
  const std::vector<double> codewords = {0.0, 1.0, 2.0};
  const std::vector<double> weighted = {0.0, 0.5, 1.0};
  const std::string text = captureFile([&](std::FILE* file) {
    printDistanceSpectrum(file, 1100.0, codewords, weighted, 2, 25.0, 30.7);
  });
  EXPECT_NE(text.find("\n N_CodeWord  SCALE FACTOR = 10^25 "
                      "\n Wgt_DistSpt SCALE FACTOR = 10^30 \n"),
            std::string::npos);
  EXPECT_NE(text.find("\n    2\t1.000000\t2.000000e+00\t1.000000e+00 "), std::string::npos);
  EXPECT_NE(text.find("\n             1.358299e+306  <= 2^(1100) Scaled by 10^25.000000 \n"),
            std::string::npos);
}

// Values a double holds print as "%e" of that double; others keep their extended digits.
struct TextCase {
  long double value;
  const char* expected;
};

class ScientificText : public ::testing::TestWithParam<TextCase> {};

TEST_P(ScientificText, UsesTheResultsFileLayout) {
  EXPECT_EQ(scientificText(GetParam().value), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Values, ScientificText,
    ::testing::Values(TextCase{0.0L, "0.000000e+00"}, TextCase{0.1L, "1.000000e-01"},
                      TextCase{static_cast<long double>(0.1), "1.000000e-01"},
                      TextCase{DBL_MAX, "1.797693e+308"},
                      TextCase{static_cast<long double>(DBL_MAX) * 2.0L, "3.595386e+308"},
                      TextCase{1.36e309L, "1.360000e+309"}, TextCase{1e-400L, "1.000000e-400"}));

}  // namespace
}  // namespace brevandor
