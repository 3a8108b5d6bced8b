#include "bounds/union/bound_engines.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <string>
#include <vector>

#include "bounds/ber_bounds.h"
#include "bounds/numerics/special_functions.h"
#include "bounds/union/bound_formulas.h"
#include "logmath/log_domain.h"

namespace brevandor {
namespace {

constexpr long double kRelativeTolerance = 1e-12L;

// Compares two tables entry by entry to a relative tolerance.
void expectTablesClose(const BoundTables& actual, const BoundTables& expected,
                       const std::string& what) {
  const auto check = [&](const auto& a, const auto& e, const char* name) {
    for (std::size_t j = 0; j < a.size(); ++j) {
      const long double tolerance = kRelativeTolerance * std::fabs(e[j]);
      EXPECT_LE(std::fabs(a[j] - e[j]), tolerance)
          << what << " " << name << " point " << j << ": " << static_cast<double>(a[j]) << " vs "
          << static_cast<double>(e[j]);
    }
  };
  check(actual.unionQ, expected.unionQ, "UB_Q");
  check(actual.unionExp, expected.unionExp, "UB_Exp");
  check(actual.viterbi, expected.viterbi, "IUB_Exp");
}

BoundTables tablesOf(const BoundSpectrum& spectrum, double rate, BerBoundSet bounds,
                     Engine engine) {
  RunContext context;
  context.engine = engine;
  return computeBoundTables(spectrum, rate, bounds, context).value();
}

// A spectrum given by the log10 of each entry (LogZero for none), and the rate to use.
struct SpectrumCase {
  const char* name;
  std::int32_t maxWeight;
  double rate;
  std::function<double(std::int32_t)> log10Entry;
};

class FastAgainstReference : public ::testing::TestWithParam<SpectrumCase> {};

TEST_P(FastAgainstReference, AgreeOnEveryBoundValue) {
  const SpectrumCase& c = GetParam();
  std::vector<double> log10Values(static_cast<std::size_t>(c.maxWeight) + 1);
  for (std::int32_t d = 0; d <= c.maxWeight; ++d) {
    log10Values[static_cast<std::size_t>(d)] = c.log10Entry(d);
  }
  const BoundSpectrum spectrum = boundSpectrumFromLog10(log10Values, c.maxWeight);
  const BoundTables reference = tablesOf(spectrum, c.rate, kAllBerBounds, Engine::Reference);
  expectTablesClose(tablesOf(spectrum, c.rate, kAllBerBounds, Engine::Fast), reference, c.name);
  // A mask leaves the tables of unselected bounds alone.
  const BoundTables viterbiOnly = tablesOf(spectrum, c.rate, {BerBound::Viterbi}, Engine::Fast);
  EXPECT_EQ(viterbiOnly.unionQ[0], 0.0L);
  EXPECT_EQ(viterbiOnly.unionExp[0], 0.0L);
  EXPECT_EQ(viterbiOnly.viterbi, tablesOf(spectrum, c.rate, kAllBerBounds, Engine::Fast).viterbi);
}

INSTANTIATE_TEST_SUITE_P(
    Spectra, FastAgainstReference,
    ::testing::Values(
        SpectrumCase{"TwoBitFrame", 14, 2.0 / 14.0,
                     [](std::int32_t d) { return d == 9 || d == 10 ? 0.0 : LogZero; }},
        SpectrumCase{"RisingSpectrum", 90, 0.33,
                     [](std::int32_t d) { return d < 5 ? LogZero : 0.3 * d - 6.0; }},
        // Largest entry 10^700: scale e = 393, the log-domain path throughout.
        SpectrumCase{
            "LongScaled", 120, 0.34,
            [](std::int32_t d) { return d < 4 ? LogZero : 700.0 - 0.05 * (d - 120) * (d - 120); }},
        // Entries near 10^307 whose double sums overflow at low signal-to-noise ratios.
        SpectrumCase{"OverflowingSums", 40, 0.02,
                     [](std::int32_t d) { return d < 20 ? LogZero : 307.5; }},
        SpectrumCase{"SparseWithGaps", 60, 0.5,
                     [](std::int32_t d) { return d % 7 == 3 ? 0.2 * d - 4.0 : LogZero; }}),
    [](const auto& tested) { return std::string(tested.param.name); });

// The same true spectrum, once plain (e = 0, literal double sums) and once divided by 10^e:
// every bound agrees, so the factor 10^e is put back in full.
class ScaledAgainstPlain : public ::testing::TestWithParam<double> {};

TEST_P(ScaledAgainstPlain, GiveTheSameBounds) {
  const double scale = GetParam();
  const std::int32_t maxWeight = 50;
  std::vector<double> plain(51, 0.0);
  std::vector<double> scaled(51, 0.0);
  for (std::int32_t d = 6; d <= maxWeight; ++d) {
    const double log10Value = 0.5 * d - 10.0;
    plain[static_cast<std::size_t>(d)] = std::pow(10.0, log10Value);
    scaled[static_cast<std::size_t>(d)] = std::pow(10.0, log10Value - scale);
  }
  const BoundSpectrum plainSpectrum = boundSpectrumFromScaled(plain, maxWeight, 0.0);
  const BoundSpectrum scaledSpectrum = boundSpectrumFromScaled(scaled, maxWeight, scale);
  for (const Engine engine : {Engine::Reference, Engine::Fast}) {
    expectTablesClose(tablesOf(scaledSpectrum, 0.4, kAllBerBounds, engine),
                      tablesOf(plainSpectrum, 0.4, kAllBerBounds, engine), "scaled");
  }
}

INSTANTIATE_TEST_SUITE_P(Exponents, ScaledAgainstPlain, ::testing::Values(1.0, 37.0, 250.0),
                         ::testing::PrintToStringParamName());

// 10^400 codewords of weight 1612 at rate 1/2: at 0 dB Q(√1612) ≈ 10^−352 underflows a double,
// so the literal product of the scaled entry and Q is 0; the bound is about 10^48.
TEST(BoundEngines, UnionBoundSurvivesUnderflowOfTheQFunction) {
  const std::int32_t maxWeight = 1612;
  std::vector<double> scaled(1613, 0.0);
  scaled[1612] = 1e300;
  const BoundSpectrum spectrum = boundSpectrumFromScaled(scaled, maxWeight, 100.0);
  ASSERT_EQ(boundUnionQ(scaled, maxWeight, 0.5, 1.0), 0.0);
  const double x = std::sqrt(1612.0);
  const double pi = std::acos(-1.0);
  const long double logExpected = 400 * std::log(10.0L) - x * x / 2.0 -
                                  std::log(x * std::sqrt(2.0 * pi)) +
                                  std::log(1.0 - 1.0 / (x * x) + 3.0 / (x * x * x * x));
  for (const Engine engine : {Engine::Reference, Engine::Fast}) {
    const BoundTables tables = tablesOf(spectrum, 0.5, {BerBound::UnionQ}, engine);
    EXPECT_NEAR(static_cast<double>(std::log(tables.unionQ[0])), static_cast<double>(logExpected),
                1e-6);
  }
}

// With e = 0 a double sum that overflows is done again in extended precision.
TEST(BoundEngines, OverflowingLiteralSumsKeepExtendedPrecision) {
  std::vector<double> plain(4, 0.0);
  plain[1] = 1.5e308;
  plain[2] = 1.5e308;
  plain[3] = 1.5e308;
  const BoundSpectrum spectrum = boundSpectrumFromScaled(plain, 3, 0.0);
  ASSERT_TRUE(std::isinf(boundUnionExp(plain, 3, 0.001, 1.0)));
  long double expected = 0.0L;
  for (int d = 1; d <= 3; ++d) {
    expected += 1.5e308L * std::exp(static_cast<long double>(-d * 0.001));
  }
  for (const Engine engine : {Engine::Reference, Engine::Fast}) {
    const BoundTables tables = tablesOf(spectrum, 0.001, {BerBound::UnionExp}, engine);
    EXPECT_NEAR(static_cast<double>(tables.unionExp[0] / expected), 1.0, 1e-14);
  }
}

}  // namespace
}  // namespace brevandor
