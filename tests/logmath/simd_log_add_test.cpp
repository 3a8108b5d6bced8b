// The row kernels of every set (portable, AVX2, AVX-512) for both table precisions, as one
// typed test. Every expected value is logAdd's, cell by cell: the scalar log-add that the
// kernels stand in for.

#include "logmath/simd_log_add.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <numeric>
#include <random>
#include <string>
#include <type_traits>
#include <utility>
#include <vector>

#include "logmath/log_domain.h"

namespace brevandor::testing {

enum class SetKind { Portable, Avx2, Avx512 };

// One kernel set for tables of Cell: the type parameter of the kernel tests.
template <typename C, SetKind kKind>
struct KernelSet {
  using Cell = C;

  // The kernels, or null where this processor lacks them.
  static const BasicLogAddRowKernels<Cell>* kernels() {
    switch (kKind) {
      case SetKind::Portable:
        return &portableRowKernels<Cell>();
      case SetKind::Avx2:
        return avx2RowKernels<Cell>();
      case SetKind::Avx512:
        return avx512RowKernels<Cell>();
    }
    return nullptr;
  }
  // What a processor needs to run the set.
  static const char* needs() {
    return kKind == SetKind::Avx2 ? "AVX2 and FMA" : "AVX-512F and VL (with AVX2 and FMA)";
  }
};

}  // namespace brevandor::testing

// The type parameters of the kernel tests, named for the test names: precision and set.
struct FloatPortable : brevandor::testing::KernelSet<float, brevandor::testing::SetKind::Portable> {
};
struct FloatAvx2 : brevandor::testing::KernelSet<float, brevandor::testing::SetKind::Avx2> {};
struct FloatAvx512 : brevandor::testing::KernelSet<float, brevandor::testing::SetKind::Avx512> {};
struct DoublePortable
    : brevandor::testing::KernelSet<double, brevandor::testing::SetKind::Portable> {};
struct DoubleAvx2 : brevandor::testing::KernelSet<double, brevandor::testing::SetKind::Avx2> {};
struct DoubleAvx512 : brevandor::testing::KernelSet<double, brevandor::testing::SetKind::Avx512> {};

