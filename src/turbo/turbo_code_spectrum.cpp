#include <cstddef>

#include "turbo/spectrum_engines.h"
#include "turbo/turbo_code.h"

namespace brevandor {

namespace {

// The result for a stage that has nothing sound to work on: a missing constituent.
constexpr std::int32_t kMissingConstituent = -2;

// Whether constituent c has its code and a table of at least the given size.
bool hasTable(const TurboCode& turbo, std::int32_t c, std::int32_t maxOutputWeight,
              std::int32_t maxInputWeight) {
  const auto index = static_cast<std::size_t>(c);
  if (turbo.codes[index] == nullptr || turbo.enumerators[index] == nullptr) {
    return false;
  }
  const WeightEnumerator& enumerator = *turbo.enumerators[index];
  if (enumerator.precision != tablePrecision(turbo)) {
    return false;  // every stage works in one precision
  }
  auto fits = [&](const auto& cwef) {
    return cwef.exists() && cwef.rows() > maxOutputWeight && cwef.columns() > maxInputWeight;
  };
  return enumerator.precision == TablePrecision::Double ? fits(enumerator.cwefDouble)
                                                        : fits(enumerator.cwef);
}

bool hasRoom(const TurboCode& turbo, std::span<double> codewordSpectrum,
             std::span<double> weightedSpectrum) {
  const auto entries = static_cast<std::size_t>(turbo.outputFrameLength) + 1;
  return codewordSpectrum.size() >= entries && weightedSpectrum.size() >= entries;
}

bool validCount(const TurboCode& turbo) {
  return turbo.constituentCount >= 1 && turbo.constituentCount <= TurboCode::kMaxConstituents;
}

// Every constituent of a parallel concatenation is read in rows 0 … P, columns 0 … N.
bool readyForParallel(const TurboCode& turbo, std::span<double> codewordSpectrum,
                      std::span<double> weightedSpectrum) {
  if (!validCount(turbo) || !hasRoom(turbo, codewordSpectrum, weightedSpectrum) ||
      turbo.codes[0] == nullptr) {
    return false;
  }
  const std::int32_t n = turbo.frameLengths[0];
  for (std::int32_t c = 0; c < turbo.constituentCount; ++c) {
    const auto index = static_cast<std::size_t>(c);
    if (turbo.enumerators[index] == nullptr || turbo.codes[index] == nullptr ||
        !hasTable(turbo, c, turbo.enumerators[index]->layerMaxWeight(*turbo.codes[index]), n)) {
      return false;
    }
  }
  return true;
}

// Constituent c of a serial concatenation is read in rows 0 … frameLengths[c + 1] and
// columns 0 … frameLengths[c].
bool readyForSerial(const TurboCode& turbo, std::span<double> codewordSpectrum,
                    std::span<double> weightedSpectrum) {
  if (!validCount(turbo) || !hasRoom(turbo, codewordSpectrum, weightedSpectrum)) {
    return false;
  }
  for (std::int32_t c = 0; c < turbo.constituentCount; ++c) {
    const auto index = static_cast<std::size_t>(c);
    if (!hasTable(turbo, c, turbo.frameLengths[index + 1], turbo.frameLengths[index])) {
      return false;
    }
  }
  return true;
}

// The fast engine reads the first constituent's table for every constituent whose table
// equals it, and the others' own tables: those must exist in the configured size.
bool readyForParallelFast(const TurboCode& turbo, std::span<double> codewordSpectrum,
                          std::span<double> weightedSpectrum) {
  if (!validCount(turbo) || !hasRoom(turbo, codewordSpectrum, weightedSpectrum)) {
    return false;
  }
  for (std::int32_t c = 0; c < turbo.constituentCount; ++c) {
    const auto index = static_cast<std::size_t>(c);
    if (turbo.codes[index] == nullptr || turbo.enumerators[index] == nullptr) {
      return false;
    }
    const std::int32_t read = c > 0 && turbo.sameTableAsFirst(c) ? 0 : c;
    if (!hasTable(turbo, read, turbo.enumerators[index]->layerMaxWeight(*turbo.codes[index]),
                  turbo.frameLengths[0])) {
      return false;
    }
  }
  return true;
}

}  // namespace

TablePrecision tablePrecision(const TurboCode& turbo) {
  const WeightEnumerator* first = turbo.enumerators[0];
  return first != nullptr ? first->precision : TablePrecision::Single;
}

bool parallelSpectrumReadsFirstTableOnly(Engine engine) {
  return engine == Engine::Fast;
}

std::int32_t TurboCode::computeParallelSpectrum(std::span<double> codewordSpectrum,
                                                std::span<double> weightedSpectrum,
                                                const RunContext& context) {
  if (context.engine == Engine::Fast &&
      readyForParallelFast(*this, codewordSpectrum, weightedSpectrum)) {
    return computeParallelSpectrumFast(*this, codewordSpectrum, weightedSpectrum, context);
  }
  // The reference, which needs every constituent's own table.
  if (!readyForParallel(*this, codewordSpectrum, weightedSpectrum)) {
    return kMissingConstituent;
  }
  return computeParallelSpectrumReference(*this, codewordSpectrum, weightedSpectrum, context);
}

std::int32_t TurboCode::computeSerialSpectrum(std::span<double> codewordSpectrum,
                                              std::span<double> weightedSpectrum,
                                              const RunContext& context) {
  if (!readyForSerial(*this, codewordSpectrum, weightedSpectrum)) {
    return kMissingConstituent;
  }
  if (context.engine == Engine::Reference) {
    return computeSerialSpectrumReference(*this, codewordSpectrum, weightedSpectrum, context);
  }
  return computeSerialSpectrumFast(*this, codewordSpectrum, weightedSpectrum, context);
}

}  // namespace brevandor
