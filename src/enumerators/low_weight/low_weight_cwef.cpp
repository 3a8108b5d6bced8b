#include "enumerators/low_weight/low_weight_cwef.h"

#include <algorithm>
#include <cstring>

namespace brevandor {

LowWeightCut lowWeightCut(const WeightEnumerator& enumerator, const ConvCode& code,
                          std::int32_t maxWeight) {
  LowWeightCut cut;
  cut.maxOutputWeight = std::min(maxWeight, enumerator.layerMaxWeight(code));
  cut.maxInputWeight = isSystematic(code.kind) ? std::min(maxWeight, enumerator.frameLength)
                                               : enumerator.frameLength;
  cut.codewordLimit = enumerator.countsInputBits == 0 ? maxWeight : -1;
  return cut;
}

namespace {

std::uint64_t bytesFor(TablePrecision precision, std::int64_t blocks, std::int64_t rows,
                       std::int64_t columns) {
  return precision == TablePrecision::Double ? LogTableDouble::bytesFor(blocks, rows, columns)
                                             : LogTable::bytesFor(blocks, rows, columns);
}

template <typename Cell>
void copyTable(const BasicLogTable<Cell>& source, BasicLogTable<Cell>& target) {
  if (!source.exists()) {
    return;
  }
  target = BasicLogTable<Cell>(1, source.rows(), source.columns());
  for (std::int32_t d = 0; d < source.rows(); ++d) {
    std::memcpy(target.row(d), source.row(d),
                static_cast<std::size_t>(source.columns()) * sizeof(Cell));
  }
}

}  // namespace

std::uint64_t lowWeightTableBytes(const ConvCode& code, const LowWeightCut& cut,
                                  TablePrecision precision) {
  const auto states = static_cast<std::uint64_t>(code.stateCount);
  return states * states * sizeof(TransitionWeight) +
         bytesFor(precision, 1, cut.maxOutputWeight + 1, cut.maxInputWeight + 1);
}

std::uint64_t lowWeightWorkBytes(const ConvCode& code, const LowWeightCut& cut,
                                 TablePrecision precision, bool tailBiting) {
  const auto states = static_cast<std::uint64_t>(code.stateCount);
  // Two layers (with the fast engine's guard column) and the log transfer matrix.
  const std::uint64_t trace =
      tailBiting ? bytesFor(precision, 1, cut.maxOutputWeight + 1, cut.maxInputWeight + 1) : 0;
  return 2 * bytesFor(precision, code.stateCount, cut.maxOutputWeight + 1, cut.maxInputWeight + 2) +
         states * states * sizeof(TransitionWeight) + trace;
}

void allocateLowWeightTables(WeightEnumerator& enumerator, const ConvCode& code,
                             const LowWeightCut& cut) {
  enumerator.transferMatrix = TransitionMatrix(code.stateCount);
  if (enumerator.precision == TablePrecision::Double) {
    enumerator.cwefDouble = LogTableDouble(1, cut.maxOutputWeight + 1, cut.maxInputWeight + 1);
  } else {
    enumerator.cwef = LogTable(1, cut.maxOutputWeight + 1, cut.maxInputWeight + 1);
  }
}

void copyLowWeightTables(const WeightEnumerator& from, WeightEnumerator& to) {
  to.transferMatrix = from.transferMatrix;
  to.precision = from.precision;
  copyTable(from.cwef, to.cwef);
  copyTable(from.cwefDouble, to.cwefDouble);
}

StageEnd computeLowWeightCwef(WeightEnumerator& enumerator, const ConvCode& code,
                              const LowWeightCut& cut, const RunContext& context) {
  if (context.engine == Engine::Reference) {
    return computeLowWeightCwefReference(enumerator, code, cut, context);
  }
  return computeLowWeightCwefFast(enumerator, code, cut, context);
}

}  // namespace brevandor
