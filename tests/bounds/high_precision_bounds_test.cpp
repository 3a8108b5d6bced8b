// Every bound of both sections at N = 100 (the default PCCC: n = 308, K = 100) on the grid
// −5:0.5:30 dB against an independent high-precision evaluation, to 10^−9 of the value
// (10^−9 in its natural log), values far below the smallest double included: IUB_Exp reaches
// 10^−9334 at 30 dB. The spectrum is the program's own, tests/data/spectra.
// - UB_Q, UB_Exp, IUB_Exp and the word union bounds: the formulas of the sections evaluated
//   here in 50-digit binary floating point (boost::multiprecision::cpp_bin_float_50, Q from
//   its erfc), from the same log10 counts. UB_Q where the text's double sum holds: to the
//   tolerance of the text's own Q.
// - Simple_Bit, Simple_Word, Sphere_Word: tests/tools/further_bounds_reference.py (mpmath, 20
//   digits): `further_bounds_reference.py pccc_default_n100.csv 308 100 -5,-4.5,…,30
//   simple,sphere`. The tangential-sphere bound takes minutes a point there; the test
//   HighPrecisionValues holds it at 0 … 5 dB.

#include <gtest/gtest.h>

#include <algorithm>
#include <boost/math/special_functions/erf.hpp>
#include <boost/multiprecision/cpp_bin_float.hpp>
#include <cmath>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "bounds/further_bounds.h"
#include "bounds/numerics/special_functions.h"
#include "bounds/spectrum_file.h"
#include "bounds/union/bound_engines.h"
#include "report/ber_bounds_section.h"
#include "report/further_bounds_section.h"
#include "report/scientific_text.h"
#include "support/file_capture.h"