namespace brevandor {
namespace {

using EveryKernelSet = ::testing::Types<FloatPortable, FloatAvx2, FloatAvx512, DoublePortable,
                                        DoubleAvx2, DoubleAvx512>;

// The kernels of the type parameter, or a skip that names what this processor lacks.
template <typename Set>
class LogAddRowKernels : public ::testing::Test {
 protected:
  void SetUp() override {
    if (Set::kernels() == nullptr) {
      GTEST_SKIP() << "this processor lacks " << Set::needs();
    }
  }
  const BasicLogAddRowKernels<typename Set::Cell>& kernels() const { return *Set::kernels(); }
};
TYPED_TEST_SUITE(LogAddRowKernels, EveryKernelSet);

// A double result against logAdd's: equal where logAdd copies an argument or gives −∞, else
// within 1e-14 relative (absolute below magnitude 1): a few ulps, what logAdd's own round trip
// through pow and log10 leaves open.
::testing::AssertionResult closeTo(double actual, double expected) {
  const bool exact = expected == LogZero || std::isinf(expected);
  const double tolerance = exact ? 0.0 : 1e-14 * std::max(1.0, std::fabs(expected));
  if (actual == expected || std::fabs(actual - expected) <= tolerance) {
    return ::testing::AssertionSuccess();
  }
  return ::testing::AssertionFailure() << actual << " where logAdd gives " << expected;
}

// A table cell against logAdd's double result for the same operands: a float cell is that
// result rounded to float, exactly (the float kernels settle every cell as logAdd rounds it);
// a double cell is close to it as above.
template <typename Cell>
::testing::AssertionResult matchesLogAdd(Cell actual, double expected) {
  if constexpr (std::is_same_v<Cell, float>) {
    if (actual == static_cast<float>(expected)) {
      return ::testing::AssertionSuccess();
    }
    return ::testing::AssertionFailure()
           << actual << " where logAdd rounds to " << static_cast<float>(expected);
  } else {
    return closeTo(actual, expected);
  }
}

constexpr double kNoLimit = -std::numeric_limits<double>::infinity();

// Log counts of a long frame's range: a quarter LogZero, a sixteenth at −305 (below −300,
// where logAdd's powers of ten are subnormal and the vector kernels hand the cell to logAdd
// itself), the rest uniform in [low, high).
template <typename Cell>
std::vector<Cell> randomValues(std::size_t count, unsigned seed, double low, double high) {
  std::mt19937 generator(seed);
  std::uniform_real_distribution<double> value(low, high);
  std::uniform_int_distribution<int> pick(0, 15);
  std::vector<Cell> values(count);
  for (Cell& v : values) {
    const int kind = pick(generator);
    v = static_cast<Cell>(kind < 4 ? LogZero : kind == 4 ? -305.0 : value(generator));
  }
  return values;
}

// Values within ±spread of `from` and not below `lowest` (LogZero kept), as neighbouring
// cells of one row are.
template <typename Cell>
std::vector<Cell> nearbyValues(const std::vector<Cell>& from, unsigned seed, double spread,
                               double lowest) {
  std::mt19937 generator(seed);
  std::uniform_real_distribution<double> step(-spread, spread);
  std::vector<Cell> values(from);
  for (Cell& v : values) {
    if (v != static_cast<Cell>(LogZero)) {
      v = static_cast<Cell>(std::max(lowest, v + step(generator)));
    }
  }
  return values;
}

// Log counts of the kinds the engine meets: LogZero, exact small counts, values around the
// shift threshold and far beyond it, the neighbours of each, and values whose difference
// sits at the kernels' own cut-offs (17 and 40).
template <typename Cell>
std::vector<Cell> awkwardValues() {
  std::vector<float> values{-308.0f,          -400.0f, -3.0f,  -0.1f,  0.0f,   0.1f,    0.25f,
                            std::log10(2.0f), 1.0f,    7.5f,   17.0f,  40.0f,  64.0f,   307.69897f,
                            307.7f,           308.0f,  308.2f, 512.0f, 616.0f, 2999.0f, 3010.3f};
  const std::size_t base = values.size();
  for (std::size_t i = 1; i < base; ++i) {
    values.push_back(std::nextafter(values[i], 1e9f));
    values.push_back(values[i] + 16.999f);
    values.push_back(values[i] + 17.001f);
    values.push_back(values[i] + 39.9f);
  }
  return {values.begin(), values.end()};
}

TYPED_TEST(LogAddRowKernels, SumPairsMatchesLogAddOnAwkwardPairs) {
  using Cell = typename TypeParam::Cell;
  std::vector<Cell> a;
  std::vector<Cell> b;
  for (const Cell x : awkwardValues<Cell>()) {
    for (const Cell y : awkwardValues<Cell>()) {
      a.push_back(x);
      b.push_back(y);
    }
  }
  const std::vector<Cell> randomA = randomValues<Cell>(4099, 1, 0.0, 3100.0);
  const std::vector<Cell> randomB = nearbyValues(randomA, 2, 3.0, 0.0);
  a.insert(a.end(), randomA.begin(), randomA.end());
  b.insert(b.end(), randomB.begin(), randomB.end());

  std::vector<Cell> out(a.size());
  this->kernels().sumPairs(out.data(), a.data(), b.data(), a.size());
  for (std::size_t i = 0; i < a.size(); ++i) {
    ASSERT_TRUE(matchesLogAdd(out[i], logAdd(a[i], b[i]))) << a[i] << " ⊕ " << b[i];
  }
}

// Pairs of counts as a long frame's recursion meets them: the larger from each of the
// magnitude bands (fine and coarse float spacing), the smaller below it by a difference
// that sweeps the float correction table's whole range and a little beyond it (7.875),
// clamped at 0.
TYPED_TEST(LogAddRowKernels, SumPairsMatchesLogAddAcrossDifferences) {
  using Cell = typename TypeParam::Cell;
  std::mt19937 generator(43);
  std::vector<Cell> a;
  std::vector<Cell> b;
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
  std::vector<Cell> out(a.size());
  this->kernels().sumPairs(out.data(), a.data(), b.data(), a.size());
  for (std::size_t i = 0; i < a.size(); ++i) {
    ASSERT_TRUE(matchesLogAdd(out[i], logAdd(a[i], b[i]))) << a[i] << " ⊕ " << b[i];
  }
}

// Row lengths around every packet width (vector bodies, masked and scalar row ends), the
// result written over the first operand; counts (the float kernels' own path) and the
// whole range of log values.
TYPED_TEST(LogAddRowKernels, SumPairsInPlaceAtEveryRowLength) {
  using Cell = typename TypeParam::Cell;
  struct Range {
    double low, high, spread, lowest;
  };
  std::vector<std::size_t> lengths(20);
  std::iota(lengths.begin(), lengths.end(), 0);
  lengths.push_back(4099);
  for (const Range range : {Range{0.0, 40.0, 3.0, 0.0}, Range{-5.0, 3100.0, 20.0, kNoLimit}}) {
    for (const std::size_t count : lengths) {
      std::vector<Cell> a =
          randomValues<Cell>(count, 3 + static_cast<unsigned>(count), range.low, range.high);
      const std::vector<Cell> b = nearbyValues(a, 5, range.spread, range.lowest);
      const std::vector<Cell> original = a;
      this->kernels().sumPairs(a.data(), a.data(), b.data(), count);
      for (std::size_t i = 0; i < count; ++i) {
        ASSERT_TRUE(matchesLogAdd(a[i], logAdd(original[i], b[i])))
            << "length " << count << " cell " << i;
      }
    }
  }
}

TYPED_TEST(LogAddRowKernels, AddTermsSkipsLogZeroSourcesAndTermsBelowTheFloor) {
  using Cell = typename TypeParam::Cell;
  const std::vector<Cell> src = randomValues<Cell>(1031, 7, -5.0, 900.0);
  const std::vector<Cell> floor = randomValues<Cell>(src.size(), 17, -20.0, 920.0);
  for (const auto& [x, y] :
       std::vector<std::pair<double, double>>{{0.0, 0.0},
                                              {12.25, 3.1},
                                              {-400.0, 0.0},
                                              {250.5, 300.75},
                                              {1e-9, 1e-12},
                                              {LogZero, 0.0},
                                              {-std::numeric_limits<double>::infinity(), 0.0}}) {
    for (const bool withFloor : {false, true}) {
      std::vector<Cell> acc = nearbyValues(src, 11, 20.0, kNoLimit);
      std::vector<Cell> expected = acc;
      if (withFloor) {
        this->kernels().addTermsAbove(acc.data(), src.data(), floor.data(), src.size(), x, y);
      } else {
        this->kernels().addTerms(acc.data(), src.data(), src.size(), x, y);
      }
      for (std::size_t i = 0; i < src.size(); ++i) {
        const double term = (x + src[i]) - y;
        const bool taken = src[i] != static_cast<Cell>(LogZero) && (!withFloor || term >= floor[i]);
        if (taken) {
          ASSERT_TRUE(matchesLogAdd(acc[i], logAdd(expected[i], term)))
              << "x " << x << " y " << y << " floor " << withFloor << " cell " << i;
        } else {
          ASSERT_EQ(acc[i], expected[i]) << "x " << x << " y " << y << " cell " << i;
        }
      }
    }
  }
}

// Partial sums and terms a little apart, as in the spectra's sums: differences from 0 to
// 12 cover the double table of the AVX-512 float kernels, the region beyond it
// (7.75 … 10.3) and the negligible one, with the term on either side of the sum and sums of
// every sign and size.
TYPED_TEST(LogAddRowKernels, AddTermsMatchesLogAddAcrossDifferences) {
  using Cell = typename TypeParam::Cell;
  std::mt19937 generator(47);
  std::uniform_real_distribution<float> magnitude(-300.0f, 300.0f);
  std::uniform_real_distribution<double> difference(-12.0, 12.0);
  const std::size_t count = 40000;
  std::vector<Cell> acc(count);
  std::vector<Cell> src(count);
  for (std::size_t i = 0; i < count; ++i) {
    acc[i] = i % 3 == 0 ? magnitude(generator) / 100.0f : magnitude(generator);
    src[i] = static_cast<Cell>(acc[i] + difference(generator));
  }
  const double x = 0.3125;
  const double y = 0.0625;
  const std::vector<Cell> before = acc;
  this->kernels().addTerms(acc.data(), src.data(), count, x, y);
  for (std::size_t i = 0; i < count; ++i) {
    ASSERT_TRUE(matchesLogAdd(acc[i], logAdd(before[i], (x + src[i]) - y))) << "cell " << i;
  }
}

TYPED_TEST(LogAddRowKernels, AccumulateMatchesLogAddInDouble) {
  using Cell = typename TypeParam::Cell;
  std::vector<Cell> src = randomValues<Cell>(2053, 23, -320.0, 3100.0);
  src.push_back(-std::numeric_limits<Cell>::infinity());
  std::vector<double> acc(src.size());
  std::mt19937 generator(29);
  std::uniform_real_distribution<double> value(-308.0, 3100.0);
  for (double& v : acc) {
    v = value(generator);
  }
  acc[0] = LogZero;
  acc[1] = LogZero;
  src[1] = static_cast<Cell>(-400.0);  // below LogZero, a count all the same
  const std::vector<double> before = acc;
  this->kernels().accumulate(acc.data(), src.data(), src.size());
  for (std::size_t i = 0; i < src.size(); ++i) {
    ASSERT_TRUE(closeTo(acc[i], logAdd(before[i], src[i]))) << "cell " << i;
  }
  EXPECT_EQ(acc[1], -400.0);
}

// 19 rows: two packets of eight or four of four, and rows left over for the plain fold.
TYPED_TEST(LogAddRowKernels, FoldRowsSumsEachRowInColumnOrder) {
  using Cell = typename TypeParam::Cell;
  const std::size_t rowCount = 19;
  const std::size_t columns = 37;
  std::vector<std::vector<Cell>> table;
  std::vector<const Cell*> rows;
  for (std::size_t r = 0; r < rowCount; ++r) {
    table.push_back(randomValues<Cell>(columns, 31 + static_cast<unsigned>(r), -50.0, 400.0));
  }
  for (const auto& row : table) {
    rows.push_back(row.data());
  }
  std::vector<double> shift(columns, -std::numeric_limits<double>::infinity());
  for (std::size_t c = 1; c < columns; ++c) {
    shift[c] = std::log10(static_cast<double>(c) / static_cast<double>(columns));
  }
  const std::vector<double>& shifted = shift;
  for (const double* s : {static_cast<const double*>(nullptr), shifted.data()}) {
    std::vector<double> sums(rowCount, LogZero);
    this->kernels().foldRows(sums.data(), rows.data(), rowCount, columns, s);
    for (std::size_t r = 0; r < rowCount; ++r) {
      double expected = LogZero;
      for (std::size_t c = 0; c < columns; ++c) {
        expected = logAdd(expected, s != nullptr ? s[c] + table[r][c] : table[r][c]);
      }
      ASSERT_TRUE(closeTo(sums[r], expected)) << "row " << r << " shifted " << (s != nullptr);
    }
  }
}

TYPED_TEST(LogAddRowKernels, MaxTermsKeepsTheLargestTerm) {
  using Cell = typename TypeParam::Cell;
  const std::vector<Cell> src = randomValues<Cell>(45, 37, 0.0, 50.0);
  std::vector<Cell> best = randomValues<Cell>(src.size(), 41, 0.0, 60.0);
  std::vector<Cell> expected = best;
  const auto x = static_cast<Cell>(4.5);
  this->kernels().maxTerms(best.data(), src.data(), src.size(), x);
  for (std::size_t i = 0; i < src.size(); ++i) {
    if (src[i] != static_cast<Cell>(LogZero)) {
      expected[i] = std::max(expected[i], static_cast<Cell>(x + src[i]));
    }
    ASSERT_EQ(best[i], expected[i]) << "cell " << i;
  }
}

// The kernels a run uses, for both table precisions: the widest set the processor runs.
template <typename Cell>
class LogAddRowKernelsChoice : public ::testing::Test {};
using CellTypes = ::testing::Types<float, double>;
TYPED_TEST_SUITE(LogAddRowKernelsChoice, CellTypes);

TYPED_TEST(LogAddRowKernelsChoice, PrefersTheWidestAvailable) {
  const BasicLogAddRowKernels<TypeParam>* widest = &portableRowKernels<TypeParam>();
  for (const auto* set : {avx2RowKernels<TypeParam>(), avx512RowKernels<TypeParam>()}) {
    widest = set != nullptr ? set : widest;
  }
  EXPECT_EQ(&rowKernels<TypeParam>(), widest);
}

}  // namespace
}  // namespace brevandor
