#pragma once

#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <vector>

#include "decoding/turbo_frame.h"
#include "progress/run_context.h"
#include "simulation/error_statistics.h"
#include "simulation/simulation_settings.h"

namespace brevandor {

// Called after each batch of frames with the counts of the point so far.
using PointProgress = std::function<void(const PointCounts&)>;

// The points of a sweep, in grid order; a cancelled run keeps the points it finished and
// marks the one it broke off as incomplete.
struct SimulationResult {
  std::vector<PointCounts> points;
  bool cancelled = false;
};

// Simulates one Eb/N0 point until its limits. Frames run on the context's threads in
// batches; their outcomes are added in frame order and the stop rule is checked after each
// frame, so the counts are the same for any number of threads (a time limit aside).
PointCounts simulatePoint(const TurboFrame& frame, const SimulationSettings& settings,
                          const Permutation* fixedPermutation, double ebn0Db,
                          const RunContext& context, const PointProgress& progress = {});

// Simulates the points of the grid in order; without a frame window the sweep stops after a
// point without a single frame error. Returns the refusal of the interleaver in `failure`
// when its permutation cannot be made for the frame.
struct SweepOutcome {
  SimulationResult result;
  std::string failure;
};
SweepOutcome simulateSweep(const TurboFrame& frame, const SimulationSettings& settings,
                           std::span<const double> ebn0Db, const RunContext& context,
                           const PointProgress& progress = {});

// Adds the counts of `more` to those of `into` point by point (points matched by Eb/N0);
// a point only one of them holds is kept as it is.
void mergeCounts(std::vector<PointCounts>& into, std::span<const PointCounts> more);

}  // namespace brevandor
