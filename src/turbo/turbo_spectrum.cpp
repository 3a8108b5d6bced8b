#include <cstddef>

#include "turbo/spectrum_engines.h"
#include "turbo/turbo_code.h"

namespace brevandor {

namespace {

// Whether every constituent the stage reads has its code and its enumerator's table, and the
// two spectra have room for weights 0 … outputFrameLength.
bool readyForSpectrum(const TurboCode& turbo, std::span<double> codewordSpectrum,
                      std::span<double> weightedSpectrum) {
  if (turbo.constituentCount < 1 || turbo.constituentCount > TurboCode::kMaxConstituents) {
    return false;
  }
  for (std::int32_t c = 0; c < turbo.constituentCount; ++c) {
    const auto index = static_cast<std::size_t>(c);
    if (turbo.codes[index] == nullptr || turbo.enumerators[index] == nullptr ||
        !turbo.enumerators[index]->cwef.exists()) {
      return false;
    }
  }
  const auto entries = static_cast<std::size_t>(turbo.outputFrameLength) + 1;
  return codewordSpectrum.size() >= entries && weightedSpectrum.size() >= entries;
}

// The result for a stage that has nothing to work on: a missing constituent.
constexpr std::int32_t kMissingConstituent = -2;

}  // namespace

std::int32_t TurboCode::computeParallelSpectrum(std::span<double> codewordSpectrum,
                                                std::span<double> weightedSpectrum,
                                                const RunContext& context) {
  if (!readyForSpectrum(*this, codewordSpectrum, weightedSpectrum)) {
    return kMissingConstituent;
  }
  if (context.engine == Engine::Reference) {
    return computeParallelSpectrumReference(*this, codewordSpectrum, weightedSpectrum, context);
  }
  // The fast engine plugs in here; until it exists, users get the reference.
  return computeParallelSpectrumReference(*this, codewordSpectrum, weightedSpectrum, context);
}

std::int32_t TurboCode::computeSerialSpectrum(std::span<double> codewordSpectrum,
                                              std::span<double> weightedSpectrum,
                                              const RunContext& context) {
  if (!readyForSpectrum(*this, codewordSpectrum, weightedSpectrum)) {
    return kMissingConstituent;
  }
  if (context.engine == Engine::Reference) {
    return computeSerialSpectrumReference(*this, codewordSpectrum, weightedSpectrum, context);
  }
  // The fast engine plugs in here; until it exists, users get the reference.
  return computeSerialSpectrumReference(*this, codewordSpectrum, weightedSpectrum, context);
}

}  // namespace brevandor
