// The low-weight spectra: the full parallel and serial stages restricted to the weights up to
// the cut. A codeword of weight d ≤ D is made only of constituent cells inside the cut, and
// each entry receives its terms in the full stage's order; a term beyond D, which the full
// stage would add to a heavier weight, is simply not formed.

#include "turbo/low_weight_spectrum.h"

#include <algorithm>
#include <cmath>
#include <utility>
#include <vector>

#include "logmath/log_domain.h"
#include "progress/progress_report.h"
#include "turbo/spectrum_engines.h"

namespace brevandor {

namespace {

StageResult<std::int32_t> missingTable() {
  return StageResult<std::int32_t>::failed(kIncompleteTablesText);
}

// Rows and counts are of Cell, the precision of the tables.
template <typename Cell>
using WorkRow = std::vector<Cell>;

// One outer word of a given input weight: its output weight and log10 count.
template <typename Cell>
struct OuterWeight {
  std::int32_t weight;
  Cell count;
};

bool validCount(const TurboCode& turbo) {
  return turbo.constituentCount >= 1 && turbo.constituentCount <= TurboCode::kMaxConstituents;
}

// Whether constituent c has its code, and its cut table unless it is the repetition code.
bool hasCutTable(const TurboCode& turbo, std::int32_t c) {
  const auto index = static_cast<std::size_t>(c);
  const WeightEnumerator* enumerator = turbo.enumerators[index];
  return turbo.codes[index] != nullptr && enumerator != nullptr &&
         (enumerator->repetitionFactor != 0 || enumerator->cwef.exists() ||
          enumerator->cwefDouble.exists());
}

bool ready(const TurboCode& turbo, std::int32_t maxWeight, SpectrumOutput spectra) {
  const auto entries = static_cast<std::size_t>(maxWeight) + 1;
  if (!validCount(turbo) || maxWeight < 0 || maxWeight > turbo.outputFrameLength ||
      spectra.codeword.size() < entries || spectra.weighted.size() < entries) {
    return false;
  }
  for (std::int32_t c = 0; c < turbo.constituentCount; ++c) {
    if (!hasCutTable(turbo, c)) {
      return false;
    }
  }
  return true;
}

template <typename Cell>
const BasicLogTable<Cell>& table(const TurboCode& turbo, std::int32_t c) {
  return resultTable<Cell>(*turbo.enumerators[static_cast<std::size_t>(c)]);
}

// How the weighted spectrum's term count · w / N is formed: the parallel stage stores it in
// its row first (rounded to the cell type), the serial stage adds it as it is.
enum class WeightedTerm { RoundedToCell, Double };

// Adds a row of counts by codeword weight into both spectra, the weighted one with every
// count multiplied by the share w / N of input bits in error.
template <typename Cell>
void addToSpectra(const WorkRow<Cell>& counts, std::int32_t w, std::int32_t frameLength,
                  WeightedTerm form, SpectrumOutput spectra) {
  const double share = std::log10(static_cast<double>(w) / static_cast<double>(frameLength));
  for (std::size_t d = 0; d < counts.size(); ++d) {
    if (counts[d] == kLogZeroCell<Cell>) {
      continue;  // adding a count of zero changes nothing
    }
    const double count = counts[d];
    const double weightedCount = form == WeightedTerm::RoundedToCell
                                     ? static_cast<double>(static_cast<Cell>(count + share))
                                     : share + count;
    spectra.codeword[d] = logAdd(spectra.codeword[d], count);
    spectra.weighted[d] = logAdd(spectra.weighted[d], weightedCount);
  }
}

// The loop of both stages over input weights w = 0 … lastInput: `countsOf`(w), the counts of
// input weight w by codeword weight, go into both spectra. Progress and the cancel request go
// by input weight. The last codeword weight, maxWeight, or cancelled.
template <typename Cell, typename CountsOf>
StageResult<std::int32_t> sumOverInputWeights(std::int32_t lastInput, std::int32_t frameLength,
                                              std::int32_t maxWeight, WeightedTerm form,
                                              SpectrumOutput spectra, const RunContext& context,
                                              CountsOf&& countsOf) {
  const StageEnd end = forEachStep(lastInput + 1, context, [&](std::int32_t w) {
    addToSpectra<Cell>(countsOf(w), w, frameLength, form, spectra);
  });
  return StageResult<std::int32_t>::after(end, maxWeight);
}

// The product of a partial row and one constituent's column w over the uniform interleaver:
// next[i + j] collects partial[j] · A(w, i) / C(N, w) for i + j ≤ D, j outer and i inner.
template <typename Cell>
void multiplyByConstituent(const BasicLogTable<Cell>& cwef, std::int32_t w, double interleavings,
                           WorkRow<Cell>& partial, WorkRow<Cell>& next) {
  const auto maxWeight = static_cast<std::int32_t>(partial.size()) - 1;
  std::fill(next.begin(), next.end(), kLogZeroCell<Cell>);
  for (std::int32_t j = 0; j <= maxWeight; ++j) {
    const Cell sofar = partial[static_cast<std::size_t>(j)];
    for (std::int32_t i = 0; i < cwef.rows() && i + j <= maxWeight; ++i) {
      const Cell cell = cwef.at(i, w);
      if (sofar == kLogZeroCell<Cell> || cell == kLogZeroCell<Cell>) {
        continue;
      }
      Cell& sum = next[static_cast<std::size_t>(i + j)];
      sum = static_cast<Cell>(
          logAdd(static_cast<double>(sum),
                 static_cast<double>(sofar) - interleavings + static_cast<double>(cell)));
    }
  }
  std::swap(partial, next);
}

// The words of outer input weight w: from the repetition code's C(N, w) at weight r · w, or
// the outer table's column w, by increasing output weight.
template <typename Cell>
std::vector<OuterWeight<Cell>> outerColumn(const TurboCode& turbo, std::int32_t w,
                                           const std::vector<double>& inputBinomials) {
  const WeightEnumerator& outer = *turbo.enumerators[0];
  if (outer.repetitionFactor != 0) {
    return {{outer.repetitionFactor * w,
             static_cast<Cell>(inputBinomials[static_cast<std::size_t>(w)])}};
  }
  const BasicLogTable<Cell>& cwef = resultTable<Cell>(outer);
  std::vector<OuterWeight<Cell>> column;
  for (std::int32_t v = 0; v < cwef.rows(); ++v) {
    if (cwef.at(v, w) != kLogZeroCell<Cell>) {
      column.push_back({v, cwef.at(v, w)});
    }
  }
  return column;
}

// One serial stage for outer input weight w: the words of weight v that enter constituent c,
// spread over all C(L, v) words of that weight, pass through its table; v outer, d inner.
template <typename Cell>
std::vector<OuterWeight<Cell>> passThroughConstituent(
    const BasicLogTable<Cell>& cwef, const std::vector<OuterWeight<Cell>>& entering,
    const std::vector<double>& interleavings, WorkRow<Cell>& column) {
  std::fill(column.begin(), column.end(), kLogZeroCell<Cell>);
  for (const OuterWeight<Cell>& word : entering) {
    if (word.weight >= cwef.columns()) {
      break;  // heavier words reach no weight inside the cut
    }
    const double spread = interleavings[static_cast<std::size_t>(word.weight)];
    for (std::int32_t d = 0; d < cwef.rows() && d < static_cast<std::int32_t>(column.size()); ++d) {
      const Cell cell = cwef.at(d, word.weight);
      if (cell == kLogZeroCell<Cell>) {
        continue;
      }
      Cell& sum = column[static_cast<std::size_t>(d)];
      sum = static_cast<Cell>(
          logAdd(static_cast<double>(sum),
                 static_cast<double>(cell) + static_cast<double>(word.count) - spread));
    }
  }
  std::vector<OuterWeight<Cell>> leaving;
  for (std::size_t d = 0; d < column.size(); ++d) {
    if (column[d] != kLogZeroCell<Cell>) {
      leaving.push_back({static_cast<std::int32_t>(d), column[d]});
    }
  }
  return leaving;
}

template <typename Cell>
StageResult<std::int32_t> parallelSpectrum(TurboCode& turbo, std::int32_t maxWeight,
                                           SpectrumOutput spectra, const RunContext& context) {
  const std::int32_t frameLength = turbo.frameLengths[0];
  // With systematic constituents the w input bits are sent once and are not in p.
  const std::int32_t inputShift = turbo.addsInputWeight() ? 1 : 0;
  std::int32_t lastInput = frameLength;
  for (std::int32_t c = 0; c < turbo.constituentCount; ++c) {
    lastInput = std::min(lastInput, table<Cell>(turbo, c).columns() - 1);
  }
  clearSpectraAndZeroWord<Cell>(turbo, maxWeight, spectra);
  const std::vector<double> binomials = log10BinomialRow(frameLength, lastInput);

  WorkRow<Cell> partial(static_cast<std::size_t>(maxWeight) + 1);
  WorkRow<Cell> next(partial.size());
  WorkRow<Cell> byCodeword(partial.size());
  const auto rowOf = [&](std::int32_t w) -> const WorkRow<Cell>& {
    std::fill(partial.begin(), partial.end(), kLogZeroCell<Cell>);
    const BasicLogTable<Cell>& first = table<Cell>(turbo, 0);
    for (std::int32_t p = 0; p < first.rows() && p <= maxWeight; ++p) {
      partial[static_cast<std::size_t>(p)] = first.at(p, w);
    }
    for (std::int32_t c = 1; c < turbo.constituentCount; ++c) {
      multiplyByConstituent(table<Cell>(turbo, c), w, binomials[static_cast<std::size_t>(w)],
                            partial, next);
    }
    std::fill(byCodeword.begin(), byCodeword.end(), kLogZeroCell<Cell>);
    for (std::int32_t p = 0; p + inputShift * w <= maxWeight; ++p) {
      byCodeword[static_cast<std::size_t>(p + inputShift * w)] =
          partial[static_cast<std::size_t>(p)];
    }
    return byCodeword;
  };
  return sumOverInputWeights<Cell>(lastInput, frameLength, maxWeight, WeightedTerm::RoundedToCell,
                                   spectra, context, rowOf);
}

template <typename Cell>
StageResult<std::int32_t> serialSpectrum(TurboCode& turbo, std::int32_t maxWeight,
                                         SpectrumOutput spectra, const RunContext& context) {
  const std::int32_t frameLength = turbo.frameLengths[0];
  const WeightEnumerator& outer = *turbo.enumerators[0];
  const std::int32_t lastInput = outer.repetitionFactor != 0
                                     ? frameLength
                                     : std::min(frameLength, table<Cell>(turbo, 0).columns() - 1);
  clearSpectraAndZeroWord<Cell>(turbo, maxWeight, spectra);
  const std::vector<double> inputBinomials =
      outer.repetitionFactor != 0 ? log10BinomialRow(frameLength) : std::vector<double>{};
  std::vector<std::vector<double>> interleavings;
  for (std::int32_t c = 1; c < turbo.constituentCount; ++c) {
    interleavings.push_back(log10BinomialRow(turbo.frameLengths[static_cast<std::size_t>(c)],
                                             table<Cell>(turbo, c).columns() - 1));
  }

  WorkRow<Cell> column(static_cast<std::size_t>(maxWeight) + 1);
  const auto columnOf = [&](std::int32_t w) -> const WorkRow<Cell>& {
    std::vector<OuterWeight<Cell>> words = outerColumn<Cell>(turbo, w, inputBinomials);
    for (std::int32_t c = 1; c < turbo.constituentCount; ++c) {
      words = passThroughConstituent(table<Cell>(turbo, c), words,
                                     interleavings[static_cast<std::size_t>(c - 1)], column);
    }
    std::fill(column.begin(), column.end(), kLogZeroCell<Cell>);
    for (const OuterWeight<Cell>& word : words) {
      if (word.weight <= maxWeight) {
        column[static_cast<std::size_t>(word.weight)] = word.count;
      }
    }
    return column;
  };
  return sumOverInputWeights<Cell>(lastInput, frameLength, maxWeight, WeightedTerm::Double, spectra,
                                   context, columnOf);
}

}  // namespace

StageResult<std::int32_t> computeLowWeightParallelSpectrum(TurboCode& turbo, std::int32_t maxWeight,
                                                           SpectrumOutput spectra,
                                                           const RunContext& context) {
  if (!ready(turbo, maxWeight, spectra)) {
    return missingTable();
  }
  return onTableCells(turbo, parallelSpectrum<float>, parallelSpectrum<double>, turbo, maxWeight,
                      spectra, context);
}

StageResult<std::int32_t> computeLowWeightSerialSpectrum(TurboCode& turbo, std::int32_t maxWeight,
                                                         SpectrumOutput spectra,
                                                         const RunContext& context) {
  if (!ready(turbo, maxWeight, spectra) || turbo.constituentCount < 2) {
    return missingTable();
  }
  return onTableCells(turbo, serialSpectrum<float>, serialSpectrum<double>, turbo, maxWeight,
                      spectra, context);
}

}  // namespace brevandor
