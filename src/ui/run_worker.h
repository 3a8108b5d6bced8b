#pragma once

#include <QMetaType>
#include <QObject>
#include <cstdint>
#include <functional>
#include <string>
#include <thread>

#include "progress/run_context.h"
#include "run/calculation_run.h"
#include "ui/notice_bridge.h"

namespace brevandor {

// What performs one calculation on the worker thread. The window runs the real calculation;
// tests may hand in a stand-in with the same contract.
using RunFunction = std::function<RunResult(RunInputs, const RunContext&)>;

// The real calculation: CalculationRun(inputs, context).execute().
RunResult runCalculation(RunInputs inputs, const RunContext& context);

// Owns the worker thread of the window's calculations, the cancel request and the bridge that
// carries the run's notices to the window's thread. One run at a time; the thread is always
// joined, never detached, and the worker says when it has really ended.
class RunWorker : public QObject {
  Q_OBJECT

 public:
  explicit RunWorker(RunFunction run, QObject* parent = nullptr);
  // Cancels a run still going and waits for its thread.
  ~RunWorker() override;

  RunWorker(const RunWorker&) = delete;
  RunWorker& operator=(const RunWorker&) = delete;

  // Clears the cancel request and starts a run on a new thread, its calculation on `threads`
  // worker threads (0: all cores). Returns an empty text, or why no run started (one is
  // still going, or the system gave no thread).
  std::string start(RunInputs inputs, int threads = 0);
  // Asks the run in progress to stop at its next step; returns at once.
  void requestCancel();
  // Cancels the run in progress, if any, and waits until its thread has ended. runEnded is
  // not emitted for a run ended this way.
  void stopAndWait();
  // True from start until the run's thread has been joined.
  bool isActive() const { return thread_.joinable(); }
  // How the last joined run ended.
  const RunResult& lastResult() const { return lastResult_; }
  // The notices of the runs, delivered on the window's thread.
  NoticeBridge& notices() { return bridge_; }

 signals:
  // The run's thread has ended and been joined; every notice it posted came before this.
  void runEnded(brevandor::RunOutcome outcome);

 private:
  void threadMain(RunInputs inputs, std::uint64_t generation);
  RunResult runGuarded(RunInputs inputs);
  void onThreadEnded(std::uint64_t generation);
  void join();

  RunFunction run_;
  CancelFlag cancel_{0};
  NoticeBridge bridge_;
  RunContext context_;
  std::thread thread_;
  std::uint64_t generation_ = 0;  // tells a stale end message from the current run's
  RunResult threadResult_;        // written by the thread before it ends, read after the join
  RunResult lastResult_;
};

}  // namespace brevandor

Q_DECLARE_METATYPE(brevandor::RunOutcome)
