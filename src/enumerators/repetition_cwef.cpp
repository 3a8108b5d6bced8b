#include <cstdint>

#include "enumerators/weight_enumerator.h"
#include "logmath/log_domain.h"

namespace brevandor {

std::int32_t WeightEnumerator::computeRepetitionCwef(const ConvCode& /*code*/) {
  const std::int32_t n = frameLength;
  const std::int32_t maxOutput = repetitionFactor * n;
  for (std::int32_t d = 0; d <= maxOutput; ++d) {
    float* row = cwef.row(d);
    for (std::int32_t w = 0; w <= n; ++w) {
      row[w] = kLogZeroFloat;
    }
  }
  // Every input word of weight w becomes one output word of weight r · w.
  for (std::int32_t w = 0; w <= n; ++w) {
    cwef.at(repetitionFactor * w, w) = static_cast<float>(log10Binomial(n, w));
  }
  return maxOutput;
}

}  // namespace brevandor
