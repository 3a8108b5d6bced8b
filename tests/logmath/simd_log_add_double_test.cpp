#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "logmath/log_domain.h"
#include "logmath/simd_log_add.h"
#include "support/kernel_sets.h"

namespace brevandor {
namespace {

// Log counts of a long frame's range, a quarter of them LogZero, a few below −300 (where
// logAdd's powers of ten are subnormal) and a few exactly equal to a neighbour's.
std::vector<double> randomValues(std::size_t count, unsigned seed, double low, double high) {
  std::mt19937 generator(seed);
  std::uniform_real_distribution<double> value(low, high);
  std::uniform_int_distribution<int> pick(0, 15);
  std::vector<double> values(count);
  for (double& v : values) {
    const int kind = pick(generator);
    v = kind < 4 ? LogZero : kind == 4 ? -305.0 - kind : value(generator);
  }
  return values;
}

// Values a little apart from `from`, as neighbouring cells are, differences up to ±20
// (beyond the negligible difference of 17 and within it).
std::vector<double> nearbyValues(const std::vector<double>& from, unsigned seed) {
  std::mt19937 generator(seed);
  std::uniform_real_distribution<double> step(-20.0, 20.0);
  std::vector<double> values(from);
  for (double& v : values) {
    if (v != LogZero) {
      v += step(generator);
    }
  }
  return values;
}

// A kernel result against logAdd's: equal where logAdd copies an argument or gives −∞,
// else within 1e-14 relative (absolute below magnitude 1): a few double ulps, what logAdd's
// own round trip through pow and log10 leaves open.
void expectClose(double actual, double expected, std::size_t i) {
  if (expected == LogZero || std::isinf(expected)) {
    ASSERT_EQ(actual, expected) << "cell " << i;
    return;
  }
  ASSERT_NEAR(actual, expected, 1e-14 * std::max(1.0, std::fabs(expected))) << "cell " << i;
}

using DoubleLogAddRowKernelsTest = testing::KernelSetTest<double>;

TEST_P(DoubleLogAddRowKernelsTest, SumPairsMatchesLogAddAtEveryLengthAndInPlace) {
  for (std::size_t count : {0, 1, 3, 4, 7, 8, 9, 15, 16, 17, 4099}) {
    std::vector<double> a = randomValues(count, 3 + static_cast<unsigned>(count), -5.0, 3100.0);
    const std::vector<double> b = nearbyValues(a, 5);
    const std::vector<double> original = a;
    kernels().sumPairs(a.data(), a.data(), b.data(), count);
    for (std::size_t i = 0; i < count; ++i) {
      expectClose(a[i], logAdd(original[i], b[i]), i);
    }
  }
}

TEST_P(DoubleLogAddRowKernelsTest, AddTermsSkipsLogZeroSourcesAndTermsBelowTheFloor) {
  const std::vector<double> src = randomValues(1031, 7, -5.0, 900.0);
  const std::vector<double> floor = randomValues(src.size(), 17, -20.0, 920.0);
  for (const auto& [x, y] : std::vector<std::pair<double, double>>{
           {0.0, 0.0}, {12.25, 3.1}, {-400.0, 0.0}, {250.5, 300.75}, {LogZero, 0.0}}) {
    for (const bool withFloor : {false, true}) {
      std::vector<double> acc = nearbyValues(src, 11);
      std::vector<double> expected = acc;
      if (withFloor) {
        kernels().addTermsAbove(acc.data(), src.data(), floor.data(), src.size(), x, y);
      } else {
        kernels().addTerms(acc.data(), src.data(), src.size(), x, y);
      }
      for (std::size_t i = 0; i < src.size(); ++i) {
        const double term = (x + src[i]) - y;
        if (src[i] != LogZero && (!withFloor || term >= floor[i])) {
          expected[i] = logAdd(expected[i], term);
        }
        expectClose(acc[i], expected[i], i);
      }
    }
  }
}

TEST_P(DoubleLogAddRowKernelsTest, AccumulateMatchesLogAdd) {
  const std::vector<double> src = randomValues(2053, 23, -320.0, 3100.0);
  std::vector<double> acc = nearbyValues(src, 29);
  const std::vector<double> before = acc;
  kernels().accumulate(acc.data(), src.data(), src.size());
  for (std::size_t i = 0; i < src.size(); ++i) {
    expectClose(acc[i], logAdd(before[i], src[i]), i);
  }
}

TEST_P(DoubleLogAddRowKernelsTest, FoldRowsSumsEachRowInColumnOrder) {
  const std::size_t rowCount = 19;
  const std::size_t columns = 37;
  std::vector<std::vector<double>> table;
  std::vector<const double*> rows;
  for (std::size_t r = 0; r < rowCount; ++r) {
    table.push_back(randomValues(columns, 31 + static_cast<unsigned>(r), -50.0, 400.0));
  }
  for (const auto& row : table) {
    rows.push_back(row.data());
  }
  std::vector<double> shift(columns, -std::numeric_limits<double>::infinity());
  for (std::size_t c = 1; c < columns; ++c) {
    shift[c] = std::log10(static_cast<double>(c) / static_cast<double>(columns));
  }
  for (const double* s :
       {static_cast<const double*>(nullptr), static_cast<const double*>(shift.data())}) {
    std::vector<double> sums(rowCount, LogZero);
    kernels().foldRows(sums.data(), rows.data(), rowCount, columns, s);
    for (std::size_t r = 0; r < rowCount; ++r) {
      double expected = LogZero;
      for (std::size_t c = 0; c < columns; ++c) {
        expected = logAdd(expected, s != nullptr ? s[c] + table[r][c] : table[r][c]);
      }
      expectClose(sums[r], expected, r);
    }
  }
}

TEST_P(DoubleLogAddRowKernelsTest, MaxTermsKeepsTheLargestTerm) {
  const std::vector<double> src = randomValues(45, 37, 0.0, 50.0);
  std::vector<double> best = randomValues(src.size(), 41, 0.0, 60.0);
  std::vector<double> expected = best;
  kernels().maxTerms(best.data(), src.data(), src.size(), 4.5);
  for (std::size_t i = 0; i < src.size(); ++i) {
    if (src[i] != LogZero) {
      expected[i] = std::max(expected[i], 4.5 + src[i]);
    }
    ASSERT_EQ(best[i], expected[i]) << i;
  }
}

INSTANTIATE_TEST_SUITE_P(EverySet, DoubleLogAddRowKernelsTest,
                         ::testing::ValuesIn(testing::everyKernelSet<double>()),
                         testing::kernelSetName<double>);

}  // namespace
}  // namespace brevandor
