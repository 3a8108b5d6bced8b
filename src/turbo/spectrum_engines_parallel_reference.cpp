#include <array>
#include <cmath>
#include <cstdint>
#include <vector>

#include "logmath/log_domain.h"
#include "progress/progress_report.h"
#include "turbo/parallel_spectrum_rows.h"
#include "turbo/spectrum_engines.h"

namespace brevandor {

using detail::ParallelShape;
using detail::parallelShapeOf;

namespace {

constexpr const char* kConstituentOverflowText = " oops \n";
constexpr const char* kCodewordOverflowText = " -- oops \n";

template <typename Cell>
using WorkRow = std::vector<Cell>;

template <typename Cell>
void clearRow(WorkRow<Cell>& row) {
  row.assign(row.size(), kLogZeroCell<Cell>);
}

// The first constituent's column w is where the product over the constituents starts.
template <typename Cell>
void startWithFirstConstituent(const BasicLogTable<Cell>& cwef, std::int32_t w,
                               const ParallelShape& shape, WorkRow<Cell>& current) {
  for (std::int32_t p = 0; p <= shape.counted[0]; ++p) {
    current[static_cast<std::size_t>(p)] = cwef.at(p, w);
  }
}

// One constituent product: every weight of the partial product so far combined with every
// counted weight of constituent c, divided by C(N, w) for the uniform interleaver.
template <typename Cell>
void multiplyByConstituent(const BasicLogTable<Cell>& cwef, std::int32_t maxCounted, std::int32_t w,
                           const ParallelShape& shape, WorkRow<Cell>& current, WorkRow<Cell>& next,
                           const RunContext& context) {
  const double interleavings = log10Binomial(shape.frameLength, w);
  for (std::int32_t j = 0; j <= shape.maxWeight; ++j) {
    const Cell partial = current[static_cast<std::size_t>(j)];
    for (std::int32_t i = 0; i <= maxCounted; ++i) {
      const Cell cell = cwef.at(i, w);
      if (partial == kLogZeroCell<Cell> || cell == kLogZeroCell<Cell>) {
        continue;
      }
      if (i + j > shape.maxWeight) {
        context.postLogLine(kConstituentOverflowText);
        continue;
      }
      Cell& sum = next[static_cast<std::size_t>(i + j)];
      // The term is formed in double; the sum is rounded to the cell type on storing.
      sum = static_cast<Cell>(
          logAdd(static_cast<double>(sum),
                 static_cast<double>(partial) - interleavings + static_cast<double>(cell)));
    }
  }
  current = next;
  clearRow(next);
}

// Adds the finished row of input weight w into one spectrum. With systematic constituents
// the w input bits are sent once and are not part of p, so they are added here.
template <typename Cell>
void accumulate(const WorkRow<Cell>& current, std::int32_t w, const ParallelShape& shape,
                std::span<double> spectrum, const RunContext& context) {
  for (std::int32_t p = 0; p <= shape.maxWeight; ++p) {
    const Cell value = current[static_cast<std::size_t>(p)];
    if (!shape.inputBitsSentOnce) {
      spectrum[static_cast<std::size_t>(p)] =
          logAdd(spectrum[static_cast<std::size_t>(p)], static_cast<double>(value));
      continue;
    }
    if (w + p <= shape.maxWeight) {
      double& entry = spectrum[static_cast<std::size_t>(w + p)];
      entry = logAdd(entry, static_cast<double>(value));
    } else if (value != kLogZeroCell<Cell>) {
      context.postLogLine(kCodewordOverflowText);
    }
  }
}

// Multiplies every entry of the row by w / N, the share of erroneous input bits. For w = 0
// this is minus infinity, which then adds nothing to the weighted spectrum. A LogZero entry
// stays LogZero: weighted, it would pass for a count just below 10^−308.
template <typename Cell>
void weightByInputShare(WorkRow<Cell>& current, std::int32_t w, const ParallelShape& shape) {
  const double share = std::log10(static_cast<double>(w) / static_cast<double>(shape.frameLength));
  for (Cell& value : current) {
    if (value != kLogZeroCell<Cell>) {
      value = static_cast<Cell>(static_cast<double>(value) + share);
    }
  }
}

// The whole contribution of input weight w to both spectra.
template <typename Cell>
void addInputWeight(TurboCode& turbo, std::int32_t w, const ParallelShape& shape,
                    WorkRow<Cell>& current, WorkRow<Cell>& next, std::span<double> codewordSpectrum,
                    std::span<double> weightedSpectrum, const RunContext& context) {
  clearRow(current);
  clearRow(next);
  startWithFirstConstituent(resultTable<Cell>(*turbo.enumerators[0]), w, shape, current);
  for (std::int32_t c = 1; c < shape.constituentCount; ++c) {
    multiplyByConstituent(resultTable<Cell>(*turbo.enumerators[static_cast<std::size_t>(c)]),
                          shape.counted[static_cast<std::size_t>(c)], w, shape, current, next,
                          context);
  }
  accumulate(current, w, shape, codewordSpectrum, context);
  weightByInputShare(current, w, shape);
  accumulate(current, w, shape, weightedSpectrum, context);
}

template <typename Cell>
StageResult<std::int32_t> runReference(TurboCode& turbo, SpectrumOutput spectra,
                                       const RunContext& context) {
  const std::int32_t frameLength = turbo.frameLengths[0];
  const ParallelShape shape = parallelShapeOf(turbo);

  clearSpectraAndZeroWord<Cell>(turbo, shape.maxWeight, spectra);

  WorkRow<Cell> current(static_cast<std::size_t>(shape.maxWeight) + 1, kLogZeroCell<Cell>);
  WorkRow<Cell> next(current.size(), kLogZeroCell<Cell>);
  const StageEnd end = forEachStep(frameLength + 1, context, [&](std::int32_t w) {
    addInputWeight(turbo, w, shape, current, next, spectra.codeword, spectra.weighted, context);
  });
  return StageResult<std::int32_t>::after(end, shape.maxWeight);
}

}  // namespace

StageResult<std::int32_t> computeParallelSpectrumReference(TurboCode& turbo, SpectrumOutput spectra,
                                                           const RunContext& context) {
  return onTableCells(turbo, runReference<float>, runReference<double>, turbo, spectra, context);
}

}  // namespace brevandor
