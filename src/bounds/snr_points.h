#pragma once

#include <cstdint>
#include <functional>

#include "bounds/ebn0_grid.h"
#include "progress/run_context.h"

namespace brevandor {

// The signal-to-noise points of the bounds: Eb/N0 = 0, 0.25, … 5 dB.
inline constexpr std::int32_t kSnrPoints = 21;

// Eb/N0 of point j in dB.
inline double snrDecibels(std::int32_t j) {
  return 0.25 * j;
}

// Eb/N0 of point j as a ratio, 10^(0.025 j).
double snrRatio(std::int32_t j);

// Runs `evaluate`(j, γ) for every point in increasing order with the remaining-time estimate
// after each one. Returns 0, or −1 when a cancel request is seen after a point (the status line
// then keeps its last text).
std::int32_t forEachSnrPoint(const RunContext& context,
                             const std::function<void(std::int32_t, double)>& evaluate);

// The same over the points of `grid`.
std::int32_t forEachSnrPoint(const EbN0Grid& grid, const RunContext& context,
                             const std::function<void(std::int32_t, double)>& evaluate);

}  // namespace brevandor