namespace brevandor {
namespace {

using Big = boost::multiprecision::cpp_bin_float_50;

constexpr std::int32_t kCodeLength = 308;
constexpr std::int32_t kInfoBits = 100;
constexpr EbN0Grid kGrid{-5.0, 0.5, 30.0};

SpectrumFile spectrum() {
  const SpectrumFileCheck read = readSpectrumFile(
      std::string(BREVANDOR_TEST_DATA_DIR) + "/spectra/pccc_default_n100.csv", kCodeLength);
  EXPECT_TRUE(read.spectrum) << read.message;
  return *read.spectrum;
}

Big snrOf(std::int32_t j) {
  return pow(Big(10), (Big(-5) + Big(j) / 2) / 10);
}
Big rateOf() {
  return Big(kInfoBits) / kCodeLength;
}
Big gaussianTail(const Big& x) {
  return boost::math::erfc(x / sqrt(Big(2))) / 2;
}

// ln Σ 10^log10[d] · factor(d) over the weights d ≥ 1 that hold codewords.
Big logUnionSum(const std::vector<double>& log10Counts, const std::function<Big(int)>& factor) {
  Big sum = 0;
  for (std::size_t d = 1; d < log10Counts.size(); ++d) {
    if (log10Counts[d] > -300.0) {
      sum += pow(Big(10), Big(log10Counts[d])) * factor(static_cast<int>(d));
    }
  }
  return log(sum);
}

// ln I1 + I2, ln I1, ln I2 of the improved bound: the 52-point rectangle rule from −7 in steps
// of 0.42, U and V the unit normal densities around ±√(2c) raised to 1 / (1 + ρ).
struct Integrals {
  Big sum, first, second;
};
Integrals integrals(const Big& rho, const Big& c) {
  const Big t = 1 / (1 + rho);
  const Big mean = sqrt(2 * c);
  const Big norm = sqrt(2 * boost::math::constants::pi<Big>());
  Big first = 0;
  Big second = 0;
  for (int k = 0; k < 52; ++k) {
    const Big x = Big(-7) + Big(42) / 100 * k;
    const Big u = pow(exp(-(x - mean) * (x - mean) / 2) / norm, t);
    const Big v = pow(exp(-(x + mean) * (x + mean) / 2) / norm, t);
    const Big common = pow(u + v, rho - 1);
    first += u * v * common;
    second += u * u * common;
  }
  first *= Big(42) / 100;
  second *= Big(42) / 100;
  return {log(first + second), log(first), log(second)};
}

// ln of the improved bound: per weight, the exponent at the ρ of 0.05 … 1.00 that maximises
// it (the smallest on a tie; ρ = 1 when none beats 0.05), summed as e^(−n · exponent).
Big logImprovedBound(const std::vector<double>& log10Weighted, const Big& c) {
  std::vector<Integrals> table;
  for (int i = 1; i <= 20; ++i) {
    table.push_back(integrals(Big(i) / 20, c));
  }
  const auto exponent = [&](int i, const Big& delta, const Big& r) {
    const Big rho = Big(i) / 20;
    const Integrals& logs = table[static_cast<std::size_t>(i - 1)];
    return -((1 - rho) * logs.sum + rho * (delta * logs.first + (1 - delta) * logs.second + r));
  };
  Big sum = 0;
  for (std::size_t d = 1; d < log10Weighted.size(); ++d) {
    if (log10Weighted[d] > -300.0) {
      const Big delta = Big(static_cast<int>(d)) / kCodeLength;
      const Big r = Big(log10Weighted[d]) * log(Big(10)) / kCodeLength;
      Big best = exponent(1, delta, r);
      int bestIndex = 0;
      for (int i = 2; i <= 20; ++i) {
        if (const Big e = exponent(i, delta, r); e > best) {
          best = e;
          bestIndex = i;
        }
      }
      sum += exp(-kCodeLength * (bestIndex == 0 ? exponent(20, delta, r) : best));
    }
  }
  return log(sum);
}

void expectLog(long double actual, const Big& expected, const char* name) {
  EXPECT_NEAR(static_cast<double>(actual), expected.convert_to<double>(), 1e-9) << name;
}

// Natural logs of the simple and sphere-packing bounds from the mpmath script, one row per
// point of the grid.
struct ScriptRow {
  double decibels, simpleWord, simpleBit, sphere;
};
constexpr ScriptRow kScriptRows[] = {
    {-5.0, 51.276564700594407, 50.52743886262948, -6.8374667984463808e-6},
    {-4.5, 49.405713957336957, 48.649632186718687, -4.2767070937099408e-5},
    {-4.0, 47.327960281376329, 46.563962507994045, -0.00024794079894079585},
    {-3.5, 45.020579578917878, 44.246128781149139, -0.0013003751313908308},
    {-3.0, 42.4489934543635, 41.656627348616811, -0.0060118133416427762},
    {-2.5, 39.529976291739207, 38.696380303156985, -0.023897431079586561},
    {-2.0, 36.066557946658485, 35.14777585084127, -0.080197813676229397},
    {-1.5, 31.758371356989733, 30.704702500138876, -0.22609047490935359},
    {-1.0, 25.948795063531816, 24.451615448260676, -0.5414049848908282},
    {-0.5, 18.152182074735747, 15.450319750634339, -1.1265540999624388},
    {0.0, 6.8351708052335535, 4.0922264555403099, -2.0916491176696095},
    {0.5, 3.7494749149806745, 3.2582559717848173, -3.5508313068412399},
    {1.0, 2.5193155035266899, 1.7672201136715334, -5.6223258896825318},
    {1.5, 0.44736200180587927, -0.59825770103456942, -8.4312610770865474},
    {2.0, -2.355517374575853, -4.0334091223680011, -12.113109805755303},
    {2.5, -4.2069385445015596, -7.5127544102535372, -16.81698635490651},
    {3.0, -5.1678576487634725, -8.9187315760532086, -22.708717186841023},
    {3.5, -6.0666582951566623, -9.9050509724303773, -29.973807223127159},
    {4.0, -7.0011875844681036, -10.876535425597345, -38.820441357570856},
    {4.5, -7.9996007536847586, -11.892871417238975, -49.482636230218586},
    {5.0, -9.0799796681924346, -12.982273833268513, -62.2236326278192},
    {5.5, -10.257528771360615, -14.164413437697843, -77.339602877885777},
    {6.0, -11.546972106902962, -15.456183024370623, -95.163739475368623},
    {6.5, -12.963724546736582, -16.874089699056593, -116.07078869427816},
    {7.0, -14.524599424189795, -18.435507037612181, -140.48209434114185},
    {7.5, -16.248310269713691, -20.159440635381987, -168.87122097760146},
    {8.0, -18.155881556618339, -22.067069961285165, -201.77023223629827},
    {8.5, -20.271027126215368, -24.182192508998205, -239.77670794181821},
    {9.0, -22.620526416877044, -26.531633408744336, -283.56159347877529},
    {9.5, -25.234612816782326, -29.145651054003487, -333.87798618697357},
    {10.0, -28.147380407807446, -32.058352914776135, -391.57097654367677},
    {10.5, -31.39721259095505, -35.308128978960584, -457.58867659591455},
    {11.0, -35.027237213099737, -38.938109525295092, -532.99458464621733},
    {11.5, -39.085817038272893, -42.996657187623652, -618.98145371821509},
    {12.0, -43.627090711762558, -47.537909011495699, -716.88685201073063},
    {12.5, -48.711585905965878, -52.622390413864533, -828.21062660313337},
    {13.0, -54.406930509290106, -58.317726963907371, -954.63450735641737},
    {13.5, -60.788687205299986, -64.699479337248559, -1098.0441165695211},
    {14.0, -67.941331111359829, -71.85212112754609, -1260.5536818618471},
    {14.5, -75.959381580322441, -79.870170661325373, -1444.533785387079},
    {15.0, -84.948692045276348, -88.85948075722483, -1652.6425223345426},
    {15.5, -95.027899718797752, -98.938688302408603, -1887.8604863082805},
    {16.0, -106.3300411092821, -110.24082965414713, -2153.5300492306916},
    {16.5, -119.00434754227787, -122.91513607715606, -2453.3994596140211},
    {17.0, -133.2182435662223, -137.1290320989437, -2791.672346177025},
    {17.5, -149.15957765612655, -153.07036618846579, -3173.0632847401126},
    {18.0, -167.03911859261297, -170.94990712489794, -3602.860166089203},
    {18.5, -187.09335350164326, -191.00414203392221, -4086.9941921411293},
    {19.0, -209.58762624514441, -213.49841477742286, -4632.118428476134},
    {19.5, -234.81965845450332, -238.73044698678174, -5245.6959544669221},
    {20.0, -263.12350013505418, -267.0342886673326, -5936.0987793262853},
    {20.5, -294.87396231403178, -298.78475084631019, -6712.7188350923437},
    {21.0, -330.49159055999124, -334.40237909226966, -7586.0925177509287},
    {21.5, -370.44824537074757, -374.35903390302599, -8568.0404274676154},
    {22.0, -415.27336347849592, -419.18415201077434, -9671.8241606363563},
    {22.5, -465.56098315598198, -469.4717716882604, -10912.322232809011},
    {23.0, -521.97762674538517, -525.88841527766359, -12306.227465540437},
    {23.5, -585.27114500637902, -589.18193353865744, -13872.268455125992},
    {24.0, -656.2806406425704, -660.19142917484882, -15631.45806089445},
    {24.5, -735.94760268554609, -739.85839121782451, -17607.372209384918},
    {25.0, -825.32839948308751, -829.23918801536593, -19826.462713135903},
    {25.5, -925.60829606595659, -929.519084598235, -22318.408254284934},
    {26.0, -1038.1171818952255, -1042.027970427504, -25116.508189707062},
    {26.5, -1164.3472176878274, -1168.2580062201058, -28258.124402730801},
    {27.0, -1305.9726354830009, -1309.8834240152793, -31785.177064101854},
    {27.5, -1464.8719546844987, -1468.7827432167771, -35744.700880279738},
    {28.0, -1643.1529088719532, -1647.0636974042316, -40189.469209844087},
    {28.5, -1843.1804141450539, -1847.0912026773323, -45178.694329408302},
    {29.0, -2067.6079501234776, -2071.518738655756, -50778.813140939933},
    {29.5, -2319.4127700093833, -2323.3235585416617, -57064.36874617958},
    {30.0, -2601.9354069286116, -2605.84619546089, -64118.999585978916},
};

TEST(HighPrecisionBounds, EveryBoundAtFrameOf100MatchesOnTheWholeGrid) {
#if defined(BREVANDOR_SANITIZED_TESTS)
  GTEST_SKIP() << "50-digit arithmetic: seconds optimised, minutes under the sanitizers";
#endif
  const SpectrumFile file = spectrum();
  const BoundSpectrum weighted = boundSpectrumFromLog10(file.log10Weighted, kCodeLength);
  RunContext context;
  const double rate = static_cast<double>(kInfoBits) / kCodeLength;
  const BoundTables ber = computeBoundTables(weighted, rate, kAllBerBounds, context, kGrid).value();
  const FurtherBoundInputs inputs = furtherBoundInputsFromLog10(
      file.log10Codewords, file.log10Weighted, kCodeLength, kCodeLength, kInfoBits);
  const FurtherBoundSet further{FurtherBound::UnionWordQ, FurtherBound::UnionWordExp,
                                FurtherBound::SimpleBit, FurtherBound::SimpleWord,
                                FurtherBound::SpherePackingWord};
  const FurtherBoundTables tables = computeFurtherBounds(inputs, further, kGrid, context).value();
  const auto furtherLog = [&](FurtherBound bit, std::size_t j) {
    std::size_t index = 0;
    while ((1U << index) != static_cast<std::uint32_t>(bit)) {
      ++index;
    }
    return tables.logValues[index][j];
  };

  for (std::int32_t j = 0; j < kGrid.count(); ++j) {
    const auto p = static_cast<std::size_t>(j);
    SCOPED_TRACE("Eb/N0 = " + std::to_string(kGrid.decibels(j)) + " dB");
    const Big c = snrOf(j) * rateOf();
    const auto tail = [&](int d) { return gaussianTail(sqrt(2 * c * d)); };
    const auto chernoff = [&](int d) { return exp(-c * d); };
    // The text's literal UB_Q takes Q from incomplete gamma routines good to a relative
    // kGammaTolerance (3·10^−7; 2·10^−8 off at most here), and its file stays as it is.
    const double unionQTolerance = ber.unionQ[p] >= kSmallestLiteralSum ? kGammaTolerance : 1e-9;
    EXPECT_NEAR(static_cast<double>(ber.logUnionQ[p]),
                logUnionSum(file.log10Weighted, tail).convert_to<double>(), unionQTolerance)
        << "UB_Q";
    expectLog(ber.logUnionExp[p], logUnionSum(file.log10Weighted, chernoff), "UB_Exp");
    expectLog(ber.logViterbi[p], logImprovedBound(file.log10Weighted, c), "IUB_Exp");
    expectLog(furtherLog(FurtherBound::UnionWordQ, p), logUnionSum(file.log10Codewords, tail),
              "UB_Q_Word");
    expectLog(furtherLog(FurtherBound::UnionWordExp, p), logUnionSum(file.log10Codewords, chernoff),
              "UB_Exp_Word");
  }
  ASSERT_EQ(std::size(kScriptRows), static_cast<std::size_t>(kGrid.count()));
  for (const ScriptRow& row : kScriptRows) {
    const auto p = static_cast<std::size_t>(std::lround((row.decibels - kGrid.from) / kGrid.step));
    SCOPED_TRACE("Eb/N0 = " + std::to_string(row.decibels) + " dB");
    expectLog(furtherLog(FurtherBound::SimpleWord, p), Big(row.simpleWord), "Simple_Word");
    expectLog(furtherLog(FurtherBound::SimpleBit, p), Big(row.simpleBit), "Simple_Bit");
    // Below about 10^−4700 (from 22.5 dB) the two sphere-packing evaluations part by up to
    // 10^−13 of the logarithm (6·10^−9 of the value at 30 dB); which one limits is not settled.
    EXPECT_NEAR(furtherLog(FurtherBound::SpherePackingWord, p), row.sphere,
                std::max(1e-9, 1e-13 * std::fabs(row.sphere)))
        << "Sphere_Word";
  }

  // The section prints the values beyond every floating-point range from their logarithms.
  const std::string section = testing::captureFile(
      [&](std::FILE* out) { writeBoundSection(out, rate, kAllBerBounds, ber, kGrid); });
  const std::string lastRow = "   30.000\t" + scientificText(ber.unionQ.back()) + "\t" +
                              scientificText(ber.unionExp.back()) + "\t" +
                              scientificTextOfPower(ber.logViterbi.back() / std::log(10.0L)) +
                              "\t\n";
  EXPECT_NE(section.find(lastRow), std::string::npos) << lastRow << section;
  EXPECT_EQ(section.find("0.000000e+00"), std::string::npos) << section;
  const std::string furtherSection = testing::captureFile(
      [&](std::FILE* out) { writeFurtherBoundSection(out, inputs, further, tables, kGrid); });
  EXPECT_NE(furtherSection.find(scientificTextOfPower(
                furtherLog(FurtherBound::SpherePackingWord, 70) / std::log(10.0))),
            std::string::npos)
      << furtherSection;
}

}  // namespace
}  // namespace brevandor
