#include "simulation/awgn_channel.h"

#include <array>
#include <bit>
#include <cmath>
#include <numbers>

namespace brevandor {

double noiseDeviation(double ebn0Db, double rate) {
  const double esn0 = rate * std::pow(10.0, ebn0Db / 10.0);
  return std::sqrt(1.0 / (2.0 * esn0));
}

// The ziggurat of f(x) = e^(−x²/2) over x ≥ 0: 256 layers of equal area v. Layer 0 is the
// rectangle [0, R] × [0, f(R)] with the tail beyond R, given the width v / f(R) that makes
// its area v; layer i ≥ 1 is the rectangle [0, x_i] × [f(x_i), f(x_{i+1})], where
// x_1 = R, f(x_{i+1}) = f(x_i) + v / x_i and x_256 = 0. R is the start of the tail for which
// the 256 layers exactly fill the area under f.
struct GaussianTables {
  static constexpr std::size_t kLayers = 256;
  static constexpr double kTail = 3.6541528853610088;

  std::array<double, kLayers> width{};         // x_i · 2^−52: a layer's x from 52 random bits
  std::array<std::uint64_t, kLayers> inner{};  // below this the point lies under f at once
  std::array<double, kLayers + 1> height{};    // f(x_i)

  GaussianTables() {
    const auto f = [](double x) { return std::exp(-0.5 * x * x); };
    const double area =
        kTail * f(kTail) + std::sqrt(std::numbers::pi / 2.0) * std::erfc(kTail / std::sqrt(2.0));
    std::array<double, kLayers + 1> x{};
    x[0] = area / f(kTail);
    x[1] = kTail;
    for (std::size_t i = 1; i + 1 < kLayers; ++i) {
      x[i + 1] = std::sqrt(-2.0 * std::log(f(x[i]) + area / x[i]));
    }
    x[kLayers] = 0.0;
    for (std::size_t i = 0; i < kLayers; ++i) {
      width[i] = x[i] * 0x1.0p-52;
      inner[i] = static_cast<std::uint64_t>(x[i + 1] / x[i] * 0x1.0p52);
      height[i] = f(x[i]);
    }
    height[kLayers] = 1.0;
  }
};

namespace {

// x ≥ 0 with the sign bit `sign` (0 or 1 << 63).
double withSign(double x, std::uint64_t sign) {
  return std::bit_cast<double>(std::bit_cast<std::uint64_t>(x) | sign);
}

const GaussianTables& gaussianTables() {
  static const GaussianTables tables;
  return tables;
}

}  // namespace

GaussianSource::GaussianSource(RandomBits& bits)
    : bits_(bits),
      tables_(gaussianTables()),
      width_(tables_.width.data()),
      inner_(tables_.inner.data()) {}

double GaussianSource::beyondInner(std::uint64_t word) {
  const GaussianTables& z = tables_;
  for (;;) {
    // One word: the layer from its low 8 bits, the sign from bit 8, the position from the top 52.
    const std::size_t layer = word & 0xffu;
    const std::uint64_t sign = (word & 0x100u) << 55;  // bit 8 as the sign bit, no branch
    const std::uint64_t position = word >> 12;
    const double x = static_cast<double>(position) * z.width[layer];
    if (position < z.inner[layer]) {
      return withSign(x, sign);  // inside the next layer's width: under f for every height
    }
    if (layer == 0) {
      // Beyond R: the tail's own method (exponential proposals).
      double excess = 0.0;
      double exponential = 0.0;
      do {
        excess = -std::log(bits_.openUnit()) / GaussianTables::kTail;
        exponential = -std::log(bits_.openUnit());
      } while (exponential + exponential < excess * excess);
      return withSign(GaussianTables::kTail + excess, sign);
    }
    // In the wedge between x_{i+1} and x_i: under f with probability of its height.
    const double low = z.height[layer];
    const double y = low + bits_.openUnit() * (z.height[layer + 1] - low);
    if (y < std::exp(-0.5 * x * x)) {
      return withSign(x, sign);
    }
    word = bits_.next();
  }
}

void transmitConstituent(std::span<const std::uint32_t> sentMasks, std::int32_t outputBits,
                         std::span<const std::int32_t> words, double deviation,
                         GaussianSource& noise, std::vector<double>& llr) {
  const auto n = static_cast<std::size_t>(outputBits);
  llr.resize(words.size() * n);
  const double factor = 2.0 / (deviation * deviation);
  for (std::size_t t = 0; t < words.size(); ++t) {
    const std::uint32_t sent = sentMasks[t];
    for (std::size_t i = 0; i < n; ++i) {
      double& value = llr[t * n + i];
      if (((sent >> i) & 1u) == 0) {
        value = 0.0;  // a punctured bit: the decoder knows nothing of it
        continue;
      }
      const double symbol = 1.0 - 2.0 * static_cast<double>((words[t] >> i) & 1);  // no branch
      value = factor * (symbol + deviation * noise.next());
    }
  }
}

void transmitConstituent(const ConstituentFrame& constituent, std::span<const std::int32_t> words,
                         double deviation, GaussianSource& noise, std::vector<double>& llr) {
  transmitConstituent(constituent.sentMasks(), constituent.outputBits(), words, deviation, noise,
                      llr);
}

}  // namespace brevandor
