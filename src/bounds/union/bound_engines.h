#pragma once

#include <cstdint>
#include <vector>

#include "bounds/bound_spectrum.h"
#include "bounds/snr_points.h"
#include "progress/run_context.h"

namespace brevandor {

// The values of the selected bounds at every signal-to-noise point. A value that a double
// holds is the literal double result; sums beyond the double range keep extended precision.
// The engines size each table to the grid's points.
struct BoundTables {
  std::vector<long double> unionQ;    // "UB_Q"
  std::vector<long double> unionExp;  // "UB_Exp"
  std::vector<long double> viterbi;   // "IUB_Exp"
};

// The two implementations of the bound evaluation behind computeBerBounds. Both fill the
// tables of the bounds selected in `mask` point by point, post the remaining-time estimate
// after each point, test the cancel request once per point and return 0, or −1 when cancelled.

// The plain per-entry evaluation: every exponent of the improved bound integrates afresh.
std::int32_t computeBoundTablesReference(const BoundSpectrum& spectrum, double rate,
                                         std::int32_t mask, const RunContext& context,
                                         BoundTables& tables, const EbN0Grid& grid = {});

// The same values, with the improved bound's integrals computed once per point and ρ.
std::int32_t computeBoundTablesFast(const BoundSpectrum& spectrum, double rate, std::int32_t mask,
                                    const RunContext& context, BoundTables& tables,
                                    const EbN0Grid& grid = {});

// Runs the engine that `context.engine` names.
std::int32_t computeBoundTables(const BoundSpectrum& spectrum, double rate, std::int32_t mask,
                                const RunContext& context, BoundTables& tables,
                                const EbN0Grid& grid = {});

// Sizes the tables to the grid's points (all zero).
void sizeBoundTables(BoundTables& tables, const EbN0Grid& grid);

}  // namespace brevandor
