#include "bounds/union/bound_formulas.h"

#include <cmath>

#include "bounds/numerics/special_functions.h"

namespace brevandor {

namespace {

// The rectangle rule of the improved bound: 52 points from −7 in steps of 0.42.
constexpr int kIntegrationPoints = 52;
constexpr double kIntegrationStart = -7.0;
constexpr double kIntegrationStep = 0.42;

// Σ B[d] · factor(d) over the entries B[d] ≠ 0, in double precision as the text writes it.
template <typename Factor>
double literalUnionSum(std::span<const double> spectrum, std::int32_t maxWeight, Factor&& factor) {
  double sum = 0.0;
  for (std::int32_t d = 0; d <= maxWeight; ++d) {
    const double b = spectrum[static_cast<std::size_t>(d)];
    if (b != 0.0) {
      sum += b * factor(d);
    }
  }
  return sum;
}

}  // namespace

double boundUnionQ(std::span<const double> spectrum, std::int32_t maxWeight, double rate,
                   double snr) {
  return literalUnionSum(spectrum, maxWeight, [&](std::int32_t d) {
    return gaussianQ(std::sqrt(2.0 * snr * rate * d));
  });
}

double boundUnionExp(std::span<const double> spectrum, std::int32_t maxWeight, double rate,
                     double snr) {
  return literalUnionSum(spectrum, maxWeight,
                         [&](std::int32_t d) { return std::exp(-d * rate * snr); });
}

double boundViterbi(std::span<const double> spectrum, std::int32_t maxWeight, double rate,
                    double snr) {
  const double n = maxWeight;
  const double c = snr * rate;
  double sum = 0.0;
  for (std::int32_t d = 0; d <= maxWeight; ++d) {
    const double b = spectrum[static_cast<std::size_t>(d)];
    if (b > 0.0) {
      const double delta = d / n;
      const double r = std::log(b) / n;
      const double rho = optimalRho(delta, r, c);
      sum += std::exp(-n * viterbiExponent(rho, delta, r, c));
    }
  }
  return sum;
}

double gaussianDensity(double x, double c) {
  const double pi = std::acos(-1.0);
  const double offset = x - std::sqrt(2.0 * c);
  return std::exp(-(offset * offset) / 2.0) / std::sqrt(2.0 * pi);
}

ViterbiIntegralLogs viterbiIntegralLogs(double rho, double c) {
  const double t = 1.0 / (1.0 + rho);
  double first = 0.0;
  double second = 0.0;
  for (int k = 0; k < kIntegrationPoints; ++k) {
    const double x = kIntegrationStart + kIntegrationStep * k;
    const double u = std::pow(gaussianDensity(x, c), t);
    const double v = std::pow(gaussianDensity(-x, c), t);
    const double common = std::pow(u + v, rho - 1.0);
    first += u * v * common;
    second += u * u * common;
  }
  first = kIntegrationStep * first;
  second = kIntegrationStep * second;
  return {std::log(first + second), std::log(first), std::log(second)};
}

double exponentFromIntegrals(double rho, double delta, double r, const ViterbiIntegralLogs& logs) {
  return -((1.0 - rho) * logs.sum + rho * (delta * logs.first + (1.0 - delta) * logs.second + r));
}

double viterbiExponent(double rho, double delta, double r, double c) {
  return exponentFromIntegrals(rho, delta, r, viterbiIntegralLogs(rho, c));
}

double optimalRho(double delta, double r, double c) {
  double best = viterbiExponent(kRhoStep, delta, r, c);
  double bestRho = kFallbackRho;
  for (std::int32_t i = 2; i <= kRhoGridPoints; ++i) {
    const double rho = kRhoStep * i;
    const double exponent = viterbiExponent(rho, delta, r, c);
    if (exponent > best) {
      best = exponent;
      bestRho = rho;
    }
  }
  return bestRho;
}

}  // namespace brevandor
