#include "report/ber_bounds_section.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <limits>
#include <optional>
#include <string>
#include <vector>

#include "bounds/ber_bounds.h"
#include "bounds/ebn0_grid.h"
#include "logmath/log_domain.h"
#include "progress/progress_report.h"
#include "support/file_capture.h"

namespace brevandor {
namespace {

using testing::captureFile;
using testing::readTestData;

constexpr double kTwoBitRate = 2.0 / 14.0;

constexpr BerBoundSet kUnionQ{BerBound::UnionQ};

std::vector<double> twoBitFrameSpectrum() {
  std::vector<double> spectrum(15, 0.0);
  spectrum[9] = 1.0;
  spectrum[10] = 1.0;
  return spectrum;
}

// The "BER" stage and its section, as the run puts them together: the section's text, or
// nothing when the stage was cancelled.
std::optional<std::string> sectionText(double rate, const std::vector<double>& spectrum,
                                       std::int32_t maxWeight, BerBoundSet bounds, double scale,
                                       const RunContext& context) {
  const std::optional<BoundTables> tables =
      computeBerBounds(rate, spectrum, maxWeight, bounds, scale, context);
  if (!tables) {
    return std::nullopt;
  }
  return captureFile([&](std::FILE* file) { writeBoundSection(file, rate, bounds, *tables); });
}

// Collects the status lines a stage posts, and raises the cancel flag when the given number
// of remaining-time estimates has arrived.
class StatusRecorder : public NoticeTarget {
 public:
  explicit StatusRecorder(CancelFlag& flag, int cancelAfterEstimates = -1)
      : flag_(flag), cancelAfter_(cancelAfterEstimates) {}

  void receiveNotice(RunNotice notice) override {
    if (notice.kind != NoticeKind::StatusLine) {
      return;
    }
    if (notice.text.rfind("Est.", 0) == 0 && ++estimates_ == cancelAfter_) {
      flag_.store(1);
    }
    lines.push_back(std::move(notice.text));
  }

  std::vector<std::string> lines;

