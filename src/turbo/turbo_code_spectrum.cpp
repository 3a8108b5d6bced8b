#include <cstddef>

#include "turbo/spectrum_engines.h"
#include "turbo/turbo_code.h"

namespace brevandor {

namespace {

// The result for a stage that has nothing sound to work on: a missing constituent.
StageResult<std::int32_t> missingConstituent() {
  return StageResult<std::int32_t>::failed(kIncompleteTablesText);
}

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

// Every constituent c of a parallel concatenation is read in rows 0 … P_c, columns 0 … N, from
// the table of constituent `tableOf`(c).
template <typename TableOf>
bool readyForParallel(const TurboCode& turbo, std::span<double> codewordSpectrum,
                      std::span<double> weightedSpectrum, TableOf&& tableOf) {
  if (!validCount(turbo) || !hasRoom(turbo, codewordSpectrum, weightedSpectrum)) {
    return false;
  }
  for (std::int32_t c = 0; c < turbo.constituentCount; ++c) {
    const auto index = static_cast<std::size_t>(c);
    if (turbo.codes[index] == nullptr || turbo.enumerators[index] == nullptr ||
        !hasTable(turbo, tableOf(c), turbo.enumerators[index]->layerMaxWeight(*turbo.codes[index]),
                  turbo.frameLengths[0])) {
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

}  // namespace

TablePrecision tablePrecision(const TurboCode& turbo) {
  const WeightEnumerator* first = turbo.enumerators[0];
  return first != nullptr ? first->precision : TablePrecision::Single;
}

bool parallelSpectrumReadsFirstTableOnly(Engine engine) {
  return engine == Engine::Fast;
}

StageResult<std::int32_t> TurboCode::computeParallelSpectrum(std::span<double> codewordSpectrum,
                                                             std::span<double> weightedSpectrum,
                                                             const RunContext& context) {
  if (context.engine == Engine::Fast &&
      readyForParallel(*this, codewordSpectrum, weightedSpectrum, [&](std::int32_t c) {
        // The fast engine reads the first table for every constituent whose table equals it.
        return c > 0 && sameTableAsFirst(c) ? 0 : c;
      })) {
    return computeParallelSpectrumFast(*this, {codewordSpectrum, weightedSpectrum}, context);
  }
  // The reference, which needs every constituent's own table.
  if (!readyForParallel(*this, codewordSpectrum, weightedSpectrum,
                        [](std::int32_t c) { return c; })) {
    return missingConstituent();
  }
  return computeParallelSpectrumReference(*this, {codewordSpectrum, weightedSpectrum}, context);
}

StageResult<std::int32_t> TurboCode::computeSerialSpectrum(std::span<double> codewordSpectrum,
                                                           std::span<double> weightedSpectrum,
                                                           const RunContext& context) {
  if (!readyForSerial(*this, codewordSpectrum, weightedSpectrum)) {
    return missingConstituent();
  }
  if (context.engine == Engine::Reference) {
    return computeSerialSpectrumReference(*this, {codewordSpectrum, weightedSpectrum}, context);
  }
  return computeSerialSpectrumFast(*this, {codewordSpectrum, weightedSpectrum}, context);
}

}  // namespace brevandor
