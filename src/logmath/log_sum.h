#pragma once

#include <cmath>
#include <limits>

namespace brevandor {

// A sum of positive terms given by their natural logs, kept as ln of its largest term and
// the sum relative to it, so that no term overflows or underflows before it is added.
class LogSum {
 public:
  // Adds the term e^logTerm.
  void add(long double logTerm) {
    if (logTerm == -std::numeric_limits<long double>::infinity()) {
      return;
    }
    if (logTerm > largest_) {
      relative_ = relative_ * std::exp(largest_ - logTerm) + 1.0L;
      largest_ = logTerm;
    } else {
      relative_ += std::exp(logTerm - largest_);
    }
  }

  // ln of the sum; −∞ for an empty sum.
  long double logValue() const {
    return relative_ == 0.0L ? largest_ : largest_ + std::log(relative_);
  }

  // The sum in extended precision.
  long double value() const { return relative_ == 0.0L ? 0.0L : std::exp(logValue()); }

  // The sum, or the largest extended-precision value where the sum lies beyond even that
  // (a bound of a long frame at low Eb/N0, far above 1, where it says nothing): never inf.
  long double clippedValue() const {
    return std::fmin(value(), std::numeric_limits<long double>::max());
  }

 private:
  long double largest_ = -std::numeric_limits<long double>::infinity();
  long double relative_ = 0.0L;
};

}  // namespace brevandor
