#pragma once

#include <cstdio>

#include "bounds/bound_kinds.h"
#include "bounds/ebn0_grid.h"
#include "bounds/further_bounds.h"

namespace brevandor {

// Appends the "Further Bounds" section: the rate line, n and K, one line naming each selected
// bound, and one row per point with one column per bound, in the layout of "BER Bounds".
// Upper bounds above 1 are shown as 1. Flushes the file.
void writeFurtherBoundSection(std::FILE* file, const FurtherBoundInputs& inputs,
                              FurtherBoundSet bounds, const FurtherBoundTables& tables,
                              const EbN0Grid& grid);

}  // namespace brevandor
