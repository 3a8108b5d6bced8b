#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "report/results_report.h"
#include "report/scientific_text.h"
#include "support/case_name.h"
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

// Long frames: a row whose scaled value a double cannot hold (flushed to 0, or subnormal) is
// printed from its logarithm; rows a double holds and true zeros print as before.
TEST(DistanceSpectrumReport, RowsBelowTheDoubleRangeArePrintedFromTheirLogarithms) {
  const double scale = 900.0;
  const std::vector<double> logs = {-308.0, std::log10(5.9925) + 3.0, -0.5 - 308.0 + scale, 1000.0};
  std::vector<double> scaled = logs;
  for (double& value : scaled) {
    value = value > -308.0 ? std::pow(10.0, value - scale) : 0.0;
  }
  ASSERT_EQ(scaled[1], 0.0);      // flushed
  ASSERT_LT(scaled[2], DBL_MIN);  // subnormal
  ASSERT_GT(scaled[3], DBL_MIN);  // a double holds it
  const std::string text = captureFile([&](std::FILE* file) {
    printDistanceSpectrum(file, 4000.0, scaled, scaled, 3, scale, scale, logs, logs);
  });
  char normal[64];
  std::snprintf(normal, sizeof normal, "%e", scaled[3]);
  EXPECT_NE(text.find("\n    0\t0.000000\t0.000000e+00\t0.000000e+00 "), std::string::npos);
  EXPECT_NE(text.find("\n    1\t0.333333\t5.992500e-897\t5.992500e-897 "), std::string::npos);
  EXPECT_NE(text.find("\n    2\t0.666667\t3.162278e-309\t3.162278e-309 "), std::string::npos);
  EXPECT_NE(text.find(std::string("\n    3\t1.000000\t") + normal + "\t" + normal + " "),
            std::string::npos)
      << text;
}

// 10^x written from x: six decimals of the mantissa, a carry into the exponent when they
// round up to ten, and as many exponent digits as it takes (two at least, as "%e").
struct PowerCase {
  long double log10Value;
  const char* expected;
};

class ScientificTextOfPower : public ::testing::TestWithParam<PowerCase> {};

TEST_P(ScientificTextOfPower, WritesTheResultsFileLayout) {
  EXPECT_EQ(scientificTextOfPower(GetParam().log10Value), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Values, ScientificTextOfPower,
                         ::testing::Values(PowerCase{0.0L, "1.000000e+00"},
                                           PowerCase{2.5L, "3.162278e+02"},
                                           PowerCase{-2.0L, "1.000000e-02"},
                                           PowerCase{std::log10(5.9925L) - 897.0L, "5.992500e-897"},
                                           PowerCase{std::log10(9.9999999L) + 4.0L, "1.000000e+05"},
                                           PowerCase{-1e-7L, "9.999998e-01"},
                                           PowerCase{3010.0L + std::log10(1.5L), "1.500000e+3010"}),
                         [](const auto& named) { return testing::caseName(named.param.expected); });

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
                      TextCase{1.36e309L, "1.360000e+309"}, TextCase{1e-400L, "1.000000e-400"}),
    [](const auto& named) {
      return testing::caseName(named.param.expected) + "_" + std::to_string(named.index);
    });

}  // namespace
}  // namespace brevandor
