#include "ui/run_worker.h"

#include <QMetaObject>
#include <exception>
#include <system_error>
#include <utility>

namespace brevandor {

RunResult runCalculation(RunInputs inputs, const RunContext& context) {
  return CalculationRun(std::move(inputs), context).execute();
}

RunWorker::RunWorker(RunFunction run, QObject* parent)
    : QObject(parent), run_(std::move(run)), bridge_(this) {
  context_.cancelFlag = &cancel_;
  context_.noticeTarget = &bridge_;
  context_.engine = Engine::Fast;
  context_.threads = 0;  // every core of the machine
}

RunWorker::~RunWorker() {
  stopAndWait();
}

std::string RunWorker::start(RunInputs inputs, int threads) {
  if (thread_.joinable()) {
    return "a calculation is still going";
  }
  cancel_.store(0, std::memory_order_relaxed);
  context_.threads = threads;  // read by the new thread only
  const std::uint64_t generation = ++generation_;
  try {
    thread_ = std::thread(&RunWorker::threadMain, this, std::move(inputs), generation);
  } catch (const std::system_error& error) {
    return error.what();
  }
  return {};
}

void RunWorker::requestCancel() {
  cancel_.store(1, std::memory_order_relaxed);
}

void RunWorker::stopAndWait() {
  if (!thread_.joinable()) {
    return;
  }
  requestCancel();
  join();
}

void RunWorker::threadMain(RunInputs inputs, std::uint64_t generation) {
  threadResult_ = runGuarded(std::move(inputs));
  // Queued behind every notice this thread has posted, so the window sees them first.
  QMetaObject::invokeMethod(
      this, [this, generation]() { onThreadEnded(generation); }, Qt::QueuedConnection);
}

RunResult RunWorker::runGuarded(RunInputs inputs) {
  // The run promises that nothing escapes it; should something still, the log says what and
  // the window returns to idle.
  std::string failure;
  try {
    return run_(std::move(inputs), context_);
  } catch (const std::exception& error) {
    failure = error.what();
  } catch (...) {
    failure = "unknown error";
  }
  context_.postLogLine("\n -- Calculation Failed : " + failure + " \n");
  return RunResult{RunOutcome::Failed, -1, failure};
}

void RunWorker::onThreadEnded(std::uint64_t generation) {
  // A run already joined by stopAndWait, or an older run's message, is not reported again.
  if (generation != generation_ || !thread_.joinable()) {
    return;
  }
  join();
  emit runEnded(lastResult_.outcome);
}

void RunWorker::join() {
  thread_.join();
  lastResult_ = std::move(threadResult_);
  threadResult_ = RunResult{};
}

}  // namespace brevandor
