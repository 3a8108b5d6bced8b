#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "progress/run_context.h"
#include "run/run_inputs.h"

namespace brevandor {

// One long stage of a run as the estimate sees it, named as the log names it.
struct StageEstimate {
  std::string name;      // "CWEF", "CWEF 1", "CWEF 2", "TWEF", "BER"
  double work = 0.0;     // cells the stage's loops span
  double seconds = 0.0;  // expected time
};

// What a run will cost, worked out before it starts: the peak of its memory plan, and the
// time of each long stage (the stages that report progress, in the order the run takes them).
struct RunEstimate {
  std::uint64_t peakBytes = 0;
  std::vector<StageEstimate> stages;

  double seconds() const;
  // The expected seconds of each stage, in order.
  std::vector<double> stageSeconds() const;
};

// The estimate of the run that `inputs` describe on the context's engine and threads. The
// time of each stage is its work over the rate measured for that stage on the project
// machine, times `slowness`: how much longer this machine has taken than those rates say
// (1: as long; see measuredSlowness).
RunEstimate estimateRun(const RunInputs& inputs, const RunContext& context, double slowness = 1.0);

// The slowness that a finished run shows: the seconds it took over the seconds its estimate
// at slowness 1 gave. Only runs long enough to time well say anything (nothing below a
// second: returns 0 then).
double measuredSlowness(double expectedAtSlownessOne, double seconds);

}  // namespace brevandor
