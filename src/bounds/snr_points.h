#pragma once

#include <cstdint>
#include <functional>

#include "bounds/ebn0_grid.h"
#include "progress/run_context.h"

namespace brevandor {

// Runs `evaluate`(j, γ) for every point j of `grid` in increasing order, γ = Eb/N0 as a ratio,
// with the remaining-time estimate after each one. False when a cancel request is seen after
// a point (the status line then keeps its last text).
bool forEachSnrPoint(const EbN0Grid& grid, const RunContext& context,
                     const std::function<void(std::int32_t, double)>& evaluate);

}  // namespace brevandor
