#include "bounds/numerics/special_functions.h"

#include <cfloat>
#include <cmath>
#include <string>

namespace brevandor {

namespace {

// The value of the continued fraction of Q(a, x) by the modified Lentz method, without the
// prefactor exp(−x + a ln x − ln Γ(a)).
double lentzFraction(double a, double x) {
  double b = x + 1.0 - a;
  double c = 1.0 / kGammaFloor;
  double d = 1.0 / b;
  double h = d;
  int i = 1;
  for (; i <= kGammaMaxIterations; ++i) {
    const double an = -i * (i - a);
    b += 2.0;
    d = an * d + b;
    if (std::fabs(d) < kGammaFloor) {
      d = kGammaFloor;
    }
    c = b + an / c;
    if (std::fabs(c) < kGammaFloor) {
      c = kGammaFloor;
    }
    d = 1.0 / d;
    const double del = d * c;
    h *= del;
    if (std::fabs(del - 1.0) < kGammaTolerance) {
      break;
    }
  }
  if (i > kGammaMaxIterations) {
    numericalError("a too large, ITMAX too small in routine GCF");
  }
  return h;
}

}  // namespace

double gaussianQ(double x) {
  return 0.5 * ERFC(x / std::sqrt(2.0));
}

double logGaussianQ(double x) {
  const double q = gaussianQ(x);
  if (q >= DBL_MIN) {
    return std::log(q);
  }
  // Only large positive x get here, where ERFC takes the continued fraction with a = 1/2.
  const double y = x / std::sqrt(2.0);
  return std::log(0.5) + logGCF(0.5, y * y);
}

double ERFC(double x) {
  if (!(x * x >= 0.0)) {
    numericalError("Invalid arguments in routine ERFC");
  }
  return x < 0.0 ? 1.0 + GAMMP(0.5, x * x) : GAMMQ(0.5, x * x);
}

double GAMMP(double a, double x) {
  if (x < 0.0 || a <= 0.0) {
    numericalError("Invalid arguments in routine GAMMP");
  }
  return x < a + 1.0 ? GSER(a, x).value : 1.0 - GCF(a, x).value;
}

double GAMMQ(double a, double x) {
  if (x < 0.0 || a <= 0.0) {
    numericalError("Invalid arguments in routine GAMMQ");
  }
  return x < a + 1.0 ? 1.0 - GSER(a, x).value : GCF(a, x).value;
}

GammaResult GSER(double a, double x) {
  const double gln = logGamma(a);
  if (x <= 0.0) {
    if (x < 0.0) {
      numericalError("x less than 0 in routine GSER");
    }
    return {0.0, gln};
  }
  double ap = a;
  double del = 1.0 / a;
  double sum = del;
  for (int n = 1; n <= kGammaMaxIterations; ++n) {
    ap += 1.0;
    del = del * x / ap;
    sum += del;
    if (std::fabs(del) < std::fabs(sum) * kGammaTolerance) {
      return {sum * std::exp(-x + a * std::log(x) - gln), gln};
    }
  }
  numericalError("a too large, ITMAX too small in routine GSER");
}

GammaResult GCF(double a, double x) {
  const double gln = logGamma(a);
  const double h = lentzFraction(a, x);
  return {std::exp(-x + a * std::log(x) - gln) * h, gln};
}

double logGCF(double a, double x) {
  const double gln = logGamma(a);
  const double h = lentzFraction(a, x);
  return -x + a * std::log(x) - gln + std::log(h);
}

double logGamma(double x) {
  static constexpr double kCoefficients[6] = {76.18009172947146,     -86.50532032941677,
                                              24.01409824083091,     -1.231739572450155,
                                              0.1208650973866179e-2, -0.5395239384953e-5};
  double y = x;
  double tmp = x + 5.5;
  tmp -= (x + 0.5) * std::log(tmp);
  double ser = 1.000000000190015;
  for (const double coefficient : kCoefficients) {
    y += 1.0;
    ser += coefficient / y;
  }
  return -tmp + std::log(2.5066282746310005 * ser / x);
}

void numericalError(const char* message) {
  throw NumericalError(std::string("Numerical Recipes run-time error...\n") + message +
                       "\n...now exiting to system...");
}

}  // namespace brevandor
