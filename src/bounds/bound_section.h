#pragma once

#include <cstdint>
#include <cstdio>

#include "bounds/bound_engines.h"

namespace brevandor {

// Appends the "BER Bounds" section: the rate line, one column per selected bound in the order
// UB_Q, UB_Exp, IUB_Exp, and one row per signal-to-noise point. Flushes the file.
// The rows follow the points of `grid`.
void writeBoundSection(std::FILE* file, double rate, std::int32_t mask, const BoundTables& tables,
                       const EbN0Grid& grid = {});

}  // namespace brevandor
