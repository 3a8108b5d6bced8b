#pragma once

#include <cstdint>
#include <limits>
#include <span>
#include <vector>

namespace brevandor {

// The log10-domain value that stands for a count of zero; tested by exact equality. Counts
// below 10^−308 (the last weights of a long frame reach 10^−551 at N = 2000) are held as their
// own logarithms below it.
inline constexpr double LogZero = -308.0;

// Whether a log10-domain value stands for a count of zero: LogZero itself, or −∞ (the log of a
// factor w / N of 0). Every other value, however far below LogZero, is the log of a count.
inline bool isLogZero(double log10Value) {
  return log10Value == LogZero || !(log10Value > -std::numeric_limits<double>::infinity());
}

// log10 of the binomial coefficient C(n, k) as a running sum of logarithms in extended
// precision; 0 when n < k, and exactly 0 for k = 0 and k = n.
double log10Binomial(std::int32_t n, std::int32_t k);

// log10Binomial(n, k) for every k = 0 … n, each equal to it bit for bit: the same sums in
// the same order, the logarithms looked up instead of recomputed (n + 1 of them instead of
// about n² / 2 when the values are wanted for every k).
std::vector<double> log10BinomialRow(std::int32_t n);

// log10Binomial(n, k) for k = 0 … lastK only (lastK ≤ n), bit for bit as above: about
// n · lastK additions, for the few low weights of a long frame.
std::vector<double> log10BinomialRow(std::int32_t n, std::int32_t lastK);

// log10(10^a + 10^b). An argument of exactly LogZero counts as zero (the other argument is
// returned, a count below 10^−308 included). Both arguments are shifted down by a whole power of
// ten when the larger approaches 308, so the sum of the powers cannot overflow a double, and up
// when it falls below −308, so that the powers neither turn subnormal nor vanish.
double logAdd(double a, double b);

// The integer shift that logAdd applies for a larger argument m: the smallest s ≥ 0 with
// m − s below 308 − log10(2); for m below −(308 − log10(2)), the largest s < 0 with m − s at
// or above it.
double logAddShift(double m);

// Turns the log-domain spectrum values[0 … maxWeight] into plain numbers divided by 10^e,
// e being the smallest exponent that lets the largest fit a double (0 when it already
// does). Entries of LogZero or below become 0. Returns e.
double scaleSpectrum(std::span<double> values, std::int32_t maxWeight);

}  // namespace brevandor
