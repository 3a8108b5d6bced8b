#pragma once

#include <cstdint>
#include <span>

namespace brevandor {

// The three bit-error-rate bounds at one signal-to-noise ratio, evaluated literally in double
// precision from the weighted spectrum B[0 … D] as given, and the pieces of the improved bound.

// Σ B[d] · Q(√(2γRd)) over the entries B[d] ≠ 0.
double boundUnionQ(std::span<const double> spectrum, std::int32_t maxWeight, double rate,
                   double snr);

// Σ B[d] · exp(−dRγ) over the entries B[d] ≠ 0.
double boundUnionExp(std::span<const double> spectrum, std::int32_t maxWeight, double rate,
                     double snr);

// Σ exp(−n · E(ρ*, d/n, ln B[d] / n, γR)) over the entries B[d] > 0, with n = D.
double boundViterbi(std::span<const double> spectrum, std::int32_t maxWeight, double rate,
                    double snr);

// The unit-variance normal density with mean √(2c) at x.
double gaussianDensity(double x, double c);

// The natural logs of the two integrals of the improved bound's exponent, I1 and I2, and of
// their sum. They depend on ρ and c only, not on the spectrum entry.
struct ViterbiIntegralLogs {
  double sum = 0.0;     // ln(I1 + I2)
  double first = 0.0;   // ln I1
  double second = 0.0;  // ln I2
};

// Integrates I1 and I2 for parameter ρ at c = γR by the 52-point rectangle rule.
ViterbiIntegralLogs viterbiIntegralLogs(double rho, double c);

// The exponent −[(1 − ρ) ln(I1 + I2) + ρ (δ ln I1 + (1 − δ) ln I2 + r)] from its integrals.
double exponentFromIntegrals(double rho, double delta, double r, const ViterbiIntegralLogs& logs);

// The improved bound's exponent for parameter ρ, relative weight δ, log count per symbol r
// and symbol energy c.
double viterbiExponent(double rho, double delta, double r, double c);

// The smallest ρ of 0.05, 0.10, … 1.00 with the largest exponent. The fallback 1.0 (the union
// bound's exponent) stands when nothing beats ρ = 0.05. The grid stops at 1: the bound holds
// only for ρ ≤ 1.
double optimalRho(double delta, double r, double c);

// Grid points of optimalRho: ρ = kRhoStep · i for i = 1 … kRhoGridPoints.
inline constexpr double kRhoStep = 0.05;
inline constexpr std::int32_t kRhoGridPoints = 20;
inline constexpr double kFallbackRho = 1.0;

}  // namespace brevandor
