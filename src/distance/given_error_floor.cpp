#include "distance/given_error_floor.h"

#include <cmath>

namespace brevandor {

long double truncatedUnionEstimate(std::span<const long double> multiplicities, double rate,
                                   double ebn0Ratio) {
  long double sum = 0.0L;
  for (std::size_t d = 1; d < multiplicities.size(); ++d) {
    if (multiplicities[d] == 0.0L) {
      continue;
    }
    const long double x =
        std::sqrt(2.0L * static_cast<long double>(d) * rate * static_cast<long double>(ebn0Ratio));
    sum += multiplicities[d] * 0.5L * std::erfc(x / std::sqrt(2.0L));
  }
  return sum;
}

std::vector<long double> givenBitErrorEstimates(const GivenSpectrum& spectrum, double rate,
                                                std::span<const double> ebn0Ratios) {
  std::vector<long double> multiplicities(spectrum.codewords.size());
  for (std::size_t d = 0; d < multiplicities.size(); ++d) {
    multiplicities[d] = static_cast<long double>(spectrum.inputWeights[d]) /
                        static_cast<long double>(spectrum.frameLength);
  }
  std::vector<long double> estimates;
  for (const double ratio : ebn0Ratios) {
    estimates.push_back(truncatedUnionEstimate(multiplicities, rate, ratio));
  }
  return estimates;
}

}  // namespace brevandor
