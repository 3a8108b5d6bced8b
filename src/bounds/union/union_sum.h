#pragma once

#include <cstdint>

#include "bounds/bound_spectrum.h"
#include "logmath/log_sum.h"

namespace brevandor {

// The one sum behind every union-type bound: Σ e^logTerm(d) over the weights d = first … D
// whose entry C[d] is positive and that `counts`(d) admits, added in increasing d.
template <typename LogTerm, typename Counts>
LogSum unionTermSum(const BoundSpectrum& spectrum, std::int32_t first, LogTerm&& logTerm,
                    Counts&& counts) {
  LogSum sum;
  for (std::int32_t d = first; d <= spectrum.maxWeight; ++d) {
    if (spectrum.positive(d) && counts(d)) {
      sum.add(logTerm(d));
    }
  }
  return sum;
}

// The same over every positive entry from d = first.
template <typename LogTerm>
LogSum unionTermSum(const BoundSpectrum& spectrum, std::int32_t first, LogTerm&& logTerm) {
  return unionTermSum(spectrum, first, logTerm, [](std::int32_t) { return true; });
}

}  // namespace brevandor
