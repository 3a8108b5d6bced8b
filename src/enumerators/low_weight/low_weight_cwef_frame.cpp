#include "enumerators/low_weight/low_weight_cwef_frame.h"

#include <algorithm>
#include <vector>

namespace brevandor {

TransitionMatrix lowWeightLogMatrix(WeightEnumerator& enumerator, const ConvCode& code) {
  enumerator.allocateLogTransferMatrix(code);
  enumerator.computeLogTransferMatrix(code);
  TransitionMatrix matrix = enumerator.logTransferMatrix;
  enumerator.releaseLogTransferMatrix(code);
  return matrix;
}

std::vector<TransitionMatrix> lowWeightPhaseMatrices(WeightEnumerator& enumerator,
                                                     const ConvCode& code) {
  if (enumerator.puncturing.empty()) {
    return {lowWeightLogMatrix(enumerator, code)};
  }
  std::vector<TransitionMatrix> phases;
  for (std::int32_t phase = 0; phase < enumerator.puncturing.period(); ++phase) {
    phases.push_back(enumerator.sectionLogTransferMatrix(code, phase));
  }
  return phases;
}

template <typename Cell>
BasicLogTable<Cell> makeLowWeightLayer(const ConvCode& code, const LowWeightCut& cut) {
  return BasicLogTable<Cell>(code.stateCount, cut.maxOutputWeight + 1, cut.maxInputWeight + 1);
}

template <typename Cell>
void startLowWeightFrame(BasicLogTable<Cell>& layer, const TransitionMatrix& logMatrix,
                         const LowWeightCut& cut, std::int32_t start) {
  layer.fill(kLogZeroCell<Cell>);
  for (std::int32_t s = 0; s < layer.blocks(); ++s) {
    const TransitionWeight& branch = logMatrix.at(s, start);
    if (branch.multiplicity != kLogZeroInt && cut.keeps(branch.outputWeight, branch.inputWeight)) {
      layer.at(s, branch.outputWeight, branch.inputWeight) = static_cast<Cell>(branch.multiplicity);
    }
  }
}

template <typename Cell>
void finishLowWeightFrame(WeightEnumerator& enumerator, const ConvCode& code,
                          const LowWeightCut& cut, const BasicLogTable<Cell>& endLayer,
                          const BasicLogAddRowKernels<Cell>& kernels, const RunContext& context) {
  std::vector<std::int32_t> tails(static_cast<std::size_t>(code.stateCount), 0);
  enumerator.computeTailWeights(code, tails, context);
  BasicLogTable<Cell>& result = resultTable<Cell>(enumerator);
  result.fill(kLogZeroCell<Cell>);
  for (std::int32_t d = 0; d <= cut.maxOutputWeight; ++d) {
    const std::int32_t lastColumn = cut.lastInputWeight(d);
    if (lastColumn < 0) {
      continue;
    }
    const auto columns = static_cast<std::size_t>(lastColumn) + 1;
    Cell* sum = result.row(d);
    for (std::int32_t s = 0; s < code.stateCount; ++s) {
      const std::int32_t source = d - tails[static_cast<std::size_t>(s)];
      if (source < 0) {
        continue;  // adding LogZero leaves the sum as it is
      }
      const Cell* counts = endLayer.row(s, source);
      if (s == 0) {
        std::copy(counts, counts + columns, sum);
      } else {
        kernels.sumPairs(sum, sum, counts, columns);
      }
    }
  }
}

LowWeightStarts::LowWeightStarts(const WeightEnumerator& enumerator, const ConvCode& code)
    : count_(enumerator.ending.tailBiting ? code.stateCount : 1),
      sections_(code.sectionCount(enumerator.frameLength)),
      tailBiting_(enumerator.ending.tailBiting) {}

template <typename Cell>
LowWeightTrace<Cell>::LowWeightTrace(const LowWeightCut& cut)
    : cut_(cut), sum_(1, cut.maxOutputWeight + 1, cut.maxInputWeight + 1) {
  sum_.fill(kLogZeroCell<Cell>);
}

template <typename Cell>
void LowWeightTrace<Cell>::add(const BasicLogTable<Cell>& endLayer, std::int32_t start,
                               const BasicLogAddRowKernels<Cell>& kernels) {
  for (std::int32_t d = 0; d <= cut_.maxOutputWeight; ++d) {
    const std::int32_t lastColumn = cut_.lastInputWeight(d);
    if (lastColumn < 0) {
      continue;
    }
    const auto columns = static_cast<std::size_t>(lastColumn) + 1;
    const Cell* counts = endLayer.row(start, d);
    if (start == 0) {
      std::copy(counts, counts + columns, sum_.row(d));
    } else {
      kernels.sumPairs(sum_.row(d), sum_.row(d), counts, columns);
    }
  }
}

template <typename Cell>
void LowWeightTrace<Cell>::store(WeightEnumerator& enumerator) const {
  BasicLogTable<Cell>& result = resultTable<Cell>(enumerator);
  result.fill(kLogZeroCell<Cell>);
  for (std::int32_t d = 0; d <= cut_.maxOutputWeight; ++d) {
    std::copy(sum_.row(d), sum_.row(d) + cut_.maxInputWeight + 1, result.row(d));
  }
}

template class LowWeightTrace<float>;
template class LowWeightTrace<double>;
template LogTable makeLowWeightLayer(const ConvCode&, const LowWeightCut&);
template LogTableDouble makeLowWeightLayer(const ConvCode&, const LowWeightCut&);
template void startLowWeightFrame(LogTable&, const TransitionMatrix&, const LowWeightCut&,
                                  std::int32_t);
template void startLowWeightFrame(LogTableDouble&, const TransitionMatrix&, const LowWeightCut&,
                                  std::int32_t);
template void finishLowWeightFrame(WeightEnumerator&, const ConvCode&, const LowWeightCut&,
                                   const LogTable&, const LogAddRowKernels&, const RunContext&);
template void finishLowWeightFrame(WeightEnumerator&, const ConvCode&, const LowWeightCut&,
                                   const LogTableDouble&, const DoubleLogAddRowKernels&,
                                   const RunContext&);

SectionProgress::SectionProgress(const RunContext& context, std::int32_t sections)
    : context_(context),
      report_(context),
      sections_(sections),
      sectionsPerStep_(std::max(1, (sections - 1 + kMaxReports - 1) / kMaxReports)) {}

bool SectionProgress::sectionDone(std::int32_t t) {
  if (context_.cancelRequested()) {
    return false;
  }
  if (t % sectionsPerStep_ == 0 || t == sections_ - 1) {
    report_.step((sections_ - t + sectionsPerStep_ - 1) / sectionsPerStep_);
  }
  return true;
}

}  // namespace brevandor
