#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "bounds/bound_kinds.h"
#include "bounds/bound_spectrum.h"
#include "bounds/snr_points.h"
#include "bounds/union/union_bounds.h"
#include "progress/run_context.h"

namespace brevandor {

// The values of the selected bounds at every signal-to-noise point. A value that a double
// holds is the literal double result; sums beyond the double range keep extended precision,
// and their natural logs stay finite where even that underflows. The engines size each table
// to the grid's points.
struct BoundTables {
  std::vector<long double> unionQ;    // "UB_Q"
  std::vector<long double> unionExp;  // "UB_Exp"
  std::vector<long double> viterbi;   // "IUB_Exp"
  std::vector<long double> logUnionQ;
  std::vector<long double> logUnionExp;
  std::vector<long double> logViterbi;
};

// The two implementations of the bound evaluation behind computeBerBounds. Both fill the
// tables of the selected bounds point by point, post the remaining-time estimate after each
// point and test the cancel request once per point; nothing when cancelled.

// The plain per-entry evaluation: every exponent of the improved bound integrates afresh.
std::optional<BoundTables> computeBoundTablesReference(const BoundSpectrum& spectrum, double rate,
                                                       BerBoundSet bounds,
                                                       const RunContext& context,
                                                       const EbN0Grid& grid = {});

// The same values, with the improved bound's integrals computed once per point and ρ.
std::optional<BoundTables> computeBoundTablesFast(const BoundSpectrum& spectrum, double rate,
                                                  BerBoundSet bounds, const RunContext& context,
                                                  const EbN0Grid& grid = {});

// Runs the engine that `context.engine` names.
std::optional<BoundTables> computeBoundTables(const BoundSpectrum& spectrum, double rate,
                                              BerBoundSet bounds, const RunContext& context,
                                              const EbN0Grid& grid = {});

// The improved bound of the true spectrum at one point, as one engine works it out.
using ViterbiBoundAt = BoundValue (*)(const BoundSpectrum& spectrum, double rate, double snr);

// What both engines share: the tables sized to the grid, the union bounds and the improved
// bound of `viterbiAt` at every point, progress and the cancel request. Nothing when
// cancelled.
std::optional<BoundTables> fillBoundTables(const BoundSpectrum& spectrum, double rate,
                                           BerBoundSet bounds, const RunContext& context,
                                           const EbN0Grid& grid, ViterbiBoundAt viterbiAt);

}  // namespace brevandor
