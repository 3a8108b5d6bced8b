#include "turbo/log_add_correction.h"

#include <array>
#include <cmath>
#include <tuple>
#include <utility>

namespace brevandor {

namespace {

using Table = LogAddCorrectionTable;
constexpr int kTerms = Table::kDegree + 1;
using Polynomial = std::array<long double, kTerms>;

long double correction(long double delta) {
  return std::log10(1.0L + std::pow(10.0L, -delta));
}

// The polynomial in t that interpolates the correction of interval k at the Chebyshev nodes
// of [−½, ½]: within a small factor of the best fit of its degree, and found by solving a
// small Vandermonde system (well conditioned for so few nodes).
Polynomial fitInterval(int k) {
  constexpr long double kPi = 3.141592653589793238462643383279502884L;
  std::array<std::array<long double, kTerms + 1>, kTerms> system{};
  for (int i = 0; i < kTerms; ++i) {
    const long double t = 0.5L * std::cos(kPi * (2 * i + 1) / (2 * kTerms));
    long double power = 1.0L;
    for (int j = 0; j < kTerms; ++j) {
      system[i][j] = power;
      power *= t;
    }
    system[i][kTerms] = correction((k + t) / Table::kIntervalsPerUnit);
  }
  // Gauss–Jordan elimination with partial pivoting.
  for (int col = 0; col < kTerms; ++col) {
    int pivot = col;
    for (int row = col + 1; row < kTerms; ++row) {
      if (std::fabs(system[row][col]) > std::fabs(system[pivot][col])) {
        pivot = row;
      }
    }
    std::swap(system[col], system[pivot]);
    for (int row = 0; row < kTerms; ++row) {
      if (row == col) {
        continue;
      }
      const long double factor = system[row][col] / system[col][col];
      for (int j = col; j <= kTerms; ++j) {
        system[row][j] -= factor * system[col][j];
      }
    }
  }
  Polynomial coefficients{};
  for (int j = 0; j < kTerms; ++j) {
    coefficients[j] = system[j][kTerms] / system[j][j];
  }
  return coefficients;
}

// A value as a float pair hi + lo.
std::pair<float, float> split(long double value) {
  const auto hi = static_cast<float>(value);
  return {hi, static_cast<float>(value - static_cast<long double>(hi))};
}

Table fitTable() {
  Table table{};
  for (int k = 0; k < Table::kIntervals; ++k) {
    const Polynomial p = fitInterval(k);
    std::tie(table.c0Hi[k], table.c0Lo[k]) = split(p[0]);
    std::tie(table.c1Hi[k], table.c1Lo[k]) = split(p[1]);
    for (int j = 2; j < kTerms; ++j) {
      table.higher[j - 2][k] = static_cast<float>(p[static_cast<std::size_t>(j)]);
    }
  }
  return table;
}

}  // namespace

const LogAddCorrectionTable& logAddCorrectionTable() {
  static const Table table = fitTable();
  return table;
}

}  // namespace brevandor
