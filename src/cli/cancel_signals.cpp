#include "cli/cancel_signals.h"

#include <csignal>

namespace brevandor::cli {

namespace {

// The one flag the handler may touch; a lock-free atomic store is safe in a signal handler.
CancelFlag* signalledFlag = nullptr;

extern "C" void requestCancel(int /*signal*/) {
  if (signalledFlag != nullptr) {
    signalledFlag->store(1, std::memory_order_relaxed);
  }
}

}  // namespace

void cancelOnSignals(CancelFlag& flag) {
  static_assert(CancelFlag::is_always_lock_free);
  signalledFlag = &flag;
  struct sigaction action {};
  action.sa_handler = requestCancel;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESETHAND;  // the second signal takes its default course
  sigaction(SIGINT, &action, nullptr);
  sigaction(SIGTERM, &action, nullptr);
}

}  // namespace brevandor::cli
