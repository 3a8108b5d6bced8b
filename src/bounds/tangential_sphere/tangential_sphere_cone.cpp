#include "bounds/tangential_sphere/tangential_sphere_cone.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>

#include "bounds/numerics/incomplete_functions.h"
#include "logmath/log_sum.h"

namespace brevandor {

namespace {

constexpr double kInfinity = std::numeric_limits<double>::infinity();
constexpr double kRelativeTolerance = 1e-13;
constexpr int kMaxIterations = 200;

double ratioOf(std::int32_t k, std::int32_t n) {
  return std::sqrt(static_cast<double>(k) / (n - k));
}

// The smallest and largest t_k over the positive entries 1 ≤ k < n.
struct RatioRange {
  double smallest = kInfinity;
  double largest = 0.0;
};

// The weights 1 ≤ k < n that the spectrum holds.
std::int32_t lastWeight(const BoundSpectrum& spectrum) {
  return std::min(spectrum.maxWeight, spectrum.blockLength - 1);
}

RatioRange ratioRange(const BoundSpectrum& spectrum) {
  RatioRange range;
  const std::int32_t n = spectrum.blockLength;
  for (std::int32_t k = 1; k <= lastWeight(spectrum); ++k) {
    if (spectrum.positive(k)) {
      range.smallest = std::min(range.smallest, ratioOf(k, n));
      range.largest = std::max(range.largest, ratioOf(k, n));
    }
  }
  return range;
}

}  // namespace

bool TangentialSphereCone::bounded() const {
  return std::isfinite(radius);
}

double logRadiusEquation(const BoundSpectrum& spectrum, double radius) {
  const std::int32_t n = spectrum.blockLength;
  const double a = 0.5 * (n - 2);
  LogSum sum;
  for (std::int32_t k = 1; k <= lastWeight(spectrum); ++k) {
    const double t = ratioOf(k, n);
    if (!spectrum.positive(k) || !(t < radius)) {
      continue;
    }
    const double cosine = t / radius;
    const double sineSquared = (1.0 - cosine) * (1.0 + cosine);
    sum.add(static_cast<double>(spectrum.logTrue[static_cast<std::size_t>(k)]) +
            logBetaI(a, 0.5, sineSquared));
  }
  return static_cast<double>(sum.logValue());
}

TangentialSphereCone tangentialSphereCone(const BoundSpectrum& spectrum) {
  TangentialSphereCone cone;
  cone.blockLength = spectrum.blockLength;
  cone.radius = kInfinity;
  const RatioRange range = ratioRange(spectrum);
  if (spectrum.blockLength < 3 || !std::isfinite(range.smallest)) {
    return cone;
  }
  const double target = std::numbers::ln2;
  const auto excess = [&](double logRadius) {
    return logRadiusEquation(spectrum, std::exp(logRadius)) - target;
  };
  // Bracket: just above the smallest t_k the left side is near 0; far beyond the largest
  // every weight is inside with I ≈ 1, the whole spectrum.
  double low = std::log(range.smallest);
  double lowExcess = -kInfinity;
  double high = low;
  double highExcess = -kInfinity;
  const double limit = std::log(range.largest) + std::log(1e6);
  while (!(highExcess > 0.0)) {
    if (high > limit) {
      return cone;  // the whole spectrum inside the cone sums to 2 or less: no root
    }
    low = high;
    lowExcess = highExcess;
    high += 0.25;
    highExcess = excess(high);
  }
  // Regula falsi (Illinois) on the bracket; bisection while the lower end is still −∞.
  int side = 0;
  for (int i = 0; i < kMaxIterations && high - low > kRelativeTolerance; ++i) {
    const double next = std::isfinite(lowExcess)
                            ? (low * highExcess - high * lowExcess) / (highExcess - lowExcess)
                            : 0.5 * (low + high);
    const double value = excess(next);
    if (value > 0.0) {
      high = next;
      highExcess = value;
      if (side == 1) {
        lowExcess *= 0.5;
      }
      side = 1;
    } else {
      low = next;
      lowExcess = value;
      if (side == -1) {
        highExcess *= 0.5;
      }
      side = -1;
    }
  }
  cone.radius = std::exp(0.5 * (low + high));
  const std::int32_t n = spectrum.blockLength;
  for (std::int32_t k = 1; k <= lastWeight(spectrum); ++k) {
    const double t = ratioOf(k, n);
    if (spectrum.positive(k) && t < cone.radius) {
      cone.weights.push_back(k);
      cone.cosines.push_back(t / cone.radius);
      cone.logCounts.push_back(static_cast<double>(spectrum.logTrue[static_cast<std::size_t>(k)]));
    }
  }
  return cone;
}

}  // namespace brevandor
