#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <string>

#include "enumerators/log_table.h"
#include "logmath/log_domain.h"
#include "support/exhaustive_encoder.h"
#include "support/ulp_distance.h"

namespace brevandor::testing {

// Holds a computed CWEF table, rows 0 … maxWeight, to exact counts [d][w]: LogZero exactly
// where the count is zero, log10 of the count within 4e-6 elsewhere (the counts here stay
// below 2^14, where one count more moves log10 by more than 2.6e-5). No count may lie
// beyond row maxWeight.
inline void expectTableHoldsCounts(const LogTable& table, const CountTable& counts,
                                   std::int32_t maxWeight, std::int32_t frameLength) {
  for (std::size_t d = static_cast<std::size_t>(maxWeight) + 1; d < counts.size(); ++d) {
    for (const double count : counts[d]) {
      ASSERT_EQ(count, 0.0) << "a word of weight " << d;
    }
  }
  for (std::int32_t d = 0; d <= maxWeight; ++d) {
    for (std::int32_t w = 0; w <= frameLength; ++w) {
      const double count = d < static_cast<std::int32_t>(counts.size()) ? counts[d][w] : 0.0;
      const float cell = table.at(d, w);
      if (count == 0.0) {
        ASSERT_EQ(cell, kLogZeroFloat) << "d " << d << " w " << w;
      } else {
        ASSERT_NEAR(cell, std::log10(count), 4e-6) << "d " << d << " w " << w;
      }
    }
  }
}

// Holds one engine's CWEF table to another's, rows 0 … maxWeight: LogZero in the same cells,
// every other cell within two float ulps.
inline void expectSameTable(const LogTable& actual, const LogTable& expected,
                            std::int32_t maxWeight, std::int32_t frameLength,
                            const std::string& which = "") {
  for (std::int32_t d = 0; d <= maxWeight; ++d) {
    for (std::int32_t w = 0; w <= frameLength; ++w) {
      const float wanted = expected.at(d, w);
      const float cell = actual.at(d, w);
      if (wanted == kLogZeroFloat || cell == kLogZeroFloat) {
        ASSERT_EQ(cell, wanted) << which << " d " << d << " w " << w;
      } else {
        ASSERT_LE(ulpDistance(cell, wanted), 2) << which << " d " << d << " w " << w;
      }
    }
  }
}

// The same for double tables: every other cell within 1e-13 relative (a couple of ulps at
// each of the log-adds that made it).
inline void expectSameTable(const LogTableDouble& actual, const LogTableDouble& expected,
                            std::int32_t maxWeight, std::int32_t frameLength,
                            const std::string& which = "") {
  for (std::int32_t d = 0; d <= maxWeight; ++d) {
    for (std::int32_t w = 0; w <= frameLength; ++w) {
      const double wanted = expected.at(d, w);
      const double cell = actual.at(d, w);
      if (wanted == LogZero || cell == LogZero) {
        ASSERT_EQ(cell, wanted) << which << " d " << d << " w " << w;
      } else {
        ASSERT_NEAR(cell, wanted, 1e-13 * std::max(1.0, std::fabs(wanted)))
            << which << " d " << d << " w " << w;
      }
    }
  }
}

}  // namespace brevandor::testing
