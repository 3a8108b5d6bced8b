#pragma once

#include "progress/run_context.h"

namespace brevandor::cli {

// Makes SIGINT and SIGTERM set the returned cancel request, as "Cancel Calculation" does; the
// run then ends at its next step (a wait for a FIFO's reader at once). A second signal of
// either kind ends the process at once, leaving no temporary file behind.
// The flag lives as long as the process, so the handler never reaches a returned stack.
const CancelFlag& cancelOnSignals();

// Ignores SIGPIPE and SIGXFSZ: a closed pipe or a file-size limit then fails the write that
// meets it, and the program says so, instead of dying silently.
void ignoreWriteSignals();

}  // namespace brevandor::cli
