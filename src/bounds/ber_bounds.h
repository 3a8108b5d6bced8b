#pragma once

#include <cstdint>
#include <cstdio>
#include <span>

#include "bounds/ebn0_grid.h"
#include "progress/run_context.h"

namespace brevandor {

struct BoundTables;

// Which bounds a run evaluates, by bit value of the selection mask.
enum BoundMask : std::int32_t {
  UnionBoundQ = 1,    // "Union Bound (Q function)", column "UB_Q"
  UnionBoundExp = 2,  // "Union Bound (Exp)", column "UB_Exp"
  ViterbiBound = 4,   // "Viterbi Bound", column "IUB_Exp"
};

// The "BER" stage: evaluates the selected bounds at the points of `grid` (by default
// Eb/N0 = 0, 0.25, … 5 dB) from the weighted spectrum and appends the "BER Bounds" section to
// `file`. `weightedSpectrum` holds B[0 … maxWeight] as scaleSpectrum left them, divided by
// 10^weightedScale; every bound term puts that factor back, so the bounds are those of the
// true spectrum. Returns 0, or −1 when cancelled (nothing is then written).
std::int32_t computeBerBounds(std::FILE* file, double rate,
                              std::span<const double> weightedSpectrum, std::int32_t maxWeight,
                              std::int32_t mask, double weightedScale, const RunContext& context,
                              const EbN0Grid& grid = {});

// The same stage from the weighted spectrum in the log10 domain (LogZero for zero entries), as
// the spectrum stage leaves it before scaling. Identical to computeBerBounds on the scaled
// values, except that entries which scaling by 10^−e would flush to zero (frames where e is
// in the hundreds) still contribute their terms. When `written` is given, it receives the
// values the section shows.
std::int32_t computeBerBoundsFromLog10(std::FILE* file, double rate,
                                       std::span<const double> log10WeightedSpectrum,
                                       std::int32_t maxWeight, std::int32_t mask,
                                       const RunContext& context, const EbN0Grid& grid = {},
                                       BoundTables* written = nullptr);

}  // namespace brevandor
