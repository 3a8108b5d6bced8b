#include "bounds/numerics/incomplete_functions.h"

#include <boost/math/special_functions/beta.hpp>
#include <boost/math/special_functions/erf.hpp>
#include <boost/math/special_functions/gamma.hpp>
#include <boost/math/special_functions/log1p.hpp>
#include <cmath>
#include <limits>
#include <numbers>

namespace brevandor {

namespace {

namespace policies = boost::math::policies;

// Double arithmetic throughout (no promotion to long double), and an underflowing result
// returned as 0 so that the log-domain path can take over.
using Policy = policies::policy<policies::promote_double<false>,
                                policies::underflow_error<policies::ignore_error>,
                                policies::denorm_error<policies::ignore_error>>;

// Below this a value is taken from the log-domain series or continued fraction instead.
constexpr double kSmallestDirect = 1e-290;
constexpr double kTolerance = 1e-16;
constexpr int kMaxTerms = 100000;
constexpr double kTiny = 1e-300;
const double kLogSqrtTwoPi = 0.5 * std::log(2.0 * std::numbers::pi);
constexpr double kInfinity = std::numeric_limits<double>::infinity();

double logGamma(double a) {
  return boost::math::lgamma(a, Policy());
}

// ln(x^a e^−x / Γ(a)), the prefactor of both incomplete gamma functions. Written as
// a (ln(1 + u) − u) + ½ ln(a / 2π) − μ(a) with u = (x − a)/a and μ Stirling's correction, so
// that no two terms of the size a ln a cancel: at a = 15 000 the naive form loses 11 digits.
double logGammaPrefix(double a, double x) {
  if (a < 10.0) {
    return a * std::log(x) - x - logGamma(a);
  }
  const double inverse = 1.0 / a;
  const double square = inverse * inverse;
  const double stirling =
      inverse * (1.0 / 12.0 - square * (1.0 / 360.0 - square * (1.0 / 1260.0 - square / 1680.0)));
  return a * boost::math::log1pmx((x - a) / a, Policy()) +
         0.5 * std::log(a / (2.0 * std::numbers::pi)) - stirling;
}

// ln of the series Σ_k x^k / ((a+1)…(a+k)) of P(a, x) e^x Γ(a+1) / x^a, for x < a + 1.
double logLowerGammaSeries(double a, double x) {
  double term = 1.0;
  double sum = 1.0;
  for (int k = 1; k < kMaxTerms; ++k) {
    term *= x / (a + k);
    sum += term;
    if (term < sum * kTolerance) {
      break;
    }
  }
  return std::log(sum);
}

// The modified Lentz method for a continued fraction 1/(b₀ + a₁/(b₁ + a₂/(b₂ + …))): starts
// from c₀ and b₀, and each step takes the next partial numerator a and denominator b and
// returns the factor by which the convergent changes.
class LentzFraction {
 public:
  LentzFraction(double c, double d) : c_(c), d_(guarded(d)) {}

  double first() const { return 1.0 / d_; }

  double step(double a, double b) {
    d_ = guarded(b + a / d_);
    c_ = guarded(b + a / c_);
    return c_ / d_;
  }

 private:
  static double guarded(double value) { return std::fabs(value) < kTiny ? kTiny : value; }

  double c_;
  double d_;  // the running denominator (the usual statement keeps its reciprocal)
};

// The continued fraction of Q(a, x) e^x Γ(a) / x^a, for x > a.
double upperGammaFraction(double a, double x) {
  double b = x + 1.0 - a;
  LentzFraction lentz(1.0 / kTiny, b);
  double h = lentz.first();
  for (int i = 1; i < kMaxTerms; ++i) {
    b += 2.0;
    const double step = lentz.step(-i * (i - a), b);
    h *= step;
    if (std::fabs(step - 1.0) < kTolerance) {
      break;
    }
  }
  return h;
}

// The continued fraction of I_x(a, b) · a B(a, b) / (x^a (1 − x)^b), for x < (a+1)/(a+b+2).
double betaFraction(double a, double b, double x) {
  LentzFraction lentz(1.0, 1.0 - (a + b) * x / (a + 1.0));
  double h = lentz.first();
  for (int m = 1; m < kMaxTerms; ++m) {
    const double twice = 2.0 * m;
    h *= lentz.step(m * (b - m) * x / ((a - 1.0 + twice) * (a + twice)), 1.0);
    const double step =
        lentz.step(-(a + m) * (a + b + m) * x / ((a + twice) * (a + 1.0 + twice)), 1.0);
    h *= step;
    if (std::fabs(step - 1.0) < kTolerance) {
      break;
    }
  }
  return h;
}

// ln B(a, b), with Γ(a) / Γ(a + b) taken as one ratio so that large a loses nothing.
double logBeta(double a, double b) {
  if (a < b) {
    return logBeta(b, a);
  }
  return std::log(boost::math::tgamma_delta_ratio(a, b, Policy())) + logGamma(b);
}

}  // namespace

double logNormalDensity(double x) {
  return -0.5 * x * x - kLogSqrtTwoPi;
}

double logGaussianTail(double x) {
  const double q = 0.5 * boost::math::erfc(x / std::numbers::sqrt2, Policy());
  if (q >= kSmallestDirect) {
    return std::log(q);
  }
  // Far out in the tail (x > 37): Q(x) = φ(x) / (x + 1/(x + 2/(x + 3/(x + …)))), evaluated
  // from a depth at which the remainder no longer matters.
  double fraction = x;
  for (int k = 40; k >= 1; --k) {
    fraction = x + k / fraction;
  }
  return logNormalDensity(x) - std::log(fraction);
}

double logGammaP(double a, double x) {
  if (x <= 0.0) {
    return -kInfinity;
  }
  const double p = boost::math::gamma_p(a, x, Policy());
  if (p >= kSmallestDirect) {
    return std::log(p);
  }
  return logGammaPrefix(a, x) - std::log(a) + logLowerGammaSeries(a, x);
}

double logGammaQ(double a, double x) {
  if (x <= 0.0) {
    return 0.0;
  }
  const double q = boost::math::gamma_q(a, x, Policy());
  if (q >= kSmallestDirect) {
    return std::log(q);
  }
  return logGammaPrefix(a, x) + std::log(upperGammaFraction(a, x));
}

double logGammaPSlope(double a, double x, double lnP) {
  return std::exp(logGammaPrefix(a, x) - lnP);
}

double logBetaI(double a, double b, double x) {
  if (x <= 0.0) {
    return -kInfinity;
  }
  if (x >= 1.0) {
    return 0.0;
  }
  const double value = boost::math::ibeta(a, b, x, Policy());
  if (value >= kSmallestDirect) {
    return std::log(value);
  }
  return a * std::log(x) + b * std::log1p(-x) - std::log(a) - logBeta(a, b) +
         std::log(betaFraction(a, b, x));
}

}  // namespace brevandor
