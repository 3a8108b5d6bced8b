#pragma once

#include <string>

namespace brevandor {

// A number in the results file's "%e" layout. A value that a double holds exactly is written
// with "%e" of that double, byte for byte as the double arithmetic gives it; a value beyond
// the double range (kept in extended precision) is written with "%Le" in the same layout,
// e.g. "1.360000e+309", instead of "inf".
std::string scientificText(long double value);

// 10^log10Value in the same "%e" layout, the digits worked out from the logarithm in extended
// precision, so that a value far beyond the double range either way (e.g. "5.992500e-897")
// keeps its own digits.
std::string scientificTextOfPower(long double log10Value);

// A bound in the same layout: scientificText of its value, or, where the value has left even
// the extended range (0 or denormal for a finite natural log `logValue`), the text of the
// power from its log.
std::string scientificTextOfBound(long double value, long double logValue);

}  // namespace brevandor
