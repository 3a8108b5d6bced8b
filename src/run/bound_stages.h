#pragma once

#include <cstdint>
#include <cstdio>
#include <span>

#include "bounds/ebn0_grid.h"
#include "progress/run_context.h"

namespace brevandor {

// The bound stages that follow a spectrum, as every run writes them: " BER Calculation .. "
// and the "BER Bounds" section when any of its bounds is selected, then " Further Bounds
// Calculation .. " and the "Further Bounds" section likewise, each ended by " Completed ".
// The spectra are log10 values (LogZero for zero) of a code of length maxWeight with infoBits
// information bits and the given rate. Returns 0, or −1 when cancelled.
std::int32_t runBoundStages(std::FILE* file, double rate, std::span<const double> log10Codewords,
                            std::span<const double> log10Weighted, std::int32_t maxWeight,
                            std::int32_t infoBits, std::int32_t boundSelection,
                            std::int32_t furtherBounds, const EbN0Grid& grid,
                            const RunContext& context);

}  // namespace brevandor
