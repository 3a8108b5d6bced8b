#include "run/calculation_run.h"

namespace brevandor {

// Placeholder until the stages are joined up: logs the start and reports a failure.
RunResult CalculationRun::execute() {
  context_.postLogLine("\n> Start Calculation ");
  return RunResult{RunOutcome::Failed, -1, "the calculation stages are not built yet"};
}

}  // namespace brevandor
