#include "simulation/awgn_channel.h"

#include <cmath>
#include <numbers>

namespace brevandor {

double noiseDeviation(double ebn0Db, double rate) {
  const double esn0 = rate * std::pow(10.0, ebn0Db / 10.0);
  return std::sqrt(1.0 / (2.0 * esn0));
}

double GaussianSource::next() {
  if (hasSpare_) {
    hasSpare_ = false;
    return spare_;
  }
  const double radius = std::sqrt(-2.0 * std::log(bits_.openUnit()));
  const double angle = 2.0 * std::numbers::pi * bits_.openUnit();
  spare_ = radius * std::sin(angle);
  hasSpare_ = true;
  return radius * std::cos(angle);
}

void transmitConstituent(const ConstituentFrame& constituent, std::span<const std::int32_t> words,
                         double deviation, GaussianSource& noise, std::vector<double>& llr) {
  const auto n = static_cast<std::size_t>(constituent.outputBits());
  llr.assign(words.size() * n, 0.0);
  const double factor = 2.0 / (deviation * deviation);
  for (std::size_t t = 0; t < words.size(); ++t) {
    const std::uint32_t sent = constituent.sentMask(static_cast<std::int32_t>(t));
    for (std::size_t i = 0; i < n; ++i) {
      if (((sent >> i) & 1u) == 0) {
        continue;  // a punctured bit: the decoder knows nothing of it
      }
      const double symbol = ((words[t] >> i) & 1) != 0 ? -1.0 : 1.0;
      llr[t * n + i] = factor * (symbol + deviation * noise.next());
    }
  }
}

}  // namespace brevandor
