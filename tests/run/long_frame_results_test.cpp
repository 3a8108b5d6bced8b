// A whole run of a long frame in double precision, read back from the results file: the
// low-weight rows, which a single scale factor pushes below the range of a double from about
// N = 2050 on, print their true values, equal to the exact counts to every printed digit.
// The exact values come from tests/data/exact_low_weights.py (exact integers and fractions,
// written from the code's polynomials): `exact_low_weights.py 2100 14`.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "report/record_csv.h"
#include "report/run_record_json.h"
#include "run/calculation_run.h"
#include "support/temporary_directory.h"
#include "support/test_codes.h"
#include "turbo/concatenation_type.h"

namespace brevandor {
namespace {

// A_d and B_d of the default code's PCCC at N = 2100, twelve significant digits.
struct ExactRow {
  int weight;
  const char* codewords;
  const char* weighted;
};

constexpr ExactRow kExactRows[] = {{8, "1.997148753048e+00", "1.902051614498e-03"},
                                   {9, "3.994320156952e+00", "3.803238479446e-03"},
                                   {10, "5.989642461278e+00", "5.702716010725e-03"},
                                   {11, "7.983170311576e+00", "7.600587859203e-03"},
                                   {12, "9.986381263096e+00", "9.518715596017e-03"},
                                   {13, "1.202212693602e+01", "1.150062323196e-02"},
                                   {14, "1.412459015391e+01", "1.361141358205e-02"}};

// The exact value divided by 10^scale in the "%e" layout: the mantissa rounded to six
// decimals, the exponent lowered by the scale.
std::string scaledText(const char* exact, int scale) {
  char text[64];
  std::snprintf(text, sizeof text, "%.6Le", std::strtold(exact, nullptr));
  const std::string mantissa(text, std::string(text).find('e'));
  const int exponent = std::atoi(std::string(text).substr(mantissa.size() + 1).c_str()) - scale;
  std::snprintf(text, sizeof text, "%se%c%02d", mantissa.c_str(), exponent < 0 ? '-' : '+',
                std::abs(exponent));
  return text;
}

int scaleExponent(const std::string& file, const char* label) {
  const std::size_t at = file.find(label);
  return at == std::string::npos ? 0 : std::atoi(file.c_str() + at + std::string(label).size());
}

TEST(LongFrameResults, LowWeightRowsPrintTheExactCountsBelowTheDoubleRange) {
#if defined(BREVANDOR_SANITIZED_TESTS)
  GTEST_SKIP() << "a long frame: seconds optimised, far longer under the sanitizers";
#endif
  const testing::TemporaryDirectory directory("brevandor-long-frame");
  RunInputs inputs;
  inputs.inputFrameLength = 2100;
  inputs.boundSelection = {};
  inputs.precision = TablePrecision::Double;
  inputs.resultsFileName = (directory / "pccc-2100.txt").string();
  inputs.code = testing::defaultCode();
  ASSERT_EQ(CalculationRun(inputs, RunContext{}).execute().outcome, RunOutcome::Finished);
  const std::string file = testing::readTextFile(inputs.resultsFileName);

  const int codewordScale = scaleExponent(file, "N_CodeWord  SCALE FACTOR = 10^");
  const int weightedScale = scaleExponent(file, "Wgt_DistSpt SCALE FACTOR = 10^");
  EXPECT_GT(codewordScale - 1, 308);  // A_8 / 10^e lies below the smallest double
  for (const ExactRow& row : kExactRows) {
    char line[128];
    std::snprintf(line, sizeof line, "\n%5d\t%f\t%s\t%s ", row.weight, row.weight / 6308.0,
                  scaledText(row.codewords, codewordScale).c_str(),
                  scaledText(row.weighted, weightedScale).c_str());
    EXPECT_NE(file.find(line), std::string::npos) << "expected row:" << line;
  }
  EXPECT_NE(file.find("\n    7\t0.001110\t0.000000e+00\t0.000000e+00 "), std::string::npos);
}

// The highest-weight row of N = 2000, A_5338 = 1.134e-551 far below the smallest double, in
// the results file, the spectrum CSV and the JSON record, and read back from the record (the
// rows below 10^-308 were left out). Exact values: `exact_top_weight.py 2000` (tests/data:
// the codewords of the largest parity weight counted with exact integers and fractions).
TEST(LongFrameResults, HighestWeightRowIsTheExactCountFarBelowTheDoubleRange) {
#if defined(BREVANDOR_SANITIZED_TESTS)
  GTEST_SKIP() << "a long frame: seconds optimised, far longer under the sanitizers";
#endif
  constexpr ExactRow kTop{5338, "1.13416254527e-551", "7.56486417698e-552"};
  constexpr double kLog10Codewords = -550.945324699008438;
  const testing::TemporaryDirectory directory("brevandor-top-weight");
  RunInputs inputs;
  inputs.inputFrameLength = 2000;
  inputs.boundSelection = {};
  inputs.resultsFileName = (directory / "pccc-2000.txt").string();
  inputs.code = testing::defaultCode();
  const RunResult result = CalculationRun(inputs, RunContext{}).execute();
  ASSERT_EQ(result.outcome, RunOutcome::Finished);
  ASSERT_NE(result.record, nullptr);

  const std::string file = testing::readTextFile(inputs.resultsFileName);
  char line[128];
  std::snprintf(
      line, sizeof line, "\n%5d\t%f\t%s\t%s ", kTop.weight, kTop.weight / 6008.0,
      scaledText(kTop.codewords, scaleExponent(file, "N_CodeWord  SCALE FACTOR = 10^")).c_str(),
      scaledText(kTop.weighted, scaleExponent(file, "Wgt_DistSpt SCALE FACTOR = 10^")).c_str());
  EXPECT_NE(file.find(line), std::string::npos) << "expected row:" << line;

  const SpectrumLine& last = result.record->spectrum.lines.back();
  EXPECT_EQ(last.weight, kTop.weight);
  EXPECT_NEAR(last.log10Codewords, kLog10Codewords, 1e-9);
  EXPECT_NE(spectrumCsv(*result.record).find("\n5338,-550.9453246"), std::string::npos);
  const std::string json = runRecordJson(*result.record);
  EXPECT_NE(json.find("\"a\": \"1.134162545e-551\""), std::string::npos);
  const RecordReading reading = readRunRecordJson(json);
  ASSERT_TRUE(reading.record.has_value()) << reading.error;
  EXPECT_EQ(reading.record->spectrum.lines.back(), last);
}

// Low-weight mode at N = 100 000 with every setting left at its default: the tables are held in
// double precision (single precision printed A_8 = 1.996816 for 1.999940), so the counts equal
// the exact ones to 1e-6 and the file says which precision it used. Exact values:
// `exact_low_weights.py 100000 10` (tests/data).
TEST(LongFrameResults, LowWeightModeByDefaultPrintsTheExactCounts) {
#if defined(BREVANDOR_SANITIZED_TESTS)
  GTEST_SKIP() << "a long frame: seconds optimised, far longer under the sanitizers";
#endif
  constexpr ExactRow kExact[] = {{8, "1.999940002600e+00", "3.999880010000e-05"},
                                 {9, "3.999880015200e+00", "7.999720059199e-05"},
                                 {10, "5.999780052398e+00", "1.199948020559e-04"}};
  const testing::TemporaryDirectory directory("brevandor-low-weight-default");
  RunInputs inputs;
  inputs.inputFrameLength = 100000;
  inputs.maxWeight = 10;
  inputs.boundSelection = {};
  inputs.resultsFileName = (directory / "low-weight.txt").string();
  inputs.code = testing::defaultCode();
  const RunResult result = CalculationRun(inputs, RunContext{}).execute();
  ASSERT_EQ(result.outcome, RunOutcome::Finished);
  ASSERT_NE(result.record, nullptr);
  for (const ExactRow& row : kExact) {
    const auto line =
        std::find_if(result.record->spectrum.lines.begin(), result.record->spectrum.lines.end(),
                     [&](const SpectrumLine& printed) { return printed.weight == row.weight; });
    ASSERT_NE(line, result.record->spectrum.lines.end()) << row.weight;
    const double codewords = std::strtod(row.codewords, nullptr);
    const double weighted = std::strtod(row.weighted, nullptr);
    EXPECT_NEAR(std::pow(10.0, line->log10Codewords), codewords, 1e-6 * codewords) << row.weight;
    EXPECT_NEAR(std::pow(10.0, line->log10Weighted), weighted, 1e-6 * weighted) << row.weight;
  }
  const std::string file = testing::readTextFile(inputs.resultsFileName);
  EXPECT_NE(file.find("\n Table Precision : double \n"), std::string::npos);
  EXPECT_NE(file.find("\n    8\t0.000027\t1.999940e+00\t3.999880e-05 "), std::string::npos);
}

}  // namespace
}  // namespace brevandor
