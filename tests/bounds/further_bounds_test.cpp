#include "bounds/further_bounds.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <sstream>
#include <string>
#include <vector>

#include "bounds/numerics/incomplete_functions.h"
#include "bounds/simple/simple_bound.h"
#include "bounds/spectrum_file.h"
#include "bounds/sphere_packing/sphere_packing_bound.h"
#include "bounds/tangential_sphere/tangential_sphere_bound.h"
#include "bounds/union/union_word_bound.h"
#include "logmath/log_domain.h"
#include "report/further_bounds_section.h"
#include "support/file_capture.h"
#include "support/numeric_text.h"
#include "support/test_codes.h"
#include "support/turbo_pipeline.h"
#include "turbo/concatenation_type.h"

namespace brevandor {
namespace {

constexpr FurtherBoundSet kAllBounds = FurtherBoundSet::fromBits((1U << kFurtherBoundCount) - 1);

// The spectra of the default code "1+D+D^2" over "1+D^2" in parallel concatenation as the
// program computes them, log10 A_d and log10 B_d to 17 digits, in tests/data/spectra.
FurtherBoundInputs pcccSpectrum(const char* file, std::int32_t n, std::int32_t k) {
  const SpectrumFileCheck read =
      readSpectrumFile(std::string(BREVANDOR_TEST_DATA_DIR) + "/spectra/" + file, n);
  EXPECT_TRUE(read.spectrum) << read.message;
  return furtherBoundInputsFromLog10(read.spectrum->log10Codewords, read.spectrum->log10Weighted, n,
                                     n, k);
}

FurtherBoundTables evaluate(const FurtherBoundInputs& inputs, const EbN0Grid& grid,
                            Engine engine = Engine::Fast, FurtherBoundSet bounds = kAllBounds) {
  RunContext context;
  context.engine = engine;
  return computeFurtherBounds(inputs, bounds, grid, context).value();
}

double logValue(const FurtherBoundTables& tables, FurtherBound bit, std::int32_t j) {
  std::size_t index = 0;
  while ((1U << index) != static_cast<std::uint32_t>(bit)) {
    ++index;
  }
  return tables.logValues[index][static_cast<std::size_t>(j)];
}

// Natural logs of the bounds at one Eb/N0, worked out independently.
struct ReferencePoint {
  double decibels;
  double unionWord;
  double unionBit;
  double tsbWord;
  double tsbBit;
  double simpleWord;
  double simpleBit;
  double sphere;
};

struct ReferenceCase {
  const char* name;
  const char* file;
  std::int32_t n;
  std::int32_t k;
  std::vector<ReferencePoint> points;
};

// Expected values: tests/tools/further_bounds_reference.py (mpmath 1.3.0, 20 digits) on the same
// spectrum files, straight from the textbook forms in the original units: the tangential-
// sphere bound as nested quadratures over the radial noise and the noise towards each word
// with mpmath.gammainc, its radius from the equation with the sine integrals by quadrature;
// the simple bound with its exponent maximised numerically; the sphere-packing bound from
// the solid-angle ratio by quadrature of sin^(n−2) and a quadrature over the radial noise.
class HighPrecisionValues : public ::testing::TestWithParam<ReferenceCase> {};

TEST_P(HighPrecisionValues, MatchAtEveryPoint) {
  const ReferenceCase& c = GetParam();
  const FurtherBoundInputs inputs = pcccSpectrum(c.file, c.n, c.k);
  const EbN0Grid grid{0.0, 1.0, 5.0};
  const FurtherBoundTables tables = evaluate(inputs, grid);
  for (const ReferencePoint& p : c.points) {
    const auto j = static_cast<std::int32_t>(p.decibels);
    const double symbolEnergy = inputs.rate() * grid.ratio(j);
    SCOPED_TRACE(p.decibels);
    // 10^−8 in the log is a relative 10^−8 in the value.
    EXPECT_NEAR(logValue(tables, FurtherBound::UnionWordQ, j), p.unionWord, 1e-8);
    EXPECT_NEAR(logUnionBoundQ(inputs.weighted, symbolEnergy), p.unionBit, 1e-8);
    EXPECT_NEAR(logValue(tables, FurtherBound::TangentialSphereWord, j), p.tsbWord, 1e-8);
    EXPECT_NEAR(logValue(tables, FurtherBound::TangentialSphereBit, j), p.tsbBit, 1e-8);
    EXPECT_NEAR(logValue(tables, FurtherBound::SimpleWord, j), p.simpleWord, 1e-8);
    EXPECT_NEAR(logValue(tables, FurtherBound::SimpleBit, j), p.simpleBit, 1e-8);
    EXPECT_NEAR(logValue(tables, FurtherBound::SpherePackingWord, j), p.sphere, 1e-8);
  }
}

INSTANTIATE_TEST_SUITE_P(
    DefaultPccc, HighPrecisionValues,
    ::testing::Values(
        ReferenceCase{
            "FrameOf16",
            "pccc_default_n16.csv",
            56,
            16,
            {
                {0, 1.592069201763084, 0.66054284038675886, -0.97348176813400977,
                 -1.5291430270924257, 1.592069201763084, 0.66054284038675886, -1.9013675930824111},
                {1, -0.055301087397613158, -1.0876494944195102, -1.6558847895071337,
                 -2.442897020902664, -0.055301087397613158, -1.0876494944195102,
                 -3.0499632412413794},
                {2, -1.8796969256863619, -3.0751188062309364, -2.6678538429523386,
                 -3.7361592965276566, -1.8796969256863619, -3.0751188062309364,
                 -4.7467406666986233},
                {3, -3.7959516266643391, -5.2259197612644329, -4.0560334531668277,
                 -5.4358514060082639, -3.7959516266643391, -5.2259197612644329,
                 -7.1869121800042038},
                {4, -5.7508070467612849, -7.4260547855631116, -5.7956818466546559,
                 -7.4572760878585088, -5.7508070467612849, -7.4260547855631116,
                 -10.618599205259047},
                {5, -7.8143611054662909, -9.6600094428103169, -7.8173400948329373,
                 -9.6614694470291467, -7.8143611054662909, -9.6600094428103169,
                 -15.356600805196323},
            }},
        // The tangential-sphere values with --rule=12, as the 24-point rules take hours at
        // n = 308 (at N = 16 the two agree to 10^-13).
        ReferenceCase{
            "FrameOf100",
            "pccc_default_n100.csv",
            308,
            100,
            {
                {0, 20.484583370363875, 19.593450321017982, -0.25044421050965384,
                 -0.6720590738858925, 6.8351708052335535, 4.0922264555403099, -2.0916491176696095},
                {1, 10.101485223059293, 9.1304156386497647, -1.2453163350536876,
                 -2.5178642819090338, 2.5193155035266899, 1.7672201136715334, -5.6223258896825318},
                {2, -1.4221566127547028, -2.7664152969090746, -3.2332262305776867,
                 -6.0409195764643496, -2.355517374575853, -4.0334091223680011, -12.113109805755303},
                {3, -5.1678573739330108, -8.9187299738532333, -5.168472145639901,
                 -8.920773243669148, -5.1678576487634725, -8.9187315760532086, -22.708717186841023},
                {4, -7.0011875844681036, -10.876535425597345, -7.0011875926431767,
                 -10.8765354308194, -7.0011875844681036, -10.876535425597345, -38.820441357570856},
                {5, -9.0799796681924346, -12.982273833268513, -9.0799796681929324,
                 -12.982273833269024, -9.0799796681924346, -12.982273833268513, -62.2236326278192},
            }}),
    [](const auto& testInfo) { return std::string(testInfo.param.name); });

// The reference engine (each integral adaptive, the special functions exact at every node)
// gives the same tangential-sphere values as the fast one, at both ends of the range.
TEST(TangentialSphereBound, ReferenceEngineAgreesWithFast) {
  const FurtherBoundInputs inputs = pcccSpectrum("pccc_default_n16.csv", 56, 16);
  const EbN0Grid grid{0.0, 5.0, 5.0};
  const FurtherBoundSet bounds{FurtherBound::TangentialSphereWord,
                               FurtherBound::TangentialSphereBit};
  const FurtherBoundTables fast = evaluate(inputs, grid, Engine::Fast, bounds);
  const FurtherBoundTables reference = evaluate(inputs, grid, Engine::Reference, bounds);
  for (const FurtherBound bit :
       {FurtherBound::TangentialSphereWord, FurtherBound::TangentialSphereBit}) {
    for (std::int32_t j = 0; j < grid.count(); ++j) {
      EXPECT_NEAR(logValue(fast, bit, j), logValue(reference, bit, j), 1e-8)
          << static_cast<int>(bit) << " " << j;
    }
  }
}

// For two words (n = 2, K = 1) the cone is the half-space of the sent word, and the bound is
// the error probability of antipodal signalling with both symbols' energy: Q(√(4 Es/N0)).
TEST(SpherePackingBound, TwoWordsOfLengthTwoAreAntipodal) {
  const SpherePackingCone cone = spherePackingCone(2, 1);
  for (const double c : {0.01, 0.5, 1.0, 3.1622776601683795, 100.0}) {
    EXPECT_EQ(logSpherePackingBound(cone, c), logGaussianTail(std::sqrt(4.0 * c))) << c;
  }
}

// The cone of a frame of 10 000 bits (n = 30 008, K = 10 000), where the count 2^K and the
// share 2^−K of the sphere are far outside a double. Expected: the same script, sphere only.
TEST(SpherePackingBound, LongFrameMatchesHighPrecision) {
  const SpherePackingCone cone = spherePackingCone(30008, 10000);
  const double rate = 10000.0 / 30008.0;
  const struct {
    double decibels;
    double logBound;
  } points[] = {{0.0, -32.50715318287664}, {0.5, -116.75934219302241}, {1.0, -264.54261561077171}};
  for (const auto& point : points) {
    const double c = rate * std::pow(10.0, point.decibels / 10.0);
    EXPECT_NEAR(logSpherePackingBound(cone, c), point.logBound, 1e-8 * -point.logBound)
        << point.decibels;
  }
}

// Where every count is below 1 the exponent of the simple bound never applies and each
// weight keeps its union term.
TEST(SimpleBound, EqualsTheUnionBoundWhenEveryCountIsBelowOne) {
  std::vector<double> log10Counts(41, LogZero);
  for (std::int32_t d = 6; d <= 40; ++d) {
    log10Counts[static_cast<std::size_t>(d)] = -0.01 * d;
  }
  const BoundSpectrum spectrum = boundSpectrumFromLog10(log10Counts, 40);
  for (const double c : {0.05, 0.3, 1.0, 4.0}) {
    EXPECT_EQ(logSimpleBound(spectrum, c), logUnionBoundQ(spectrum, c)) << c;
  }
}

// At N = 1000 below the cutoff rate the heavy weights' union terms exceed the simple bound
// by e^60 and more, while the low weights decide it: none of them may be left out. Expected:
// tests/tools/further_bounds_reference.py, simple bound only, on the program's spectrum of
// the default PCCC at N = 1000 (n = 3008, K = 1000).
TEST(SimpleBound, LowWeightsCountBelowTheCutoffRate) {
  testing::TurboPipeline pipeline(testing::describeOrDie("1+D+D^2", "1+D^2"),
                                  ConcatenationType::Parallel, 1000, Engine::Fast);
  const std::int32_t n = pipeline.run();
  ASSERT_EQ(n, 3008);
  const FurtherBoundInputs inputs =
      furtherBoundInputsFromLog10(pipeline.codeword, pipeline.weighted, n, n, 1000);
  const double c = inputs.rate() * std::pow(10.0, 0.15);  // 1.5 dB
  EXPECT_NEAR(logSimpleBound(inputs.codewords, c), -1.6053749654248473, 1e-8);
  EXPECT_NEAR(logSimpleBound(inputs.weighted, c), -3.7481980983133878, 1e-8);
}

// Spectra of several codes and frames for the properties every bound keeps.
struct PropertyCase {
  const char* name;
  const char* numerator;
  const char* denominator;
  ConcatenationType type;
  std::int32_t frameLength;
};

class BoundProperties : public ::testing::TestWithParam<PropertyCase> {};

TEST_P(BoundProperties, HoldAtEveryPoint) {
  const PropertyCase& c = GetParam();
  testing::TurboPipeline pipeline(testing::describeOrDie(c.numerator, c.denominator), c.type,
                                  c.frameLength, Engine::Fast);
  const std::int32_t n = pipeline.run();
  ASSERT_GT(n, 0);
  const FurtherBoundInputs inputs =
      furtherBoundInputsFromLog10(pipeline.codeword, pipeline.weighted, n, n, c.frameLength);
  const EbN0Grid grid{-5.0, 0.5, 10.0};
  const FurtherBoundTables tables = evaluate(inputs, grid);
  for (std::int32_t j = 0; j < grid.count(); ++j) {
    SCOPED_TRACE(grid.decibels(j));
    const double c0 = inputs.rate() * grid.ratio(j);
    const double unionWord = logValue(tables, FurtherBound::UnionWordQ, j);
    const double unionBit = logUnionBoundQ(inputs.weighted, c0);
    const double sphere = logValue(tables, FurtherBound::SpherePackingWord, j);
    EXPECT_LE(logValue(tables, FurtherBound::TangentialSphereWord, j), unionWord);
    EXPECT_LE(logValue(tables, FurtherBound::TangentialSphereBit, j), unionBit);
    for (const FurtherBound upper :
         {FurtherBound::UnionWordQ, FurtherBound::UnionWordExp, FurtherBound::TangentialSphereWord,
          FurtherBound::SimpleWord}) {
      EXPECT_GE(logValue(tables, upper, j), sphere) << static_cast<int>(upper);
    }
    EXPECT_LE(unionBit, unionWord);
    EXPECT_LE(logValue(tables, FurtherBound::TangentialSphereBit, j),
              logValue(tables, FurtherBound::TangentialSphereWord, j));
    EXPECT_LE(logValue(tables, FurtherBound::SimpleBit, j),
              logValue(tables, FurtherBound::SimpleWord, j));
  }
  // As the section shows them, every value lies in [0, 1].
  const std::string section = testing::captureFile(
      [&](std::FILE* file) { writeFurtherBoundSection(file, inputs, kAllBounds, tables, grid); });
  const std::string rows = section.substr(section.find("SNR[dB]"));
  const std::vector<double> numbers = testing::splitNumbers(rows).numbers;
  ASSERT_EQ(numbers.size(), static_cast<std::size_t>(grid.count()) * (kFurtherBoundCount + 1));
  for (std::size_t i = 0; i < numbers.size(); ++i) {
    if (i % (kFurtherBoundCount + 1) != 0) {
      EXPECT_GE(numbers[i], 0.0);
      EXPECT_LE(numbers[i], 1.0);
    }
  }
}

INSTANTIATE_TEST_SUITE_P(
    Codes, BoundProperties,
    ::testing::Values(
        PropertyCase{"PcccDefault", "1+D+D^2", "1+D^2", ConcatenationType::Parallel, 40},
        PropertyCase{"PcccSwapped", "1+D^2", "1+D+D^2", ConcatenationType::Parallel, 64},
        PropertyCase{"PcccFeedforward", "1+D+D^2", "1", ConcatenationType::Parallel, 20},
        PropertyCase{"SerialDefault", "1+D+D^2", "1+D^2", ConcatenationType::Serial, 16},
        PropertyCase{"RepetitionOuter", "1+D+D^2", "1+D^2", ConcatenationType::RepetitionSerial,
                     12}),
    [](const auto& testInfo) { return std::string(testInfo.param.name); });

// A cancel request seen after the first point ends the stage without tables.
TEST(FurtherBounds, CancelledStageGivesNothing) {
  const FurtherBoundInputs inputs = pcccSpectrum("pccc_default_n16.csv", 56, 16);
  CancelFlag cancel{1};
  RunContext context;
  context.cancelFlag = &cancel;
  EXPECT_FALSE(computeFurtherBounds(inputs, kAllBounds, EbN0Grid{}, context));
}

}  // namespace
}  // namespace brevandor
