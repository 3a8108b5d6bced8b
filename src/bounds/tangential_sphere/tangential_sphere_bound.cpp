#include "bounds/tangential_sphere/tangential_sphere_bound.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "bounds/numerics/incomplete_functions.h"
#include "bounds/union/union_word_bound.h"
#include "logmath/log_quadrature.h"
#include "logmath/log_sum.h"

namespace brevandor {

namespace {

constexpr double kMinusInfinity = -std::numeric_limits<double>::infinity();
// Trapezoid terms further than this below the largest one are left out (e^−60).
constexpr double kMargin = 60.0;
// The adaptive outer integral covers z₁ from this far below 0, where φ(z₁) < e^−800.
constexpr double kOuterDepth = 40.0;
// Below this length the conditional term is too rough at ρ = 0 for the trapezoid sum.
constexpr std::int32_t kShortestForGrid = 16;

}  // namespace

TangentialSphereBound::TangentialSphereBound(const BoundSpectrum& spectrum, Engine engine)
    : spectrum_(spectrum), engine_(engine), cone_(tangentialSphereCone(spectrum)) {
  if (cone_.bounded() && engine_ == Engine::Fast) {
    fast_ = std::make_unique<ConditionalTermFast>(cone_);
    step_ = 0.2 / std::max(1.0, cone_.radius);
  }
}

TangentialSphereBound::~TangentialSphereBound() = default;

double TangentialSphereBound::logConditional(double rho) const {
  return fast_ ? fast_->logValue(rho) : logConditionalTermReference(cone_, rho);
}

double TangentialSphereBound::logBound(double symbolEnergy) {
  const double logUnion = logUnionBoundQ(spectrum_, symbolEnergy);
  if (!cone_.bounded()) {
    return logUnion;
  }
  const double centre = std::sqrt(2.0 * cone_.blockLength * symbolEnergy);
  const double logTsb = fast_ && cone_.blockLength >= kShortestForGrid ? logBoundOnGrid(centre)
                                                                       : logBoundAdaptive(centre);
  // At high Eb/N0 the two agree to within the integration error; the bound never exceeds the
  // union bound it refines.
  return std::min(logTsb, logUnion);
}

double TangentialSphereBound::logBoundAdaptive(double centre) const {
  const LogFunction integrand = [&](double z1) {
    return logNormalDensity(z1) + logConditional(cone_.radius * (centre - z1));
  };
  // First panels finer near z₁ = 0, where φ keeps the integrand unless H is huge.
  std::vector<double> breakpoints{-kOuterDepth};
  for (const double z : {-10.0, -5.0, -2.0, 0.0, 2.0, 5.0, 10.0, kOuterDepth}) {
    if (z < centre) {
      breakpoints.push_back(z);
    }
  }
  breakpoints.push_back(centre);
  LogSum sum;
  sum.add(logGaussianTail(centre));
  sum.add(logIntegral(integrand, breakpoints, 1e-10));
  return static_cast<double>(sum.logValue());
}

double TangentialSphereBound::logConditionalOnGrid(std::int32_t j) {
  const auto index = static_cast<std::size_t>(j);
  if (index >= gridLogH_.size()) {
    gridLogH_.resize(index + 1, std::numeric_limits<double>::quiet_NaN());
  }
  if (std::isnan(gridLogH_[index])) {
    gridLogH_[index] = logConditional(cone_.radius * step_ * j);
  }
  return gridLogH_[index];
}

// The integrand, extended by 1 for z₁ > √(2nc) (where the Q(√(2nc)) term counts the whole
// conditional probability), is smooth across the junction for n ≥ 16 and falls off on both
// sides, so the trapezoid sum on the whole line converges faster than any power of the step.
double TangentialSphereBound::logBoundOnGrid(double centre) {
  const double logStep = std::log(step_);
  LogSum sum;
  // z₁ beyond √(2nc): the conditional term is 1.
  const double first = logNormalDensity(centre + step_);
  for (std::int32_t m = 1;; ++m) {
    const double term = logNormalDensity(centre + m * step_);
    if (term < first - kMargin) {
      break;
    }
    sum.add(logStep + term);
  }
  // From z₁ ≈ 0 outward: above it (ρ growing) both factors fall; below it φ falls and H is
  // bounded by 1 + ½ P((n − 2)/2, ρ²/2) Σ C[k], which falls with ρ.
  const auto middle = static_cast<std::int32_t>(centre / step_);
  double largest = kMinusInfinity;
  for (std::int32_t j = middle;; ++j) {
    const double term = logStep + logNormalDensity(centre - j * step_) + logConditionalOnGrid(j);
    sum.add(term);
    largest = std::max(largest, term);
    if (term < largest - kMargin) {
      break;
    }
  }
  LogSum cone;
  for (const double logCount : cone_.logCounts) {
    cone.add(logCount);
  }
  const double a2 = 0.5 * (cone_.blockLength - 2.0);
  for (std::int32_t j = middle - 1; j >= 0; --j) {
    const double rho = cone_.radius * step_ * j;
    const double logDensity = logStep + logNormalDensity(centre - j * step_);
    LogSum bound;
    bound.add(0.0);
    bound.add(std::log(0.5) + logGammaP(a2, 0.5 * rho * rho) + cone.logValue());
    if (logDensity + static_cast<double>(bound.logValue()) < largest - kMargin) {
      break;
    }
    const double term = logDensity + logConditionalOnGrid(j);
    sum.add(term);
    largest = std::max(largest, term);
  }
  return static_cast<double>(sum.logValue());
}

}  // namespace brevandor
