#include "logmath/log_domain.h"

#include <algorithm>
#include <cmath>

namespace brevandor {

double log10Binomial(std::int32_t n, std::int32_t k) {
  if (n < k || k == 0 || k == n) {
    return 0.0;
  }
  long double sum = 0.0L;
  for (std::int32_t i = n; i > k; --i) {
    sum += std::log10(static_cast<long double>(i));
  }
  for (std::int32_t i = n - k; i >= 1; --i) {
    sum -= std::log10(static_cast<long double>(i));
  }
  return static_cast<double>(sum);
}

std::vector<double> log10BinomialRow(std::int32_t n) {
  return log10BinomialRow(n, n);
}

std::vector<double> log10BinomialRow(std::int32_t n, std::int32_t lastK) {
  n = std::max(n, 0);
  lastK = std::clamp(lastK, 0, n);
  std::vector<long double> logs(static_cast<std::size_t>(n) + 1);
  for (std::int32_t i = 1; i <= n; ++i) {
    logs[static_cast<std::size_t>(i)] = std::log10(static_cast<long double>(i));
  }
  std::vector<double> row(static_cast<std::size_t>(lastK) + 1, 0.0);
  // The first running sum of log10Binomial(n, k), log10 n + … + log10(k + 1), is a prefix of
  // the one for k − 1: carried from one k to the next, it is formed in the same order.
  long double fromTop = 0.0L;
  for (std::int32_t k = n - 1; k >= 1; --k) {
    fromTop += logs[static_cast<std::size_t>(k) + 1];
    if (k > lastK) {
      continue;
    }
    long double sum = fromTop;
    for (std::int32_t i = n - k; i >= 1; --i) {
      sum -= logs[static_cast<std::size_t>(i)];
    }
    row[static_cast<std::size_t>(k)] = static_cast<double>(sum);
  }
  return row;
}

double logAddShift(double m) {
  static const double threshold = 308.0 - std::log10(2.0);
  if (m < -threshold) {
    // Only where the text's own powers would be subnormal, so that every sum it formed with
    // normal powers stays as it was, bit for bit.
    return -std::ceil(-threshold - m);
  }
  if (m < threshold) {
    return 0.0;
  }
  // Start near the answer instead of counting up from 0, then settle on the smallest s.
  double s = std::floor(m - threshold) + 1.0;
  while (!(m - s < threshold)) {
    s += 1.0;
  }
  while (s > 0.0 && m - (s - 1.0) < threshold) {
    s -= 1.0;
  }
  return s;
}

double logAdd(double a, double b) {
  // A zero count adds nothing: the other argument, however far below LogZero it lies.
  if (a == LogZero) {
    return b;
  }
  if (b == LogZero) {
    return a;
  }
  const double m = a > b ? a : b;
  if (isLogZero(m)) {
    return m;  // both −∞ (a sum of zero weights): no shift leaves it
  }
  const double s = logAddShift(m);
  return std::log10(std::pow(10.0, a - s) + std::pow(10.0, b - s)) + s;
}

double scaleSpectrum(std::span<double> values, std::int32_t maxWeight) {
  const auto count = static_cast<std::size_t>(maxWeight) + 1;
  double largest = values[0];
  for (std::size_t d = 1; d < count; ++d) {
    largest = std::max(largest, values[d]);
  }
  const double exponent = largest > 308.0 ? std::trunc(largest - 308.0) + 1.0 : 0.0;
  for (std::size_t d = 0; d < count; ++d) {
    values[d] = values[d] > LogZero ? std::pow(10.0, values[d] - exponent) : 0.0;
  }
  return exponent;
}

}  // namespace brevandor
