#include "bounds/bound_spectrum.h"

#include <cmath>
#include <limits>

#include "logmath/log_domain.h"

namespace brevandor {

namespace {

constexpr long double kLn10 = 2.302585092994045684017991454684364208L;
constexpr long double kLogOfZero = -std::numeric_limits<long double>::infinity();

}  // namespace

bool BoundSpectrum::positive(std::int32_t d) const {
  return logTrue[static_cast<std::size_t>(d)] != kLogOfZero;
}

double BoundSpectrum::logPerSymbol(std::int32_t d) const {
  const double n = blockLength;
  const auto index = static_cast<std::size_t>(d);
  if (literal()) {
    return std::log(scaled[index]) / n;
  }
  return static_cast<double>(logTrue[index] / static_cast<long double>(n));
}

BoundSpectrum boundSpectrumFromScaled(std::span<const double> scaled, std::int32_t maxWeight,
                                      double scale) {
  BoundSpectrum spectrum;
  spectrum.maxWeight = maxWeight;
  spectrum.blockLength = maxWeight;
  spectrum.scale = scale;
  const auto count = static_cast<std::size_t>(maxWeight) + 1;
  spectrum.scaled.assign(scaled.begin(), scaled.begin() + static_cast<std::ptrdiff_t>(count));
  spectrum.logTrue.resize(count);
  for (std::size_t d = 0; d < count; ++d) {
    const double b = spectrum.scaled[d];
    spectrum.logTrue[d] =
        b > 0.0 ? std::log(static_cast<long double>(b)) + static_cast<long double>(scale) * kLn10
                : kLogOfZero;
  }
  return spectrum;
}

BoundSpectrum boundSpectrumFromLog10(std::span<const double> log10Values, std::int32_t maxWeight) {
  BoundSpectrum spectrum;
  spectrum.maxWeight = maxWeight;
  spectrum.blockLength = maxWeight;
  const auto count = static_cast<std::size_t>(maxWeight) + 1;
  spectrum.scaled.assign(log10Values.begin(),
                         log10Values.begin() + static_cast<std::ptrdiff_t>(count));
  spectrum.scale = scaleSpectrum(spectrum.scaled, maxWeight);
  spectrum.logTrue.resize(count);
  for (std::size_t d = 0; d < count; ++d) {
    const double v = log10Values[d];
    spectrum.logTrue[d] = isLogZero(v) ? kLogOfZero : static_cast<long double>(v) * kLn10;
  }
  return spectrum;
}

}  // namespace brevandor
