#pragma once

#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>

#include "decoding/turbo_frame.h"
#include "progress/run_context.h"
#include "report/run_record.h"
#include "run/run_inputs.h"
#include "turbo/turbo_code.h"

namespace brevandor {

// The frame that a simulation of this turbo code sends (its lengths set), or why the code
// cannot be simulated. The frame refers to the turbo code's constituent codes.
struct SimulatedFrame {
  std::optional<TurboFrame> frame;
  std::string failure;
};
SimulatedFrame simulatedFrameOf(const TurboCode& turbo);

// The simulation the run's inputs ask for (none without `simulate`), or the refusal.
SimulationCheck simulationSettingsOf(const RunInputs& inputs);

// Whether the run's code can be simulated as asked: its frame, and the interleaver's fit to
// the frame. Empty when it can; else the refusal, for both front ends to show before the
// run starts.
std::string checkSimulation(const RunInputs& inputs);

// What the simulation will cost, for the run's estimate and memory plan: the bytes its
// threads hold while it runs, and its expected time at most on the project machine. Each point
// is counted to its window, or to its frame cap, or to its frame errors at the sphere-packing
// bound's word error rate (the lowest any code of the frame's length and rate has) where that
// is fewer frames, and cut at its time limit; every point of the grid is counted, though the
// sweep stops after a point without errors. Zero when the run does not simulate or cannot.
struct SimulationCost {
  std::uint64_t bytes = 0;
  double seconds = 0.0;
};
SimulationCost simulationCost(const RunInputs& inputs, const TurboCode& turbo, int threads);

// The "Simulated Error Rates" stage: simulates the run's code over the Eb/N0 grid, posting
// frames and errors of each point as the status line and its progress as the run's last
// stage (each point a part, done as far as its frames or frame errors are), writes the
// section and fills
// `record`. Returns 0, −1 when cancelled (the section then holds the points finished and
// the one broken off, marked), or −2 with `failure` set.
std::int32_t runSimulationStage(std::FILE* file, const RunInputs& inputs, const TurboCode& turbo,
                                const RunContext& context, RecordSimulation& record,
                                std::string& failure);

}  // namespace brevandor
