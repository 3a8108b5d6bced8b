#include "report/number_text.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>

#include "logmath/log_domain.h"

namespace brevandor {

std::string decimalFromLog10(double log10Value, int digits) {
  if (isLogZero(log10Value) || !std::isfinite(log10Value)) {
    return "0";
  }
  if (log10Value >= 1e15) {
    return "inf";  // no exponent of that size fits the text
  }
  // The mantissa 10^(fraction) lies in [1, 10); rounding to `digits` may carry it to 10,
  // which the printed exponent then absorbs.
  const long double exponent = std::floor(static_cast<long double>(log10Value));
  const long double mantissa = std::pow(10.0L, static_cast<long double>(log10Value) - exponent);
  char text[64];
  std::snprintf(text, sizeof text, "%.*Le", digits - 1, mantissa);
  char* marker = std::strchr(text, 'e');
  const long carried = std::strtol(marker + 1, nullptr, 10);
  const long total = static_cast<long>(exponent) + carried;
  std::snprintf(marker, sizeof text - static_cast<std::size_t>(marker - text), "e%c%02ld",
                total < 0 ? '-' : '+', std::labs(total));
  return text;
}

std::string exactText(long double value) {
  char text[64];
  const auto asDouble = static_cast<double>(value);
  if (std::isfinite(asDouble) && static_cast<long double>(asDouble) == value) {
    const auto written = std::to_chars(text, text + sizeof text, asDouble);
    return std::string(text, written.ptr);
  }
  std::snprintf(text, sizeof text, "%.*Le", std::numeric_limits<long double>::max_digits10 - 1,
                value);
  return text;
}

}  // namespace brevandor
