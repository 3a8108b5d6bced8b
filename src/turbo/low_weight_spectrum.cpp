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

namespace brevandor {

namespace {

constexpr float kZero = kLogZeroFloat;
constexpr std::int32_t kMissingTable = -2;

using WorkRow = std::vector<float>;

// One outer word of a given input weight: its output weight and log10 count.
struct OuterWeight {
  std::int32_t weight;
  float count;
};

bool validCount(const TurboCode& turbo) {
  return turbo.constituentCount >= 1 && turbo.constituentCount <= TurboCode::kMaxConstituents;
}

// Whether constituent c has its code, and its cut table unless it is the repetition code.
bool hasCutTable(const TurboCode& turbo, std::int32_t c) {
  const auto index = static_cast<std::size_t>(c);
  const WeightEnumerator* enumerator = turbo.enumerators[index];
  return turbo.codes[index] != nullptr && enumerator != nullptr &&
         (enumerator->repetitionFactor != 0 || enumerator->cwef.exists());
}

bool ready(const TurboCode& turbo, std::int32_t maxWeight, std::span<double> codewordSpectrum,
           std::span<double> weightedSpectrum) {
  const auto entries = static_cast<std::size_t>(maxWeight) + 1;
  if (!validCount(turbo) || maxWeight < 0 || maxWeight > turbo.outputFrameLength ||
      codewordSpectrum.size() < entries || weightedSpectrum.size() < entries) {
    return false;
  }
  for (std::int32_t c = 0; c < turbo.constituentCount; ++c) {
    if (!hasCutTable(turbo, c)) {
      return false;
    }
  }
  return true;
}

const LogTable& table(const TurboCode& turbo, std::int32_t c) {
  return turbo.enumerators[static_cast<std::size_t>(c)]->cwef;
}

// Sets both spectra to LogZero and leaves the all-zero word out of every table.
void startSpectra(TurboCode& turbo, std::int32_t maxWeight, std::span<double> codewordSpectrum,
                  std::span<double> weightedSpectrum) {
  std::fill_n(codewordSpectrum.begin(), maxWeight + 1, LogZero);
  std::fill_n(weightedSpectrum.begin(), maxWeight + 1, LogZero);
  for (std::int32_t c = 0; c < turbo.constituentCount; ++c) {
    LogTable& cwef = turbo.enumerators[static_cast<std::size_t>(c)]->cwef;
    if (cwef.exists()) {
      cwef.at(0, 0) = kZero;
    }
  }
}

// How the weighted spectrum's term count · w / N is formed: the parallel stage stores it in
// its single-precision row first, the serial stage adds it as it is.
enum class WeightedTerm { RoundedToFloat, Double };

// Adds a row of counts by codeword weight into both spectra, the weighted one with every
// count multiplied by the share w / N of input bits in error.
void addToSpectra(const WorkRow& counts, std::int32_t w, std::int32_t frameLength,
                  WeightedTerm form, std::span<double> codewordSpectrum,
                  std::span<double> weightedSpectrum) {
  const double share = std::log10(static_cast<double>(w) / static_cast<double>(frameLength));
  for (std::size_t d = 0; d < counts.size(); ++d) {
    if (counts[d] == kZero) {
      continue;  // adding a count of zero changes nothing
    }
    const double count = counts[d];
    const double weightedCount = form == WeightedTerm::RoundedToFloat
                                     ? static_cast<double>(static_cast<float>(count + share))
                                     : share + count;
    codewordSpectrum[d] = logAdd(codewordSpectrum[d], count);
    weightedSpectrum[d] = logAdd(weightedSpectrum[d], weightedCount);
  }
}

// The product of a partial row and one constituent's column w over the uniform interleaver:
// next[i + j] collects partial[j] · A(w, i) / C(N, w) for i + j ≤ D, j outer and i inner.
void multiplyByConstituent(const LogTable& cwef, std::int32_t w, double interleavings,
                           WorkRow& partial, WorkRow& next) {
  const auto maxWeight = static_cast<std::int32_t>(partial.size()) - 1;
  std::fill(next.begin(), next.end(), kZero);
  for (std::int32_t j = 0; j <= maxWeight; ++j) {
    const float sofar = partial[static_cast<std::size_t>(j)];
    for (std::int32_t i = 0; i < cwef.rows() && i + j <= maxWeight; ++i) {
      const float cell = cwef.at(i, w);
      if (sofar == kZero || cell == kZero) {
        continue;
      }
      float& sum = next[static_cast<std::size_t>(i + j)];
      sum = static_cast<float>(
          logAdd(static_cast<double>(sum),
                 static_cast<double>(sofar) - interleavings + static_cast<double>(cell)));
    }
  }
  std::swap(partial, next);
}

// The words of outer input weight w: from the repetition code's C(N, w) at weight r · w, or
// the outer table's column w, by increasing output weight.
std::vector<OuterWeight> outerColumn(const TurboCode& turbo, std::int32_t w,
                                     const std::vector<double>& inputBinomials) {
  const WeightEnumerator& outer = *turbo.enumerators[0];
  if (outer.repetitionFactor != 0) {
    return {{outer.repetitionFactor * w,
             static_cast<float>(inputBinomials[static_cast<std::size_t>(w)])}};
  }
  std::vector<OuterWeight> column;
  for (std::int32_t v = 0; v < outer.cwef.rows(); ++v) {
    if (outer.cwef.at(v, w) != kZero) {
      column.push_back({v, outer.cwef.at(v, w)});
    }
  }
  return column;
}

// One serial stage for outer input weight w: the words of weight v that enter constituent c,
// spread over all C(L, v) words of that weight, pass through its table; v outer, d inner.
std::vector<OuterWeight> passThroughConstituent(const LogTable& cwef,
                                                const std::vector<OuterWeight>& entering,
                                                const std::vector<double>& interleavings,
                                                WorkRow& column) {
  std::fill(column.begin(), column.end(), kZero);
  for (const OuterWeight& word : entering) {
    if (word.weight >= cwef.columns()) {
      break;  // heavier words reach no weight inside the cut
    }
    const double spread = interleavings[static_cast<std::size_t>(word.weight)];
    for (std::int32_t d = 0; d < cwef.rows() && d < static_cast<std::int32_t>(column.size()); ++d) {
      const float cell = cwef.at(d, word.weight);
      if (cell == kZero) {
        continue;
      }
      float& sum = column[static_cast<std::size_t>(d)];
      sum = static_cast<float>(
          logAdd(static_cast<double>(sum),
                 static_cast<double>(cell) + static_cast<double>(word.count) - spread));
    }
  }
  std::vector<OuterWeight> leaving;
  for (std::size_t d = 0; d < column.size(); ++d) {
    if (column[d] != kZero) {
      leaving.push_back({static_cast<std::int32_t>(d), column[d]});
    }
  }
  return leaving;
}

}  // namespace

std::int32_t computeLowWeightParallelSpectrum(TurboCode& turbo, std::int32_t maxWeight,
                                              std::span<double> codewordSpectrum,
                                              std::span<double> weightedSpectrum,
                                              const RunContext& context) {
  if (!ready(turbo, maxWeight, codewordSpectrum, weightedSpectrum)) {
    return kMissingTable;
  }
  const std::int32_t frameLength = turbo.frameLengths[0];
  // With systematic constituents the w input bits are sent once and are not in p.
  const std::int32_t inputShift = turbo.hasNonSystematic == 0 ? 1 : 0;
  std::int32_t lastInput = frameLength;
  for (std::int32_t c = 0; c < turbo.constituentCount; ++c) {
    lastInput = std::min(lastInput, table(turbo, c).columns() - 1);
  }
  startSpectra(turbo, maxWeight, codewordSpectrum, weightedSpectrum);
  const std::vector<double> binomials = log10BinomialRow(frameLength, lastInput);

  WorkRow partial(static_cast<std::size_t>(maxWeight) + 1);
  WorkRow next(partial.size());
  WorkRow byCodeword(partial.size());
  ProgressReport progress(context);
  progress.start();
  for (std::int32_t w = 0; w <= lastInput; ++w) {
    std::fill(partial.begin(), partial.end(), kZero);
    const LogTable& first = table(turbo, 0);
    for (std::int32_t p = 0; p < first.rows() && p <= maxWeight; ++p) {
      partial[static_cast<std::size_t>(p)] = first.at(p, w);
    }
    for (std::int32_t c = 1; c < turbo.constituentCount; ++c) {
      multiplyByConstituent(table(turbo, c), w, binomials[static_cast<std::size_t>(w)], partial,
                            next);
    }
    std::fill(byCodeword.begin(), byCodeword.end(), kZero);
    for (std::int32_t p = 0; p + inputShift * w <= maxWeight; ++p) {
      byCodeword[static_cast<std::size_t>(p + inputShift * w)] =
          partial[static_cast<std::size_t>(p)];
    }
    addToSpectra(byCodeword, w, frameLength, WeightedTerm::RoundedToFloat, codewordSpectrum,
                 weightedSpectrum);
    if (context.cancelRequested()) {
      return -1;
    }
    progress.step(lastInput - w);
  }
  progress.finish();
  return maxWeight;
}

std::int32_t computeLowWeightSerialSpectrum(TurboCode& turbo, std::int32_t maxWeight,
                                            std::span<double> codewordSpectrum,
                                            std::span<double> weightedSpectrum,
                                            const RunContext& context) {
  if (!ready(turbo, maxWeight, codewordSpectrum, weightedSpectrum) || turbo.constituentCount < 2) {
    return kMissingTable;
  }
  const std::int32_t frameLength = turbo.frameLengths[0];
  const WeightEnumerator& outer = *turbo.enumerators[0];
  const std::int32_t lastInput =
      outer.repetitionFactor != 0 ? frameLength : std::min(frameLength, outer.cwef.columns() - 1);
  startSpectra(turbo, maxWeight, codewordSpectrum, weightedSpectrum);
  const std::vector<double> inputBinomials =
      outer.repetitionFactor != 0 ? log10BinomialRow(frameLength) : std::vector<double>{};
  std::vector<std::vector<double>> interleavings;
  for (std::int32_t c = 1; c < turbo.constituentCount; ++c) {
    interleavings.push_back(log10BinomialRow(turbo.frameLengths[static_cast<std::size_t>(c)],
                                             table(turbo, c).columns() - 1));
  }

  WorkRow column(static_cast<std::size_t>(maxWeight) + 1);
  ProgressReport progress(context);
  progress.start();
  for (std::int32_t w = 0; w <= lastInput; ++w) {
    std::vector<OuterWeight> words = outerColumn(turbo, w, inputBinomials);
    for (std::int32_t c = 1; c < turbo.constituentCount; ++c) {
      words = passThroughConstituent(table(turbo, c), words,
                                     interleavings[static_cast<std::size_t>(c - 1)], column);
    }
    std::fill(column.begin(), column.end(), kZero);
    for (const OuterWeight& word : words) {
      if (word.weight <= maxWeight) {
        column[static_cast<std::size_t>(word.weight)] = word.count;
      }
    }
    addToSpectra(column, w, frameLength, WeightedTerm::Double, codewordSpectrum, weightedSpectrum);
    if (context.cancelRequested()) {
      return -1;
    }
    progress.step(lastInput - w);
  }
  progress.finish();
  return maxWeight;
}

}  // namespace brevandor
