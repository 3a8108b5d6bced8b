#include "cli/cancel_signals.h"

#include <csignal>

#include "report/results_file.h"

namespace brevandor::cli {

namespace {

// All the handler touches: lock-free atomics of static storage, safe in a signal handler.
CancelFlag signalledCancel{0};
std::atomic<int> signalsSeen{0};

extern "C" void requestCancel(int signal) {
  if (signalsSeen.fetch_add(1, std::memory_order_relaxed) == 0) {
    signalledCancel.store(1, std::memory_order_relaxed);
    return;
  }
  // The second signal takes its default course once this handler returns; the hidden
  // temporary file of the results goes first.
  removeTemporaryFiles();
  std::signal(signal, SIG_DFL);
  std::raise(signal);
}

}  // namespace

const CancelFlag& cancelOnSignals() {
  static_assert(CancelFlag::is_always_lock_free);
  static_assert(std::atomic<int>::is_always_lock_free);
  struct sigaction action {};
  action.sa_handler = requestCancel;
  sigemptyset(&action.sa_mask);
  sigaddset(&action.sa_mask, SIGINT);
  sigaddset(&action.sa_mask, SIGTERM);
  action.sa_flags = SA_RESTART;  // writes to the log and the file go on undisturbed
  sigaction(SIGINT, &action, nullptr);
  sigaction(SIGTERM, &action, nullptr);
  return signalledCancel;
}

void ignoreWriteSignals() {
  std::signal(SIGPIPE, SIG_IGN);
  std::signal(SIGXFSZ, SIG_IGN);
}

}  // namespace brevandor::cli
