#include "logmath/simd_log_add.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <random>
#include <vector>

#include "logmath/log_domain.h"
#include "support/kernel_sets.h"

namespace brevandor {
namespace {

constexpr float kZero = -308.0f;

// Log counts of the kinds the engine meets: LogZero, exact small counts, values around the
// shift threshold and far beyond it, the neighbours of each, and values whose difference
// sits at the kernel's own cut-offs (17 and 40).
std::vector<float> awkwardValues() {
  std::vector<float> values{kZero,  -400.0f,          -3.0f,  -0.1f,  0.0f,   0.1f,
                            0.25f,  std::log10(2.0f), 1.0f,   7.5f,   17.0f,  40.0f,
                            64.0f,  307.69897f,       307.7f, 308.0f, 308.2f, 512.0f,
                            616.0f, 2999.0f,          3010.3f};
  const std::size_t base = values.size();
  for (std::size_t i = 1; i < base; ++i) {
    values.push_back(std::nextafter(values[i], 1e9f));
    values.push_back(values[i] + 16.999f);
    values.push_back(values[i] + 17.001f);
    values.push_back(values[i] + 39.9f);
  }
  return values;
}

// Random log counts spread over the range of a long frame, a quarter of them LogZero.
std::vector<float> randomValues(std::size_t count, unsigned seed, float low, float high) {
  std::mt19937 generator(seed);
  std::uniform_real_distribution<float> value(low, high);
  std::uniform_int_distribution<int> pick(0, 3);
  std::vector<float> values(count);
  for (float& v : values) {
    v = pick(generator) == 0 ? kZero : value(generator);
  }
  return values;
}

// Neighbouring values that differ by little, as the cells of one row do.
std::vector<float> nearbyValues(const std::vector<float>& from, unsigned seed) {
  std::mt19937 generator(seed);
  std::uniform_real_distribution<float> step(-3.0f, 3.0f);
  std::vector<float> values(from);
  for (float& v : values) {
    if (v != kZero) {
      v = std::max(0.0f, v + step(generator));
    }
  }
  return values;
}

using LogAddRowKernelsTest = testing::KernelSetTest<float>;

TEST_P(LogAddRowKernelsTest, SumPairsRoundsExactlyAsLogAdd) {
  std::vector<float> a = awkwardValues();
  std::vector<float> b;
  for (const float x : awkwardValues()) {
    for (const float y : awkwardValues()) {
      a.push_back(x);
      b.push_back(y);
    }
  }
  a.resize(b.size());
  const std::vector<float> randomA = randomValues(4099, 1, 0.0f, 3100.0f);
  const std::vector<float> randomB = nearbyValues(randomA, 2);
  a.insert(a.end(), randomA.begin(), randomA.end());
  b.insert(b.end(), randomB.begin(), randomB.end());

  std::vector<float> out(a.size());
  kernels().sumPairs(out.data(), a.data(), b.data(), a.size());
  for (std::size_t i = 0; i < a.size(); ++i) {
    ASSERT_EQ(out[i], static_cast<float>(logAdd(a[i], b[i]))) << a[i] << " " << b[i];
  }
}

// Pairs of counts as a long frame's recursion meets them: the larger from each of the
// magnitude bands (fine and coarse float spacing), the smaller below it by a difference
// that sweeps the correction's whole range and a little beyond it (7.875), clamped at 0.
TEST_P(LogAddRowKernelsTest, SumPairsRoundsExactlyAsLogAddAcrossDifferences) {
  std::mt19937 generator(43);
  std::vector<float> a;
  std::vector<float> b;
  for (const auto& [low, high] : std::vector<std::pair<float, float>>{
           {0.30103f, 2.0f}, {2.0f, 64.0f}, {64.0f, 1024.0f}, {1024.0f, 3100.0f}}) {
    std::uniform_real_distribution<float> larger(low, high);
    std::uniform_real_distribution<float> difference(0.0f, 9.0f);
    for (int i = 0; i < 20000; ++i) {
      const float m = larger(generator);
      a.push_back(m);
      b.push_back(std::max(0.0f, m - difference(generator)));
    }
  }
  std::vector<float> out(a.size());
  kernels().sumPairs(out.data(), a.data(), b.data(), a.size());
  for (std::size_t i = 0; i < a.size(); ++i) {
    ASSERT_EQ(out[i], static_cast<float>(logAdd(a[i], b[i]))) << a[i] << " " << b[i];
  }
}

TEST_P(LogAddRowKernelsTest, SumPairsInPlaceAndEveryTailLength) {
  for (std::size_t count = 0; count <= 19; ++count) {
    std::vector<float> a = randomValues(count, 3 + static_cast<unsigned>(count), 0.0f, 40.0f);
    const std::vector<float> b = nearbyValues(a, 5);
    const std::vector<float> original = a;
    kernels().sumPairs(a.data(), a.data(), b.data(), count);
    for (std::size_t i = 0; i < count; ++i) {
      ASSERT_EQ(a[i], static_cast<float>(logAdd(original[i], b[i]))) << count << " " << i;
    }
  }
}

TEST_P(LogAddRowKernelsTest, AddTermsFormsTermsInOrderAndSkipsLogZeroSources) {
  const std::vector<float> src = randomValues(1031, 7, -5.0f, 900.0f);
  for (const auto& [x, y] :
       std::vector<std::pair<double, double>>{{0.0, 0.0},
                                              {12.25, 3.1},
                                              {-400.0, 0.0},
                                              {250.5, 300.75},
                                              {1e-9, 1e-12},
                                              {LogZero, 0.0},
                                              {-std::numeric_limits<double>::infinity(), 0.0}}) {
    std::vector<float> acc = randomValues(src.size(), 11, -310.0f, 905.0f);
    std::vector<float> expected = acc;
    kernels().addTerms(acc.data(), src.data(), src.size(), x, y);
    for (std::size_t i = 0; i < src.size(); ++i) {
      if (src[i] != kZero) {
        expected[i] = static_cast<float>(logAdd(expected[i], (x + src[i]) - y));
      }
      ASSERT_EQ(acc[i], expected[i]) << x << " " << y << " cell " << i;
    }
  }
}

// Partial sums and terms a little apart, as in the spectra's sums: differences from 0 to
// 12 cover the double table, the region beyond it (7.75 … 10.3) and the negligible one, with
// the term on either side of the sum and sums of every sign and size.
TEST_P(LogAddRowKernelsTest, AddTermsRoundsExactlyAsLogAddAcrossDifferences) {
  std::mt19937 generator(47);
  std::uniform_real_distribution<float> magnitude(-300.0f, 300.0f);
  std::uniform_real_distribution<double> difference(-12.0, 12.0);
  const std::size_t count = 40000;
  std::vector<float> acc(count);
  std::vector<float> src(count);
  for (std::size_t i = 0; i < count; ++i) {
    acc[i] = i % 3 == 0 ? magnitude(generator) / 100.0f : magnitude(generator);
    src[i] = static_cast<float>(acc[i] + difference(generator));
  }
  const double x = 0.3125;
  const double y = 0.0625;
  std::vector<float> expected = acc;
  kernels().addTerms(acc.data(), src.data(), count, x, y);
  for (std::size_t i = 0; i < count; ++i) {
    expected[i] = static_cast<float>(logAdd(expected[i], (x + src[i]) - y));
    ASSERT_EQ(acc[i], expected[i]) << "cell " << i << " term " << (x + src[i]) - y;
  }
}

TEST_P(LogAddRowKernelsTest, AddTermsAboveLeavesOutTermsBelowTheFloor) {
  const std::vector<float> src = randomValues(517, 13, 0.0f, 100.0f);
  const std::vector<float> floor = randomValues(src.size(), 17, -20.0f, 120.0f);
  std::vector<float> acc = randomValues(src.size(), 19, 0.0f, 100.0f);
  std::vector<float> expected = acc;
  const double x = 3.5;
  const double y = 1.25;
  kernels().addTermsAbove(acc.data(), src.data(), floor.data(), src.size(), x, y);
  for (std::size_t i = 0; i < src.size(); ++i) {
    const double term = (x + src[i]) - y;
    if (src[i] != kZero && term >= floor[i]) {
      expected[i] = static_cast<float>(logAdd(expected[i], term));
    }
    ASSERT_EQ(acc[i], expected[i]) << i;
  }
}

// Double results are held to the reference within a relative 1e-14 (1e-14 absolute below
// magnitude 1, where logAdd's own round trip through pow loses that much).
void expectClose(double actual, double expected, const char* what, std::size_t i) {
  if (expected == LogZero || std::isinf(expected)) {
    ASSERT_EQ(actual, expected) << what << " " << i;
    return;
  }
  ASSERT_NEAR(actual, expected, 1e-14 * std::max(1.0, std::fabs(expected))) << what << " " << i;
}

TEST_P(LogAddRowKernelsTest, AccumulateMatchesLogAddInDouble) {
  std::vector<float> src = randomValues(2053, 23, -320.0f, 3100.0f);
  src.push_back(-std::numeric_limits<float>::infinity());
  std::vector<double> acc(src.size());
  std::mt19937 generator(29);
  std::uniform_real_distribution<double> value(-308.0, 3100.0);
  for (double& v : acc) {
    v = value(generator);
  }
  acc[0] = LogZero;
  acc[1] = LogZero;
  src[1] = -400.0f;  // below LogZero, loses against it
  std::vector<double> expected = acc;
  kernels().accumulate(acc.data(), src.data(), src.size());
  for (std::size_t i = 0; i < src.size(); ++i) {
    expectClose(acc[i], logAdd(expected[i], src[i]), "accumulate", i);
  }
  EXPECT_EQ(acc[1], LogZero);
}

TEST_P(LogAddRowKernelsTest, FoldRowsSumsEachRowInColumnOrder) {
  const std::size_t rowCount = 11;
  const std::size_t columns = 37;
  std::vector<std::vector<float>> table;
  std::vector<const float*> rows;
  for (std::size_t r = 0; r < rowCount; ++r) {
    table.push_back(randomValues(columns, 31 + static_cast<unsigned>(r), -50.0f, 400.0f));
  }
  for (const auto& row : table) {
    rows.push_back(row.data());
  }
  std::vector<double> shift(columns);
  shift[0] = -std::numeric_limits<double>::infinity();
  for (std::size_t c = 1; c < columns; ++c) {
    shift[c] = std::log10(static_cast<double>(c) / static_cast<double>(columns));
  }
  const std::vector<const double*> shifts{nullptr, shift.data()};
  for (const double* s : shifts) {
    std::vector<double> sums(rowCount, LogZero);
    kernels().foldRows(sums.data(), rows.data(), rowCount, columns, s);
    for (std::size_t r = 0; r < rowCount; ++r) {
      double expected = LogZero;
      for (std::size_t c = 0; c < columns; ++c) {
        expected = logAdd(expected, s != nullptr ? s[c] + table[r][c] : table[r][c]);
      }
      expectClose(sums[r], expected, "fold", r);
    }
  }
}

TEST_P(LogAddRowKernelsTest, MaxTermsKeepsTheLargestTerm) {
  const std::vector<float> src = randomValues(45, 37, 0.0f, 50.0f);
  std::vector<float> best = randomValues(src.size(), 41, 0.0f, 60.0f);
  std::vector<float> expected = best;
  kernels().maxTerms(best.data(), src.data(), src.size(), 4.5f);
  for (std::size_t i = 0; i < src.size(); ++i) {
    if (src[i] != kZero) {
      expected[i] = std::max(expected[i], 4.5f + src[i]);
    }
    ASSERT_EQ(best[i], expected[i]) << i;
  }
}

INSTANTIATE_TEST_SUITE_P(EverySet, LogAddRowKernelsTest,
                         ::testing::ValuesIn(testing::everyKernelSet<float>()),
                         testing::kernelSetName<float>);

// The kernels a run uses, for both table precisions: the widest set the processor runs.
template <typename Cell>
class LogAddRowKernelsChoice : public ::testing::Test {};
using CellTypes = ::testing::Types<float, double>;
TYPED_TEST_SUITE(LogAddRowKernelsChoice, CellTypes);

TYPED_TEST(LogAddRowKernelsChoice, PrefersTheWidestAvailable) {
  const BasicLogAddRowKernels<TypeParam>* widest = &portableRowKernels<TypeParam>();
  for (const auto& set : testing::everyKernelSet<TypeParam>()) {
    widest = set.kernels != nullptr ? set.kernels : widest;
  }
  EXPECT_EQ(&rowKernels<TypeParam>(), widest);
}

}  // namespace
}  // namespace brevandor
