#include "logmath/log_quadrature.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <vector>

#include "logmath/log_sum.h"

namespace brevandor {

namespace {

constexpr double kMinusInfinity = -std::numeric_limits<double>::infinity();
constexpr int kMaxPanels = 4000;

// Abscissae and weights of the 15-point Kronrod rule on [−1, 1] (positive half, centre last)
// and of the 7-point Gauss rule embedded in it (at the odd-numbered abscissae).
constexpr std::array<double, 8> kKronrodNodes = {
    0.991455371120812639206854697526329, 0.949107912342758524526189684047851,
    0.864864423359769072789712788640926, 0.741531185599394439863864773280788,
    0.586087235467691130294144845693013, 0.405845151377397166906606412076961,
    0.207784955007898467600689403773245, 0.0};
constexpr std::array<double, 8> kKronrodWeights = {
    0.022935322010529224963732008058970, 0.063092092629978553290700663189204,
    0.104790010322250183839876322541518, 0.140653259715525918745189590510238,
    0.169004726639267902826583426598550, 0.190350578064785409913256402421014,
    0.204432940075298892414161999234649, 0.209482141084727828012999174891714};
constexpr std::array<double, 4> kGaussWeights = {
    0.129484966168869693270611432679082, 0.279705391489276667901467771423780,
    0.381830050505118944950369775488975, 0.417959183673469387755102040816327};

struct Panel {
  double lo = 0.0;
  double hi = 0.0;
  double logValue = kMinusInfinity;  // ln of the Kronrod estimate
  double logError = kMinusInfinity;  // ln of |Kronrod − Gauss|

