#include <cstdint>

#include "enumerators/weight_enumerator.h"
#include "logmath/log_domain.h"

namespace brevandor {

namespace {

template <typename Cell>
void writeRepetitionCwef(BasicLogTable<Cell>& cwef, std::int32_t n, std::int32_t factor) {
  for (std::int32_t d = 0; d <= factor * n; ++d) {
    Cell* row = cwef.row(d);
    for (std::int32_t w = 0; w <= n; ++w) {
      row[w] = kLogZeroCell<Cell>;
    }
  }
  // Every input word of weight w becomes one output word of weight r · w.
  for (std::int32_t w = 0; w <= n; ++w) {
    cwef.at(factor * w, w) = static_cast<Cell>(log10Binomial(n, w));
  }
}

}  // namespace

std::int32_t WeightEnumerator::computeRepetitionCwef(const ConvCode& /*code*/) {
  if (precision == TablePrecision::Double) {
    writeRepetitionCwef(cwefDouble, frameLength, repetitionFactor);
  } else {
    writeRepetitionCwef(cwef, frameLength, repetitionFactor);
  }
  return repetitionFactor * frameLength;
}

}  // namespace brevandor
