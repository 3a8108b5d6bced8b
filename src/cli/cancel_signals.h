#pragma once

#include "progress/run_context.h"

namespace brevandor::cli {

// Makes SIGINT and SIGTERM set the cancel request, as "Cancel Calculation" does; the run
// then ends at its next step. A second signal ends the process at once.
void cancelOnSignals(CancelFlag& flag);

}  // namespace brevandor::cli
