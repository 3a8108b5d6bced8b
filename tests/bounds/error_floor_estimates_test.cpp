#include "bounds/error_floor_estimates.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "bounds/ber_bounds.h"
#include "logmath/log_domain.h"
#include "support/file_capture.h"

namespace brevandor {
namespace {

using testing::captureFile;

// The rows of a bound section with their marks taken off: the numbers only.
std::string numberRows(std::string section) {
  const std::size_t first = section.find("\n    0.000\t");
  section = section.substr(first, section.find("\n\n .. computed") - first);
  for (std::size_t at = section.find("unsettled"); at != std::string::npos;
       at = section.find("unsettled")) {
    section.erase(at, 9);
  }
  return section;
}

// A spectrum known for d ≤ 12 of a code of 300 output bits gives, in every bound, the sums
// that the whole evaluation gives for the same entries followed by zeros up to d = 300. The
// improved bound depends on the code's length through δ = d / n and ln B / n: it must use
// n = 300, not the last weight computed.
TEST(ErrorFloorEstimates, SumsAreThoseOfTheSpectrumPaddedWithZeros) {
  std::vector<double> cut(13, LogZero);
  cut[7] = std::log10(0.25);
  cut[9] = std::log10(3.5);
  cut[12] = std::log10(40.0);
  std::vector<double> padded(cut);
  padded.resize(301, LogZero);
  const double rate = 100.0 / 300.0;
  const RunContext context;
  const std::string estimates = captureFile([&](std::FILE* file) {
    EXPECT_EQ(computeErrorFloorEstimates(file, rate, cut, 12, 300, 7, context), 0);
  });
  const std::string whole = captureFile([&](std::FILE* file) {
    EXPECT_EQ(computeBerBoundsFromLog10(file, rate, padded, 300, 7, context), 0);
  });
  EXPECT_EQ(numberRows(estimates), numberRows(whole));
  EXPECT_NE(estimates.find("(the code has weights up to 300)"), std::string::npos);
  EXPECT_NE(estimates.find("the terms of the last four weights, d = 9 ... 12, still add"),
            std::string::npos);
  // B_12 = 40 against B_9 = 3.5 and B_7 = 0.25: the last weights dominate every row.
  EXPECT_NE(estimates.find("\n    5.000\t"), std::string::npos);
  EXPECT_NE(estimates.substr(estimates.find("\n    5.000\t")).find("unsettled"), std::string::npos);
}

TEST(ErrorFloorEstimates, CancelWritesNothing) {
  CancelFlag cancel{1};
  RunContext context;
  context.cancelFlag = &cancel;
  const std::vector<double> spectrum(21, 1.0);
  const std::string written = captureFile([&](std::FILE* file) {
    EXPECT_EQ(computeErrorFloorEstimates(file, 0.5, spectrum, 20, 40, 1, context), -1);
  });
  EXPECT_EQ(written, "");
}

}  // namespace
}  // namespace brevandor
