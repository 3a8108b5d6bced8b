#pragma once

#include <cstdint>

#include "code/conv_code.h"

namespace brevandor::bench {

// The number of cells the fast CWEF writes over all its sections for this code and frame:
// the sum over sections, states and output weights of the row ranges it visits (worked out
// from the ranges alone, without computing a count).
std::int64_t cwefCellUpdates(const ConvCode& code, std::int32_t frameLength,
                             std::uint32_t countsInputBits);

}  // namespace brevandor::bench
