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

}  // namespace brevandor
