#pragma once

#include <functional>
#include <vector>

namespace brevandor {

// A function given by the natural log of its value, as the bounds' integrands are: their
// values span thousands of orders of magnitude.
using LogFunction = std::function<double(double)>;

// ln ∫ e^f(x) dx over [lo, hi] by adaptive Gauss–Kronrod (7, 15). Each panel's sum is taken
// relative to the panel's largest value, so nothing over- or underflows; the panel with the
// largest error estimate is halved until all the estimates together are below
// `relativeTolerance` of the whole. −∞ when the integrand is zero throughout.
double logIntegral(const LogFunction& f, double lo, double hi, double relativeTolerance = 1e-10,
                   int initialPanels = 4);

// The same with the first panels between consecutive `breakpoints` (ascending).
double logIntegral(const LogFunction& f, const std::vector<double>& breakpoints,
                   double relativeTolerance = 1e-10);

// Where a log-concave function is within `margin` of its largest value on [lo, hi].
struct LogConcaveSpan {
  double lo = 0.0;
  double hi = 0.0;
  double peak = 0.0;       // where the largest value is
  double peakValue = 0.0;  // f(peak)
};

// Finds the span of f from `start` (within [lo, hi], hi may be +∞), moving in steps that begin
// at `scale` and double: first uphill to within a step of the peak, then on each side to the
// first point more than `margin` below the highest value seen (or the end of the interval).
LogConcaveSpan logConcaveSpan(const LogFunction& f, double start, double lo, double hi,
                              double scale, double margin);

// ln ∫ e^f over [lo, hi] for a log-concave f: the integral over its span, the parts beyond
// being below e^−margin of the peak value.
double logConcaveIntegral(const LogFunction& f, double start, double lo, double hi, double scale,
                          double margin = 60.0, double relativeTolerance = 1e-10);

}  // namespace brevandor