 private:
  CancelFlag& flag_;
  int cancelAfter_;
  int estimates_ = 0;
};

struct SectionCase {
  const char* name;
  BerBoundSet bounds;
  Engine engine;
  const char* golden;
};

class TwoBitFrameSection : public ::testing::TestWithParam<SectionCase> {};

// Whole sections of the two-bit frame (rows at 0 and 5 dB checked by hand), for the default
// selection and for all three bounds, from either engine.
TEST_P(TwoBitFrameSection, MatchesGoldenText) {
  const SectionCase& c = GetParam();
  RunContext context;
  context.engine = c.engine;
  const std::vector<double> b = twoBitFrameSpectrum();
  EXPECT_EQ(sectionText(kTwoBitRate, b, 14, c.bounds, 0.0, context), readTestData(c.golden));
}

INSTANTIATE_TEST_SUITE_P(
    SelectionsAndEngines, TwoBitFrameSection,
    ::testing::Values(SectionCase{"UnionQReference", kUnionQ, Engine::Reference,
                                  "ber_bounds_two_bit_frame_union_q.txt"},
                      SectionCase{"UnionQFast", kUnionQ, Engine::Fast,
                                  "ber_bounds_two_bit_frame_union_q.txt"},
                      SectionCase{"AllBoundsReference", kAllBerBounds, Engine::Reference,
                                  "ber_bounds_two_bit_frame_all_bounds.txt"},
                      SectionCase{"AllBoundsFast", kAllBerBounds, Engine::Fast,
                                  "ber_bounds_two_bit_frame_all_bounds.txt"}),
    [](const auto& tested) { return std::string(tested.param.name); });

TEST(BerBounds, ColumnsFollowTheCatalogueOrder) {
  RunContext context;
  const std::vector<double> b = twoBitFrameSpectrum();
  const std::string text =
      sectionText(kTwoBitRate, b, 14, {BerBound::Viterbi, BerBound::UnionExp}, 0.0, context)
          .value();
  EXPECT_NE(text.find("\n   SNR[dB]      UB_Exp          IUB_Exp         \n"
                      "    0.000\t5.161041e-01\t5.161041e-01\t\n"),
            std::string::npos);
}

TEST(BerBounds, EmptySpectrumGivesZeroEverywhere) {
  RunContext context;
  const std::vector<double> b(15, 0.0);
  const std::string text = sectionText(kTwoBitRate, b, 14, kAllBerBounds, 0.0, context).value();
  EXPECT_NE(text.find("    5.000\t0.000000e+00\t0.000000e+00\t0.000000e+00\t\n"),
            std::string::npos);
  EXPECT_EQ(text.find("e-"), std::string::npos);
}

TEST(BerBounds, PostsAnEstimateAfterEveryPoint) {
  CancelFlag flag{0};
  StatusRecorder recorder(flag);
  RunContext context;
  context.noticeTarget = &recorder;
  context.clock = [] { return 0; };
  const std::vector<double> b = twoBitFrameSpectrum();
  computeBerBounds(kTwoBitRate, b, 14, kUnionQ, 0.0, context);
  ASSERT_EQ(recorder.lines.size(), 23u);
  EXPECT_EQ(recorder.lines.front(), ProgressReport::kWaitText);
  EXPECT_EQ(recorder.lines[21], ProgressReport::remainingTimeText(0));
  EXPECT_EQ(recorder.lines.back(), ProgressReport::kDoneText);
}

// Cancel is seen once per point, after its bounds: the stage gives no tables and posts nothing
// more.
class BoundCancellation : public ::testing::TestWithParam<int> {};

TEST_P(BoundCancellation, GivesNothing) {
  const int estimatesBeforeCancel = GetParam();
  const std::vector<double> b = twoBitFrameSpectrum();
  for (const Engine engine : {Engine::Reference, Engine::Fast}) {
    CancelFlag flag{estimatesBeforeCancel == 0 ? 1 : 0};
    StatusRecorder recorder(flag, estimatesBeforeCancel);
    RunContext context;
    context.cancelFlag = &flag;
    context.noticeTarget = &recorder;
    context.engine = engine;
    EXPECT_FALSE(computeBerBounds(kTwoBitRate, b, 14, kAllBerBounds, 0.0, context));
    ASSERT_EQ(recorder.lines.size(), static_cast<std::size_t>(1 + estimatesBeforeCancel));
    EXPECT_EQ(recorder.lines.front(), ProgressReport::kWaitText);
  }
}

INSTANTIATE_TEST_SUITE_P(AtFirstMiddleAndLastPoint, BoundCancellation, ::testing::Values(0, 3, 20),
                         ::testing::PrintToStringParamName());

// A spectrum beyond the double range (e = 400): the bounds are those of the true spectrum,
// printed in extended precision where they exceed a double, and never "inf".
TEST(BerBounds, LongFrameBoundsPutTheScaleBackAndStayFinite) {
  const std::int32_t maxWeight = 200;
  std::vector<double> scaled(201, 0.0);
  scaled[100] = 1.0;  // true value 10^400
  scaled[200] = 1e8;  // true value 10^408
  const double rate = 0.5;
  RunContext context;
  const std::string text =
      sectionText(rate, scaled, maxWeight, {BerBound::UnionExp}, 400.0, context).value();
  EXPECT_EQ(text.find("inf"), std::string::npos);
  // At 0 dB: 10^400 e^−50 + 10^408 e^−100, worked out independently in extended precision.
  const long double ln10 = std::log(10.0L);
  const long double expected = std::exp(400 * ln10 - 50.0L) + std::exp(408 * ln10 - 100.0L);
  char row[64];
  std::snprintf(row, sizeof row, "    0.000\t%Le\t\n", expected);
  EXPECT_NE(text.find(row), std::string::npos) << text;
}

// Entries that scaling by 10^−e flushes to zero (here e ≈ 2700) keep their terms when the
// stage reads the log10 spectrum; at 5 dB the low-weight entry is the whole bound.
TEST(BerBounds, LogSpectrumKeepsEntriesThatScalingWouldLose) {
  const std::int32_t maxWeight = 3000;
  std::vector<double> log10Spectrum(3001, -308.0);
  log10Spectrum[5] = -5.0;
  log10Spectrum[3000] = 3000.0;
  const double rate = 0.9;
  RunContext context;
  const BerBoundSet bounds{BerBound::UnionQ, BerBound::UnionExp};
  const std::optional<BoundTables> tables =
      computeBerBoundsFromLog10(rate, log10Spectrum, maxWeight, bounds, context);
  ASSERT_TRUE(tables);
  const std::string text =
      captureFile([&](std::FILE* file) { writeBoundSection(file, rate, bounds, *tables); });
  const double snr = std::pow(10.0, 0.5);
  const double unionQ = 1e-5 * 0.5 * std::erfc(std::sqrt(snr * rate * 5));
  const double unionExp = 1e-5 * std::exp(-5 * rate * snr);
  const std::size_t at = text.find("    5.000\t");
  ASSERT_NE(at, std::string::npos);
  double q = 0.0;
  double e = 0.0;
  ASSERT_EQ(std::sscanf(text.c_str() + at, " 5.000 %le %le", &q, &e), 2);
  EXPECT_NEAR(q, unionQ, 1e-6 * unionQ);
  EXPECT_NEAR(e, unionExp, 1e-6 * unionExp);
}

// The low-weight mode's section says under its title that its sums are estimates, over which
// weights, and marks the rows whose last four weights still add more than 1 %.
TEST(BerBounds, ErrorFloorSectionNamesTheCutAndMarksUnsettledRows) {
  const EbN0Grid grid{0.0, 5.0, 5.0};
  ErrorFloorEstimates estimates;
  estimates.sums.unionQ = {1e-3L, 1e-6L};
  estimates.unsettled = {false, true};
  estimates.maxWeight = 12;
  estimates.blockLength = 300;
  const std::string text = captureFile(
      [&](std::FILE* file) { writeErrorFloorSection(file, 0.5, kUnionQ, estimates, grid); });
  EXPECT_NE(text.find("(the code has weights up to 300)"), std::string::npos);
  EXPECT_NE(text.find("the terms of the last four weights, d = 9 ... 12, still add"),
            std::string::npos);
  EXPECT_NE(text.find("    0.000\t1.000000e-03\t\n"), std::string::npos) << text;
  EXPECT_NE(text.find("    5.000\t1.000000e-06\tunsettled\n"), std::string::npos) << text;
}

// Sums beyond even extended precision: the uncoded rate-1 frame of n = 100000 (A_d = C(n, d),
// B_d = (d / n) C(n, d)) at 0 dB sums to about 10^13600 (the largest term, near d = n / (1 + e),
// by Stirling). Printed as the largest extended value, a bound that says nothing, never "inf".
TEST(BerBounds, SumsBeyondExtendedPrecisionPrintTheLargestValue) {
  const std::int32_t n = 100000;
  std::vector<double> log10Spectrum = log10BinomialRow(n);
  for (std::int32_t d = 1; d <= n; ++d) {
    log10Spectrum[static_cast<std::size_t>(d)] += std::log10(static_cast<double>(d) / n);
  }
  log10Spectrum[0] = LogZero;
  RunContext context;
  const EbN0Grid grid{0.0, 0.5, 2.5};
  const BerBoundSet bounds{BerBound::UnionQ, BerBound::UnionExp};
  const std::optional<BoundTables> tables =
      computeBerBoundsFromLog10(1.0, log10Spectrum, n, bounds, context, grid);
  ASSERT_TRUE(tables);
  const std::string text =
      captureFile([&](std::FILE* file) { writeBoundSection(file, 1.0, bounds, *tables, grid); });
  EXPECT_EQ(text.find("inf"), std::string::npos) << text;
  char largest[64];
  std::snprintf(largest, sizeof largest, "%Le", std::numeric_limits<long double>::max());
  EXPECT_NE(text.find(std::string("    0.000\t") + largest + "\t" + largest), std::string::npos)
      << text;
}

}  // namespace
}  // namespace brevandor
