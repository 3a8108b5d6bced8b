#pragma once

#include <gtest/gtest.h>

#include <map>
#include <vector>

namespace brevandor::testing {

// Compares plain-number spectra entry by entry: zero exactly where the expectation is zero,
// otherwise within a relative error of 2e-5, what single-precision tables allow.
inline void expectSpectrum(const std::vector<double>& actual, const std::vector<double>& expected,
                           const char* which) {
  ASSERT_EQ(actual.size(), expected.size()) << which;
  for (std::size_t d = 0; d < actual.size(); ++d) {
    if (expected[d] == 0.0) {
      EXPECT_EQ(actual[d], 0.0) << which << " weight " << d;
    } else {
      EXPECT_NEAR(actual[d], expected[d], 2e-5 * expected[d]) << which << " weight " << d;
    }
  }
}

// A spectrum of `size` entries, zero but for the given weights.
inline std::vector<double> sparseSpectrum(std::size_t size, const std::map<int, double>& entries) {
  std::vector<double> values(size, 0.0);
  for (const auto& [weight, value] : entries) {
    values.at(static_cast<std::size_t>(weight)) = value;
  }
  return values;
}

}  // namespace brevandor::testing
