#include "logmath/log_add_correction.h"

#include <cmath>
#include <tuple>
#include <utility>
#include <vector>

namespace brevandor {

namespace {

using Polynomial = std::vector<long double>;

long double correction(long double delta) {
  return std::log10(1.0L + std::pow(10.0L, -delta));
}

// The polynomial of `degree` in t that interpolates the correction at δ = (k + t) /
// perUnit in the Chebyshev nodes of [−½, ½]: within a small factor of the best fit of its
// degree, and found by solving a small Vandermonde system (well conditioned at this size).
Polynomial fitInterval(int k, double perUnit, int degree) {
  constexpr long double kPi = 3.141592653589793238462643383279502884L;
  const auto terms = static_cast<std::size_t>(degree) + 1;
  std::vector<std::vector<long double>> system(terms, std::vector<long double>(terms + 1));
  for (std::size_t i = 0; i < terms; ++i) {
    const long double t = 0.5L * std::cos(kPi * static_cast<long double>(2 * i + 1) /
                                          static_cast<long double>(2 * terms));
    long double power = 1.0L;
    for (std::size_t j = 0; j < terms; ++j) {
      system[i][j] = power;
      power *= t;
    }
    system[i][terms] = correction((k + t) / perUnit);
  }
  // Gauss–Jordan elimination with partial pivoting.
  for (std::size_t col = 0; col < terms; ++col) {
    std::size_t pivot = col;
    for (std::size_t row = col + 1; row < terms; ++row) {
      if (std::fabs(system[row][col]) > std::fabs(system[pivot][col])) {
        pivot = row;
      }
    }
    std::swap(system[col], system[pivot]);
    for (std::size_t row = 0; row < terms; ++row) {
      if (row == col) {
        continue;
      }
      const long double factor = system[row][col] / system[col][col];
      for (std::size_t j = col; j <= terms; ++j) {
        system[row][j] -= factor * system[col][j];
      }
    }
  }
  Polynomial coefficients(terms);
  for (std::size_t j = 0; j < terms; ++j) {
    coefficients[j] = system[j][terms] / system[j][j];
  }
  return coefficients;
}

// A value as a float pair hi + lo.
std::pair<float, float> split(long double value) {
  const auto hi = static_cast<float>(value);
  return {hi, static_cast<float>(value - static_cast<long double>(hi))};
}

LogAddCorrectionTable fitFloatTable() {
  using Table = LogAddCorrectionTable;
  Table table{};
  for (int k = 0; k < Table::kIntervals; ++k) {
    const Polynomial p = fitInterval(k, Table::kIntervalsPerUnit, Table::kDegree);
    std::tie(table.c0Hi[k], table.c0Lo[k]) = split(p[0]);
    std::tie(table.c1Hi[k], table.c1Lo[k]) = split(p[1]);
    for (int j = 2; j <= Table::kDegree; ++j) {
      table.higher[j - 2][k] = static_cast<float>(p[static_cast<std::size_t>(j)]);
    }
  }
  return table;
}

// A table of double coefficients (LogAddCorrectionDoubleTable, LogAddCorrectionFineTable).
template <typename Table>
Table fitDoubleTable() {
  Table table{};
  for (int k = 0; k < Table::kIntervals; ++k) {
    const Polynomial p = fitInterval(k, Table::kIntervalsPerUnit, Table::kDegree);
    for (int j = 0; j <= Table::kDegree; ++j) {
      table.c[j][k] = static_cast<double>(p[static_cast<std::size_t>(j)]);
    }
  }
  return table;
}

}  // namespace

const LogAddCorrectionTable& logAddCorrectionTable() {
  static const LogAddCorrectionTable table = fitFloatTable();
  return table;
}

const LogAddCorrectionDoubleTable& logAddCorrectionDoubleTable() {
  static const auto table = fitDoubleTable<LogAddCorrectionDoubleTable>();
  return table;
}

const LogAddCorrectionFineTable& logAddCorrectionFineTable() {
  static const auto table = fitDoubleTable<LogAddCorrectionFineTable>();
  return table;
}

}  // namespace brevandor
