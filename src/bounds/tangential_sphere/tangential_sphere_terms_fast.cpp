#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <numeric>

#include "bounds/numerics/incomplete_functions.h"
#include "bounds/tangential_sphere/tangential_sphere_terms.h"
#include "logmath/log_sum.h"

namespace brevandor {

namespace {

constexpr double kMinusInfinity = -std::numeric_limits<double>::infinity();
// Terms whose upper bound lies this far below the sum so far (e^−46 ≈ 10^−20) are skipped.
constexpr double kNegligible = 46.0;
// Below the table ln P lies this far under the smallest count it could multiply.
constexpr double kTableDepth = 120.0;
const double kLogHalf = std::log(0.5);

// Gauss–Legendre rule of 8 points on [−1, 1] (positive half; the rule is symmetric).
constexpr std::array<double, 4> kNodes = {0.1834346424956498, 0.5255324099163290,
                                          0.7966664774136267, 0.9602898564975363};
constexpr std::array<double, 4> kWeights = {0.3626837833783620, 0.3137066458778873,
                                            0.2223810344533745, 0.1012285362903763};

// ln Q(z) from above: ln ½ for z ≤ 0 … and the Mills ratio bound φ(z)/z beyond.
double logTailBound(double z) {
  return z <= 1.0 ? kLogHalf : std::min(kLogHalf, logNormalDensity(z) - std::log(z));
}

}  // namespace

ConditionalTermFast::ConditionalTermFast(const TangentialSphereCone& cone) : cone_(cone) {
  const double n = cone.blockLength;
  a1_ = 0.5 * (n - 1.0);
  a2_ = 0.5 * (n - 2.0);
  double largest = 0.0;
  for (const double logCount : cone.logCounts) {
    largest = std::max(largest, logCount);
  }
  // From where ln P falls kTableDepth below any count's reach to where P = 1 to double
  // precision, in steps of ln x small against the width 1/√a of P's rise.
  const double centre = std::log(a2_);
  double tLast = centre;
  while (logGammaQ(a2_, std::exp(tLast)) > std::log(1e-17)) {
    tLast += 0.05;
  }
  saturated_ = std::exp(tLast);
  double tFirst = centre;
  while (tFirst > -700.0 && logGammaP(a2_, std::exp(tFirst)) > -(largest + kTableDepth)) {
    tFirst -= 1.0;
  }
  tStep_ = std::min(0.01, 0.06 / std::sqrt(a2_));
  tFirst_ = tFirst;
  const auto points = static_cast<std::size_t>(std::ceil((tLast - tFirst) / tStep_)) + 1;
  logP_.resize(points);
  slope_.resize(points);
  for (std::size_t i = 0; i < points; ++i) {
    const double x = std::exp(tFirst_ + tStep_ * static_cast<double>(i));
    logP_[i] = logGammaP(a2_, x);
    slope_[i] = logGammaPSlope(a2_, x, logP_[i]);
  }
  const std::size_t weights = cone.cosines.size();
  for (std::size_t first = 0; first < weights; first += kConeBlock) {
    const std::size_t last = std::min(weights, first + kConeBlock);
    blockLargest_.push_back(
        *std::max_element(cone.logCounts.begin() + first, cone.logCounts.begin() + last));
  }
}

void ConditionalTermFast::lowerGamma(double x, double& logP, double& slope) const {
  if (x >= saturated_) {
    logP = 0.0;
    slope = 0.0;
    return;
  }
  const double u = (std::log(x) - tFirst_) / tStep_;
  if (!(u >= 0.0)) {
    logP = logGammaP(a2_, x);
    slope = logGammaPSlope(a2_, x, logP);
    return;
  }
  const auto i = std::min(static_cast<std::size_t>(u), logP_.size() - 2);
  const double s = u - static_cast<double>(i);
  const double r = 1.0 - s;
  // Cubic Hermite interpolation from the values and slopes at both ends of the step.
  const double p0 = logP_[i];
  const double p1 = logP_[i + 1];
  const double m0 = slope_[i] * tStep_;
  const double m1 = slope_[i + 1] * tStep_;
  logP =
      (1.0 + 2.0 * s) * r * r * p0 + s * r * r * m0 + s * s * (3.0 - 2.0 * s) * p1 - s * s * r * m1;
  slope = (6.0 * s * (s - 1.0) * (p0 - p1)) / tStep_ + r * (1.0 - 3.0 * s) * slope_[i] +
          s * (3.0 * s - 2.0) * slope_[i + 1];
}

double ConditionalTermFast::logLowerGamma(double x) const {
  double logP = 0.0;
  double slope = 0.0;
  lowerGamma(x, logP, slope);
  return logP;
}

double ConditionalTermFast::logIntegralFrom(double rho, double z) const {
  const double width = rho - z;
  if (!(width > 0.0)) {
    return kMinusInfinity;
  }
  double logP = 0.0;
  double slope = 0.0;
  const double x = 0.5 * width * (rho + z);
  lowerGamma(x, logP, slope);
  const double top = logNormalDensity(z) + logP;
  if (top == kMinusInfinity) {
    return kMinusInfinity;
  }
  // The integrand is log-concave and falls from z at the rate λ at least: panels of 1, 2, 4 …
  // decay lengths cover e^−63 of it, each fine enough for 8 Gauss–Legendre points.
  const double decay = z + z * slope / x;
  const double unit = 1.0 / (decay + 1.0);
  double sum = 0.0;
  double lo = 0.0;
  for (double length = unit; lo < width && lo < 63.0 * unit; length *= 2.0) {
    const double hi = std::min(width, lo + length);
    const double centre = z + 0.5 * (lo + hi);
    const double half = 0.5 * (hi - lo);
    for (std::size_t i = 0; i < kNodes.size(); ++i) {
      for (const double sign : {-1.0, 1.0}) {
        const double t = centre + sign * half * kNodes[i];
        double nodeLogP = 0.0;
        double nodeSlope = 0.0;
        lowerGamma(0.5 * (rho - t) * (rho + t), nodeLogP, nodeSlope);
        sum += kWeights[i] * half * std::exp(logNormalDensity(t) + nodeLogP - top);
      }
    }
    lo = hi;
  }
  return top + std::log(sum);
}

double ConditionalTermFast::logValue(double rho) const {
  LogSum sum;
  sum.add(logGammaQ(a1_, 0.5 * rho * rho));
  const std::vector<double>& cosines = cone_.cosines;
  const std::vector<double>& logCounts = cone_.logCounts;
  const double tableFloorLogP = logP_.front();
  const double tableFloorX = std::exp(tFirst_);
  // The largest ln P at (z, x) for pruning: below the table, the table's first value bounds it.
  const auto logPBound = [&](double x) {
    return x < tableFloorX ? tableFloorLogP : logLowerGamma(x);
  };
  const auto termBound = [&](std::size_t k) {
    const double z = rho * cosines[k];
    const double x = 0.5 * rho * rho * (1.0 - cosines[k]) * (1.0 + cosines[k]);
    return logPBound(x) + logTailBound(z);
  };
  // Each block's bound: its largest count times the pairwise term of its first weight, which
  // has the largest P and the largest Q of the block.
  const std::size_t blocks = blockLargest_.size();
  std::vector<double> blockBound(blocks);
  for (std::size_t b = 0; b < blocks; ++b) {
    blockBound[b] = blockLargest_[b] + termBound(b * kConeBlock);
  }
  std::vector<std::size_t> order(blocks);
  std::iota(order.begin(), order.end(), std::size_t{0});
  std::sort(order.begin(), order.end(),
            [&](std::size_t l, std::size_t r) { return blockBound[l] > blockBound[r]; });
  for (const std::size_t b : order) {
    if (blockBound[b] < static_cast<double>(sum.logValue()) - kNegligible) {
      break;
    }
    const std::size_t last = std::min(cosines.size(), (b + 1) * kConeBlock);
    for (std::size_t k = b * kConeBlock; k < last; ++k) {
      if (logCounts[k] + termBound(k) < static_cast<double>(sum.logValue()) - kNegligible) {
        continue;
      }
      sum.add(logCounts[k] + logIntegralFrom(rho, rho * cosines[k]));
    }
  }
  return static_cast<double>(sum.logValue());
}

}  // namespace brevandor
