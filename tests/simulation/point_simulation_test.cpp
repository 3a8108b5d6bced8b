#include "simulation/point_simulation.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "simulation/awgn_channel.h"
#include "support/test_codes.h"

namespace brevandor {
namespace {

// The default code as a parallel frame of 64 bits, decoded briefly: a small frame whose
// error rate at 1 dB is high enough to count quickly.
struct SmallRun {
  ConvCode code{testing::kDefaultCase.description()};
  TurboFrame frame = parallelFrame(code, code, 64);
  SimulationSettings settings;

  SmallRun() {
    settings.decoder.iterations = 4;
    settings.seed = 77;
  }
  PointCounts at(double ebn0Db, int threads) const {
    RunContext context;
    context.threads = threads;
    return simulatePoint(frame, settings, nullptr, ebn0Db, context);
  }
};

bool sameCounts(const PointCounts& a, const PointCounts& b) {
  return a.frames == b.frames && a.bitErrors == b.bitErrors && a.frameErrors == b.frameErrors &&
         a.iterations == b.iterations;
}

TEST(PointSimulation, CountsDoNotDependOnThreadsOrWindows) {
  SmallRun run;
  run.settings.limits.minFrameErrors = 15;
  const PointCounts one = run.at(1.0, 1);
  ASSERT_EQ(one.frameErrors, 15);
  EXPECT_TRUE(sameCounts(one, run.at(1.0, 2)));
  EXPECT_TRUE(sameCounts(one, run.at(1.0, 4)));

  // The same frames as two windows, merged, and as one window.
  run.settings.limits.framesFrom = 0;
  run.settings.limits.framesTo = 30;
  std::vector<PointCounts> merged{run.at(1.0, 2)};
  run.settings.limits.framesFrom = 30;
  run.settings.limits.framesTo = 70;
  const std::vector<PointCounts> second{run.at(1.0, 3)};
  mergeCounts(merged, second);
  run.settings.limits.framesFrom = 0;
  const PointCounts whole = run.at(1.0, 4);
  ASSERT_EQ(merged.size(), 1u);
  EXPECT_EQ(whole.frames, 70);
  EXPECT_TRUE(sameCounts(merged.front(), whole));
}

TEST(PointSimulation, UncodedBitsFollowTheGaussianTail) {
  // Uncoded BPSK errs with probability Q(√(2·Eb/N0)) = erfc(√(Eb/N0)) / 2; the measured rate's
  // 95 % interval must hold it (at 0 dB 7.865e-2, at 4 dB 1.250e-2).
  SmallRun run;
  run.settings.uncoded = true;
  run.settings.limits.minFrameErrors = 0;
  run.settings.limits.maxFrames = 3000;
  for (const double ebn0Db : {0.0, 4.0}) {
    const PointCounts counts = run.at(ebn0Db, 2);
    const PointStatistics statistics = statisticsOf(counts);
    const double expected = 0.5 * std::erfc(std::sqrt(std::pow(10.0, ebn0Db / 10.0)));
    EXPECT_LE(statistics.berInterval.low, expected) << ebn0Db;
    EXPECT_GE(statistics.berInterval.high, expected) << ebn0Db;
  }
}

TEST(AwgnChannel, NoiseVarianceFollowsTheRate) {
  // Rate 1/3 at 2 dB: σ² = 1 / (2 · 10^0.2 / 3) = 0.94644; the sample variance of 10^5 values
  // has a relative deviation of √(2/10^5) = 0.45 %, so 2 % is a wide margin.
  const double deviation = noiseDeviation(2.0, 1.0 / 3.0);
  EXPECT_NEAR(deviation * deviation, 1.5 / std::pow(10.0, 0.2), 1e-12);
  const ConvCode code(testing::kFeedforwardCase.description());
  ConstituentFrame constituent;
  constituent.code = &code;
  constituent.inputLength = 50000;
  const std::vector<std::int32_t> zeros(50000, 0);
  RandomBits bits(3);
  GaussianSource noise(bits);
  std::vector<double> llr;
  transmitConstituent(constituent, zeros, deviation, noise, llr);
  double sum = 0.0;
  double squares = 0.0;
  for (const double value : llr) {
    const double received = value * deviation * deviation / 2.0;  // y = L·σ²/2
    sum += received - 1.0;
    squares += (received - 1.0) * (received - 1.0);
  }
  const double count = static_cast<double>(llr.size());
  const double variance = squares / count - (sum / count) * (sum / count);
  EXPECT_NEAR(variance / (deviation * deviation), 1.0, 0.02);
}

// The share of standard normal samples beyond ±a, against erfc(a / √2), at thresholds inside
// the ziggurat's layers, at the start of its tail (3.654) and in the tail: within five standard
// deviations of the binomial count over 2·10^6 samples.
class GaussianTailTest : public ::testing::TestWithParam<double> {};

TEST_P(GaussianTailTest, ShareBeyondFollowsTheNormalTail) {
  const double a = GetParam();
  constexpr int kSamples = 2000000;
  RandomBits bits(11);
  GaussianSource noise(bits);
  int beyond = 0;
  for (int i = 0; i < kSamples; ++i) {
    beyond += std::fabs(noise.next()) > a ? 1 : 0;
  }
  const double expected = kSamples * std::erfc(a / std::sqrt(2.0));
  EXPECT_NEAR(beyond, expected, 5.0 * std::sqrt(expected) + 1.0);
}

INSTANTIATE_TEST_SUITE_P(Thresholds, GaussianTailTest,
                         ::testing::Values(0.25, 1.0, 2.0, 3.0, 3.6541528853610088, 4.2),
                         [](const ::testing::TestParamInfo<double>& param) {
                           std::string name = "Beyond" + std::to_string(param.param);
                           std::replace(name.begin(), name.end(), '.', '_');
                           return name.substr(0, 11);
                         });

TEST(SimulationSweep, StopsAfterAPointWithoutErrors) {
  SmallRun run;
  run.settings.limits.minFrameErrors = 5;
  run.settings.limits.maxFrames = 40;
  const std::vector<double> grid{1.0, 8.0, 9.0};
  const SweepOutcome outcome = simulateSweep(run.frame, run.settings, grid, RunContext{});
  ASSERT_TRUE(outcome.failure.empty());
  ASSERT_EQ(outcome.result.points.size(), 2u);
  EXPECT_EQ(outcome.result.points[0].frameErrors, 5);
  EXPECT_EQ(outcome.result.points[1].frameErrors, 0);
  EXPECT_EQ(outcome.result.points[1].frames, 40);
}

TEST(SimulationSweep, RefusesAnInterleaverThatDoesNotFitTheFrame) {
  SmallRun run;
  run.settings.interleaver = *parseInterleaverSpec("lte").spec;  // 64 is an LTE size …
  EXPECT_TRUE(simulateSweep(run.frame, run.settings, std::vector<double>{}, {}).failure.empty());
  run.settings.interleaver = *parseInterleaverSpec("ccsds").spec;  // … but no CCSDS size
  EXPECT_NE(
      simulateSweep(run.frame, run.settings, std::vector<double>{1.0}, {}).failure.find("CCSDS"),
      std::string::npos);
}

}  // namespace
}  // namespace brevandor
