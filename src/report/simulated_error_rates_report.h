#pragma once

#include <cstdio>

#include "report/run_record.h"

namespace brevandor {

// Writes the "Simulated Error Rates" section: the decoder, the interleaver and one row per
// simulated Eb/N0 point with frames, errors, BER and FER and their 95 % intervals.
void writeSimulatedErrorRates(std::FILE* file, const RecordSimulation& simulation);

}  // namespace brevandor
