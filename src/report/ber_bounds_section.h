#pragma once

#include <cstdio>
#include <string>
#include <vector>

#include "bounds/bound_kinds.h"
#include "bounds/ebn0_grid.h"
#include "bounds/error_floor_estimates.h"
#include "bounds/union/bound_engines.h"

namespace brevandor {

// What a section of estimates adds to the bound section: lines of text under its title, and
// a mark at the end of each row whose sums have not settled.
struct BoundSectionNotes {
  std::string heading;          // written as it is, right after the title line
  std::vector<bool> unsettled;  // one entry per point of the grid
};
inline constexpr const char* kUnsettledMark = "unsettled";

// Appends the "BER Bounds" section: the rate line, one column per selected bound in the order
// UB_Q, UB_Exp, IUB_Exp, and one row per signal-to-noise point. Flushes the file.
// The rows follow the points of `grid`.
void writeBoundSection(std::FILE* file, double rate, BerBoundSet bounds, const BoundTables& tables,
                       const EbN0Grid& grid = {}, const BoundSectionNotes* notes = nullptr);

// Appends the low-weight mode's "BER Bounds" section: the same columns, a note under the title
// that the sums are estimates of the error floor, and the mark on each row whose sums have not
// settled.
void writeErrorFloorSection(std::FILE* file, double rate, BerBoundSet bounds,
                            const ErrorFloorEstimates& estimates, const EbN0Grid& grid = {});

}  // namespace brevandor
