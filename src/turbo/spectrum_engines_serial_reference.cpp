#include <cmath>
#include <cstdint>

#include "logmath/log_domain.h"
#include "progress/progress_report.h"
#include "turbo/spectrum_engines.h"

namespace brevandor {

namespace {

// The sizes of the stage.
struct SerialShape {
  std::int32_t frameLength;  // N, the outer input frame length
  std::int32_t maxWeight;    // D, the last codeword weight
};

template <typename Cell>
void fillMatrix(BasicLogTable<Cell>& matrix, const SerialShape& shape, Cell value) {
  for (std::int32_t d = 0; d <= shape.maxWeight; ++d) {
    Cell* row = matrix.row(d);
    for (std::int32_t w = 0; w <= shape.frameLength; ++w) {
      row[w] = value;
    }
  }
}

// Matrix 0 starts as the outer code's table: [weight of the outer word][outer input weight].
template <typename Cell>
void startWithOuterCode(const BasicLogTable<Cell>& outer, std::int32_t outerMaxWeight,
                        const SerialShape& shape, BasicLogTable<Cell>& matrix) {
  fillMatrix(matrix, shape, kLogZeroCell<Cell>);
  for (std::int32_t d = 0; d <= outerMaxWeight; ++d) {
    const Cell* source = outer.row(d);
    Cell* target = matrix.row(d);
    for (std::int32_t w = 0; w <= shape.frameLength; ++w) {
      target[w] = source[w];
    }
  }
}

// One step of a stage: the words of weight v that enter constituent c, spread by the
// uniform interleaver over all C(L, v) words of that weight, pass through its table.
template <typename Cell>
void passWeightThroughConstituent(const BasicLogTable<Cell>& inner, std::int32_t v,
                                  std::int32_t innerLength, std::int32_t innerMaxWeight,
                                  const SerialShape& shape, const BasicLogTable<Cell>& source,
                                  BasicLogTable<Cell>& target) {
  const double interleavings = log10Binomial(innerLength, v);
  const Cell* entering = source.row(v);
  for (std::int32_t d = 0; d <= innerMaxWeight; ++d) {
    const Cell cell = inner.at(d, v);
    Cell* result = target.row(d);
    for (std::int32_t w = 0; w <= shape.frameLength; ++w) {
      if (entering[w] == kLogZeroCell<Cell> || cell == kLogZeroCell<Cell>) {
        continue;
      }
      // The term is formed in double; the sum is rounded to single precision on storing.
      result[w] = static_cast<Cell>(
          logAdd(static_cast<double>(result[w]),
                 static_cast<double>(cell) + static_cast<double>(entering[w]) - interleavings));
    }
  }
}

// Sums the finished matrix over outer input weights into both spectra; the weighted
// spectrum counts each word by its share w / N of erroneous input bits (a LogZero cell, no
// word, adds nothing to either).
template <typename Cell>
void sumIntoSpectra(const BasicLogTable<Cell>& result, const SerialShape& shape,
                    std::span<double> codewordSpectrum, std::span<double> weightedSpectrum) {
  for (std::int32_t d = 0; d <= shape.maxWeight; ++d) {
    double& entry = codewordSpectrum[static_cast<std::size_t>(d)];
    for (std::int32_t w = 0; w <= shape.frameLength; ++w) {
      entry = logAdd(entry, static_cast<double>(result.at(d, w)));
    }
  }
  for (std::int32_t d = 0; d <= shape.maxWeight; ++d) {
    double& entry = weightedSpectrum[static_cast<std::size_t>(d)];
    for (std::int32_t w = 0; w <= shape.frameLength; ++w) {
      const auto cell = static_cast<double>(result.at(d, w));
      const double share =
          std::log10(static_cast<double>(w) / static_cast<double>(shape.frameLength));
      entry = logAdd(entry, cell == LogZero ? cell : share + cell);
    }
  }
}

template <typename Cell>
StageResult<std::int32_t> runReference(TurboCode& turbo, SpectrumOutput spectra,
                                       const RunContext& context) {
  const SerialShape shape{turbo.frameLengths[0], turbo.outputFrameLength};
  const std::int32_t count = turbo.constituentCount;
  // Indexed [weight of the word after the constituents so far][outer input weight].
  BasicLogTable<Cell> matrices[2] = {
      BasicLogTable<Cell>(1, shape.maxWeight + 1, shape.frameLength + 1),
      BasicLogTable<Cell>(1, shape.maxWeight + 1, shape.frameLength + 1)};

  clearSpectraAndZeroWord<Cell>(turbo, shape.maxWeight, spectra);

  ProgressReport progress(context);
  progress.start();
  startWithOuterCode(resultTable<Cell>(*turbo.enumerators[0]), turbo.frameLengths[1], shape,
                     matrices[0]);
  const std::int32_t totalSteps = serialProgressSteps(turbo);
  std::int32_t stepsDone = 0;
  for (std::int32_t c = 1; c < count; ++c) {
    const auto index = static_cast<std::size_t>(c);
    const BasicLogTable<Cell>& source = matrices[(c + 1) % 2];
    BasicLogTable<Cell>& target = matrices[c % 2];
    fillMatrix(target, shape, kLogZeroCell<Cell>);
    const std::int32_t innerLength = turbo.frameLengths[index];
    for (std::int32_t v = 0; v <= innerLength; ++v) {
      passWeightThroughConstituent(resultTable<Cell>(*turbo.enumerators[index]), v, innerLength,
                                   turbo.frameLengths[index + 1], shape, source, target);
      if (context.cancelRequested()) {
        return StageResult<std::int32_t>::cancelled();  // the spectra still hold LogZero; the
                                                        // matrices go with this scope
      }
      ++stepsDone;
      progress.step(totalSteps + 1 - stepsDone);
    }
  }
  progress.finish();

  sumIntoSpectra(matrices[(count - 1) % 2], shape, spectra.codeword, spectra.weighted);
  return shape.maxWeight;
}

}  // namespace

StageResult<std::int32_t> computeSerialSpectrumReference(TurboCode& turbo, SpectrumOutput spectra,
                                                         const RunContext& context) {
  return onTableCells(turbo, runReference<float>, runReference<double>, turbo, spectra, context);
}

}  // namespace brevandor
