#pragma once

#include <stdexcept>

namespace brevandor {

// Iteration limit, relative tolerance and smallest admitted magnitude of the incomplete
// gamma routines.
inline constexpr int kGammaMaxIterations = 100;
inline constexpr double kGammaTolerance = 3.0e-7;
inline constexpr double kGammaFloor = 1.0e-30;

// A regularized incomplete gamma value together with ln Γ(a), which the routines compute
// on the way and hand back.
struct GammaResult {
  double value = 0.0;
  double logGammaA = 0.0;
};

// The Gaussian tail probability Q(x) = 0.5 · erfc(x / √2).
double gaussianQ(double x);

// The natural logarithm of gaussianQ(x). Where Q(x) is too small for a normal double, it is
// worked out from the continued fraction in log space, so it stays finite for every x.
double logGaussianQ(double x);

// The complementary error function, through the incomplete gamma functions with a = 1/2.
double ERFC(double x);

// P(a, x), the regularized lower incomplete gamma function.
double GAMMP(double a, double x);

// Q(a, x) = 1 − P(a, x).
double GAMMQ(double a, double x);

// P(a, x) by its power series, for x < a + 1.
GammaResult GSER(double a, double x);

// Q(a, x) by its continued fraction (modified Lentz), for x ≥ a + 1.
GammaResult GCF(double a, double x);

// ln Q(a, x) from the same continued fraction, without leaving log space: finite where
// GCF's value underflows.
double logGCF(double a, double x);

// ln Γ(x) for x > 0 (Lanczos approximation with six coefficients).
double logGamma(double x);

// A numerical failure of the routines above. Its text is the three-line report of the failing
// routine; the calculation run ends with it as a failure, and the program that ran it lives on.
class NumericalError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Throws the NumericalError that reports `message`.
[[noreturn]] void numericalError(const char* message);

}  // namespace brevandor
