#pragma once

#include <string>

namespace brevandor {

// Significant digits of the decimal texts of counts in the exports.
inline constexpr int kCountTextDigits = 10;

// A count given by its base-10 logarithm, written in scientific notation with `digits`
// significant digits, e.g. (−400.3, 7) → "5.011872e-401". The exponent is taken from the
// logarithm, so the text neither underflows nor overflows whatever the count (a logarithm
// below LogZero included). LogZero and −∞ give "0", a logarithm of 10^15 or more "inf".
std::string decimalFromLog10(double log10Value, int digits);

// A value as the shortest text that reads back to the same number: the shortest round-trip
// form of the double when a double holds the value exactly ("0.1", "3.499290e-03" reads as
// "0.00349929"), else every digit of the extended precision ("1.36000000000000000000e+309").
std::string exactText(long double value);

}  // namespace brevandor
