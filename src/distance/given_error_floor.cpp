#include "distance/given_error_floor.h"

#include <cmath>

#include "logmath/log_sum.h"

namespace brevandor {

namespace {

// ln Q(x) for x ≥ 0: from erfc where extended precision holds it, else from the asymptotic
// series Q(x) = φ(x) / x · (1 − 1/x² + 3/x⁴ − 15/x⁶ + 105/x⁸ …), good to 1e-17 from x = 100.
long double logGaussianTail(long double x) {
  if (x < 100.0L) {
    return std::log(0.5L * std::erfc(x / std::sqrt(2.0L)));
  }
  const long double y = 1.0L / (x * x);
  const long double series = 1.0L - y * (1.0L - y * (3.0L - y * (15.0L - 105.0L * y)));
  return -0.5L * x * x - std::log(x) - 0.5L * std::log(2.0L * 3.14159265358979323846L) +
         std::log(series);
}

}  // namespace

long double logTruncatedUnionEstimate(std::span<const long double> multiplicities, double rate,
                                      double ebn0Ratio) {
  LogSum sum;
  for (std::size_t d = 1; d < multiplicities.size(); ++d) {
    if (multiplicities[d] > 0.0L) {
      const long double x = std::sqrt(2.0L * static_cast<long double>(d) * rate *
                                      static_cast<long double>(ebn0Ratio));
      sum.add(std::log(multiplicities[d]) + logGaussianTail(x));
    }
  }
  return sum.logValue();
}

long double truncatedUnionEstimate(std::span<const long double> multiplicities, double rate,
                                   double ebn0Ratio) {
  long double sum = 0.0L;
  for (std::size_t d = 1; d < multiplicities.size(); ++d) {
    if (multiplicities[d] == 0.0L) {
      continue;
    }
    const long double x =
        std::sqrt(2.0L * static_cast<long double>(d) * rate * static_cast<long double>(ebn0Ratio));
    sum += multiplicities[d] * 0.5L * std::erfc(x / std::sqrt(2.0L));
  }
  return sum;
}

namespace {

// B_d of the search, the multiplicities of the bit error estimate.
std::vector<long double> bitMultiplicities(const GivenSpectrum& spectrum) {
  std::vector<long double> multiplicities(spectrum.codewords.size());
  for (std::size_t d = 0; d < multiplicities.size(); ++d) {
    multiplicities[d] = static_cast<long double>(spectrum.inputWeights[d]) /
                        static_cast<long double>(spectrum.frameLength);
  }
  return multiplicities;
}

// `estimate`(B_d, rate, ratio) at each of the ratios.
template <typename Estimate>
std::vector<long double> bitErrorEstimatesAt(const GivenSpectrum& spectrum, double rate,
                                             std::span<const double> ebn0Ratios,
                                             Estimate estimate) {
  const std::vector<long double> multiplicities = bitMultiplicities(spectrum);
  std::vector<long double> estimates;
  for (const double ratio : ebn0Ratios) {
    estimates.push_back(estimate(multiplicities, rate, ratio));
  }
  return estimates;
}

}  // namespace

std::vector<long double> givenBitErrorEstimates(const GivenSpectrum& spectrum, double rate,
                                                std::span<const double> ebn0Ratios) {
  return bitErrorEstimatesAt(spectrum, rate, ebn0Ratios, truncatedUnionEstimate);
}

std::vector<long double> logGivenBitErrorEstimates(const GivenSpectrum& spectrum, double rate,
                                                   std::span<const double> ebn0Ratios) {
  return bitErrorEstimatesAt(spectrum, rate, ebn0Ratios, logTruncatedUnionEstimate);
}

}  // namespace brevandor
