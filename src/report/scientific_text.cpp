#include "report/scientific_text.h"

#include <cmath>
#include <cstdio>

namespace brevandor {

std::string scientificText(long double value) {
  char text[64];
  const auto asDouble = static_cast<double>(value);
  if (std::isfinite(asDouble) && static_cast<long double>(asDouble) == value) {
    std::snprintf(text, sizeof text, "%e", asDouble);
  } else {
    std::snprintf(text, sizeof text, "%Le", value);
  }
  return text;
}

std::string scientificTextOfPower(long double log10Value) {
  long double exponent = std::floor(log10Value);
  char mantissa[32];
  std::snprintf(mantissa, sizeof mantissa, "%.6Lf", std::pow(10.0L, log10Value - exponent));
  // A mantissa that rounds up to ten carries into the exponent, as "%e" does.
  if (mantissa[0] == '1' && mantissa[1] == '0') {
    exponent += 1.0L;
    std::snprintf(mantissa, sizeof mantissa, "%.6Lf", std::pow(10.0L, log10Value - exponent));
  }
  const auto power = static_cast<long long>(exponent);
  char text[64];
  std::snprintf(text, sizeof text, "%se%c%02lld", mantissa, power < 0 ? '-' : '+',
                power < 0 ? -power : power);
  return text;
}

std::string scientificTextOfBound(long double value, long double logValue) {
  if (std::fpclassify(value) == FP_NORMAL || !std::isfinite(logValue)) {
    return scientificText(value);
  }
  return scientificTextOfPower(logValue / std::log(10.0L));
}

}  // namespace brevandor
