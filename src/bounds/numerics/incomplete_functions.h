#pragma once

namespace brevandor {

// Natural logarithms of the Gaussian tail and of the regularized incomplete gamma and beta
// functions, for the bounds that integrate over the noise of whole codewords. Their parameters
// reach n/2 for blocks of n bits (about 15 000), and their values drop far below the smallest
// double (10^−3000 and less), so each returns the logarithm and stays accurate to a few units
// in the last place of a double throughout: the values come from Boost.Math (uniform
// asymptotic expansions at large parameters) wherever they are normal doubles, and from a
// series or a continued fraction worked in the log domain where they would underflow.

// ln φ(x), the log of the standard normal density.
double logNormalDensity(double x);

// ln Q(x), Q(x) = P(Z > x) for a standard normal Z; finite for every finite x.
double logGaussianTail(double x);

// ln P(a, x) = ln γ(a, x) / Γ(a), a > 0, x ≥ 0 (−∞ at x = 0).
double logGammaP(double a, double x);

// ln Q(a, x) = ln Γ(a, x) / Γ(a), a > 0, x ≥ 0 (0 at x = 0).
double logGammaQ(double a, double x);

// d ln P(a, x) / d ln x = x^a e^−x / (Γ(a) P(a, x)), from lnP = logGammaP(a, x).
double logGammaPSlope(double a, double x, double lnP);

// ln I_x(a, b), the regularized incomplete beta function, a, b > 0, 0 ≤ x ≤ 1.
double logBetaI(double a, double b, double x);

}  // namespace brevandor
