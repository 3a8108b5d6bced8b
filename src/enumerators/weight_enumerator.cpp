#include "enumerators/weight_enumerator.h"

#include <algorithm>
#include <cstring>

namespace brevandor {

std::int32_t WeightEnumerator::resultMaxWeight(const ConvCode& code) const {
  return repetitionFactor != 0 ? repetitionFactor * frameLength : code.outputLength(frameLength);
}

std::int32_t WeightEnumerator::layerMaxWeight(const ConvCode& code) const {
  return countedLength(code, frameLength, countsInputBits != 0, puncturing, ending);
}

std::int32_t countedLength(const ConvCode& code, std::int32_t frameLength, bool countsInputBits,
                           const SectionPuncturing& puncturing, const FrameEnding& ending) {
  if (!ending.sendsWholeTail()) {
    // The frame's sections as a whole-tail frame counts them, then the tail's own bits.
    const FrameEnding whole;
    return countedLength(code, frameLength, countsInputBits, puncturing, whole) -
           code.tailLength() * code.n + tailSentLength(code, frameLength, puncturing, ending);
  }
  if (puncturing.empty()) {
    return countsInputBits ? code.outputLength(frameLength) : code.parityLength(frameLength);
  }
  // Each section counts the bits it sends, less its k input bits when those are not
  // counted (they stay in every mask then); the tail sends all n bits of every section.
  const std::int64_t sections = code.sectionCount(frameLength);
  const auto allBits = static_cast<std::uint32_t>((std::uint64_t{1} << code.n) - 1);
  const std::int32_t period = puncturing.period();
  std::int64_t counted = 0;
  for (std::int32_t phase = 0; phase < period && phase < sections; ++phase) {
    const std::int64_t occurrences = (sections - phase + period - 1) / period;
    const std::int32_t perSection =
        popCount(puncturing.sentBits(phase, allBits)) - (countsInputBits ? 0 : code.k);
    counted += occurrences * perSection;
  }
  return static_cast<std::int32_t>(counted) + code.tailLength() * code.n;
}

std::int32_t tailSentLength(const ConvCode& code, std::int32_t frameLength,
                            const SectionPuncturing& puncturing, const FrameEnding& ending) {
  if (!ending.terminated) {
    return 0;
  }
  const auto allBits = static_cast<std::uint32_t>((std::uint64_t{1} << code.n) - 1);
  const std::uint32_t inputBits = systematicBits(code);
  const std::int64_t first = code.sectionCount(frameLength);
  std::int32_t sent = 0;
  for (std::int32_t j = 0; j < code.tailLength(); ++j) {
    const std::uint32_t bits =
        ending.punctureTail ? puncturing.sentBits(first + j, allBits) : allBits;
    sent += popCount(bits & ~inputBits) + (ending.sendsTailInput ? popCount(bits & inputBits) : 0);
  }
  return sent;
}

std::uint32_t systematicBits(const ConvCode& code) {
  if (!isSystematic(code.kind)) {
    return 0;
  }
  return ((std::uint32_t{1} << code.k) - 1) << (code.n - code.k);
}

namespace {

// Bytes of a table of this shape in the enumerator's precision.
std::uint64_t tableBytesFor(TablePrecision precision, std::int64_t blocks, std::int64_t rows,
                            std::int64_t columns) {
  return precision == TablePrecision::Double ? LogTableDouble::bytesFor(blocks, rows, columns)
                                             : LogTable::bytesFor(blocks, rows, columns);
}

}  // namespace

std::uint64_t WeightEnumerator::tableBytes(const ConvCode& code) const {
  const auto states = static_cast<std::uint64_t>(code.stateCount);
  return states * states * sizeof(TransitionWeight) +
         tableBytesFor(precision, 1, resultMaxWeight(code) + 1, frameLength + 1);
}

std::uint64_t WeightEnumerator::layerBytes(const ConvCode& code) const {
  return 2 * tableBytesFor(precision, code.stateCount, layerMaxWeight(code) + 1, frameLength + 1);
}

void WeightEnumerator::allocate(const ConvCode& code) {
  transferMatrix = TransitionMatrix(code.stateCount);
  if (precision == TablePrecision::Double) {
    cwefDouble = LogTableDouble(1, resultMaxWeight(code) + 1, frameLength + 1);
  } else {
    cwef = LogTable(1, resultMaxWeight(code) + 1, frameLength + 1);
  }
}

void WeightEnumerator::release(const ConvCode& /*code*/) {
  transferMatrix.release();
  cwef.release();
  cwefDouble.release();
}

void WeightEnumerator::allocateLogTransferMatrix(const ConvCode& code) {
  logTransferMatrix = TransitionMatrix(code.stateCount);
}

void WeightEnumerator::releaseLogTransferMatrix(const ConvCode& /*code*/) {
  logTransferMatrix.release();
}

void WeightEnumerator::allocateLayers(const ConvCode& code) {
  for (int i = 0; i < 2; ++i) {
    if (precision == TablePrecision::Double) {
      layersDouble[i] = LogTableDouble(code.stateCount, layerMaxWeight(code) + 1, frameLength + 1);
    } else {
      layers[i] = LogTable(code.stateCount, layerMaxWeight(code) + 1, frameLength + 1);
    }
  }
}

void WeightEnumerator::releaseLayers(const ConvCode& /*code*/) {
  for (int i = 0; i < 2; ++i) {
    layers[i].release();
    layersDouble[i].release();
  }
}

void WeightEnumerator::copyTo(WeightEnumerator& other, const ConvCode& code) const {
  for (std::int32_t to = 0; to < code.stateCount; ++to) {
    for (std::int32_t from = 0; from < code.stateCount; ++from) {
      other.transferMatrix.at(to, from) = transferMatrix.at(to, from);
    }
  }
  copyRows(cwef, other.cwef, code);
  copyRows(cwefDouble, other.cwefDouble, code);
}

template <typename Cell>
void WeightEnumerator::copyRows(const BasicLogTable<Cell>& from, BasicLogTable<Cell>& to,
                                const ConvCode& code) const {
  const std::int32_t lastRow = std::min(code.outputLength(frameLength), from.rows() - 1);
  const auto rowBytes = static_cast<std::size_t>(frameLength + 1) * sizeof(Cell);
  for (std::int32_t d = 0; d <= lastRow; ++d) {
    std::memcpy(to.row(d), from.row(d), rowBytes);
  }
}

}  // namespace brevandor
