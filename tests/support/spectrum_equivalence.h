#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "logmath/log_domain.h"

namespace brevandor::testing {

// Holds a log10-domain spectrum of the fast engine to the reference's: LogZero exactly where
// the reference has it, every other entry within 1e-12 relative (1e-12 absolute below
// magnitude 1, where logAdd's own round trip through pow is no more precise).
inline void expectSameLogSpectrum(const std::vector<double>& fast,
                                  const std::vector<double>& reference, const std::string& which) {
  ASSERT_EQ(fast.size(), reference.size()) << which;
  for (std::size_t d = 0; d < reference.size(); ++d) {
    if (reference[d] == LogZero || fast[d] == LogZero) {
      ASSERT_EQ(fast[d], reference[d]) << which << " weight " << d;
    } else {
      ASSERT_NEAR(fast[d], reference[d], 1e-12 * std::max(1.0, std::fabs(reference[d])))
          << which << " weight " << d;
    }
  }
}

}  // namespace brevandor::testing
