#pragma once

#include <string>

#include "report/run_record.h"
#include "simulation/error_statistics.h"

namespace brevandor {

// One point's counts as the record keeps them, with its rates and 95 % intervals.
SimulatedPoint simulatedPointOf(const PointCounts& counts);

// Adds the simulated counts of `more` to those of `into`, point by point (matched by Eb/N0;
// a point only `more` holds is added), and recomputes the error rates and their intervals:
// the record of frame windows simulated apart, as one run over their union would give it.
// Refuses, leaving `into` unchanged, records of another code, decoder, interleaver or seed,
// or without a simulation. Returns the refusal, or nothing.
std::string mergeSimulatedRecord(RunRecord& into, const RunRecord& more);

}  // namespace brevandor