  bool operator<(const Panel& other) const { return logError < other.logError; }
};

Panel evaluatePanel(const LogFunction& f, double lo, double hi) {
  const double centre = 0.5 * (lo + hi);
  const double half = 0.5 * (hi - lo);
  std::array<double, 15> values{};
  for (std::size_t i = 0; i < 7; ++i) {
    values[2 * i] = f(centre - half * kKronrodNodes[i]);
    values[2 * i + 1] = f(centre + half * kKronrodNodes[i]);
  }
  values[14] = f(centre);
  const double largest = *std::max_element(values.begin(), values.end());
  Panel panel{lo, hi};
  if (largest == kMinusInfinity || !(half > 0.0)) {
    return panel;
  }
  double kronrod = 0.0;
  double gauss = 0.0;
  for (std::size_t i = 0; i < 8; ++i) {
    const double pair =
        i == 7 ? std::exp(values[14] - largest)
               : std::exp(values[2 * i] - largest) + std::exp(values[2 * i + 1] - largest);
    kronrod += kKronrodWeights[i] * pair;
    if (i % 2 == 1) {
      gauss += kGaussWeights[i / 2] * pair;
    }
  }
  panel.logValue = largest + std::log(half * kronrod);
  const double error = std::fabs(kronrod - gauss) * half;
  panel.logError = error > 0.0 ? largest + std::log(error) : kMinusInfinity;
  return panel;
}

}  // namespace

double logIntegral(const LogFunction& f, double lo, double hi, double relativeTolerance,
                   int initialPanels) {
  if (!(hi > lo)) {
    return kMinusInfinity;
  }
  const int count = std::max(initialPanels, 1);
  std::vector<double> breakpoints;
  for (int i = 0; i < count; ++i) {
    breakpoints.push_back(lo + (hi - lo) * i / count);
  }
  breakpoints.push_back(hi);
  return logIntegral(f, breakpoints, relativeTolerance);
}

double logIntegral(const LogFunction& f, const std::vector<double>& breakpoints,
                   double relativeTolerance) {
  // Panels in a heap by error; the totals are kept as sums relative to e^reference and
  // adjusted as panels are halved, and formed afresh now and then against drift.
  std::vector<Panel> panels;
  for (std::size_t i = 1; i < breakpoints.size(); ++i) {
    if (breakpoints[i] > breakpoints[i - 1]) {
      panels.push_back(evaluatePanel(f, breakpoints[i - 1], breakpoints[i]));
    }
  }
  double reference = kMinusInfinity;
  for (const Panel& panel : panels) {
    reference = std::max(reference, panel.logValue);
  }
  if (reference == kMinusInfinity) {
    return kMinusInfinity;
  }
  long double value = 0.0L;
  long double error = 0.0L;
  const auto relative = [&](double logTerm) {
    return std::exp(static_cast<long double>(logTerm) - reference);
  };
  const auto recount = [&] {
    value = 0.0L;
    error = 0.0L;
    for (const Panel& panel : panels) {
      value += relative(panel.logValue);
      error += relative(panel.logError);
    }
  };
  recount();
  std::make_heap(panels.begin(), panels.end());
  for (int round = 1; static_cast<int>(panels.size()) < kMaxPanels; ++round) {
    if (error <= relativeTolerance * value) {
      break;
    }
    std::pop_heap(panels.begin(), panels.end());
    const Panel halved = panels.back();
    const double middle = 0.5 * (halved.lo + halved.hi);
    if (!(middle > halved.lo && middle < halved.hi)) {
      break;  // cannot be halved further: accept what there is
    }
    const Panel left = evaluatePanel(f, halved.lo, middle);
    const Panel right = evaluatePanel(f, middle, halved.hi);
    panels.back() = left;
    std::push_heap(panels.begin(), panels.end());
    panels.push_back(right);
    std::push_heap(panels.begin(), panels.end());
    const double largest = std::max(left.logValue, right.logValue);
    if (largest > reference + 64.0 || round % 64 == 0) {
      reference = std::max(reference, largest);
      recount();
    } else {
      value += relative(left.logValue) + relative(right.logValue) - relative(halved.logValue);
      error += relative(left.logError) + relative(right.logError) - relative(halved.logError);
    }
  }
  LogSum sum;
  for (const Panel& panel : panels) {
    sum.add(panel.logValue);
  }
  return static_cast<double>(sum.logValue());
}

LogConcaveSpan logConcaveSpan(const LogFunction& f, double start, double lo, double hi,
                              double scale, double margin) {
  start = std::clamp(start, lo, hi);
  // Climb to within one step of the peak; the estimate only places the span, whose margin
  // covers the difference.
  double peak = start;
  double peakValue = f(start);
  for (const double direction : {1.0, -1.0}) {
    bool moved = false;
    for (double step = scale;; step *= 2.0) {
      const double x = std::clamp(peak + direction * step, lo, hi);
      if (x == peak) {
        break;
      }
      const double value = f(x);
      if (!(value > peakValue)) {
        break;
      }
      peak = x;
      peakValue = value;
      moved = true;
    }
    if (moved) {
      break;
    }
  }
  LogConcaveSpan span{lo, hi, peak, peakValue};
  if (peakValue == kMinusInfinity) {
    span.lo = span.hi = peak;
    return span;
  }
  const double floor = peakValue - margin;
  for (const double direction : {-1.0, 1.0}) {
    double edge = direction < 0 ? lo : hi;
    for (double step = scale;; step *= 2.0) {
      const double x = peak + direction * step;
      if ((direction < 0 && x <= lo) || (direction > 0 && x >= hi)) {
        break;
      }
      if (f(x) < floor) {
        edge = x;
        break;
      }
    }
    (direction < 0 ? span.lo : span.hi) = edge;
  }
  return span;
}

double logConcaveIntegral(const LogFunction& f, double start, double lo, double hi, double scale,
                          double margin, double relativeTolerance) {
  const LogConcaveSpan span = logConcaveSpan(f, start, lo, hi, scale, margin);
  if (span.peakValue == kMinusInfinity) {
    return kMinusInfinity;
  }
  return logIntegral(f, span.lo, span.hi, relativeTolerance, 8);
}

}  // namespace brevandor
