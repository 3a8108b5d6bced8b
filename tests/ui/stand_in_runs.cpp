#include "stand_in_runs.h"

#include <fstream>
#include <stdexcept>
#include <thread>

namespace brevandor::testing {

void Gate::open() {
  {
    const std::lock_guard lock(mutex_);
    open_ = true;
  }
  opened_.notify_all();
}

void Gate::close() {
  const std::lock_guard lock(mutex_);
  open_ = false;
}

void Gate::wait() {
  std::unique_lock lock(mutex_);
  opened_.wait(lock, [this] { return open_; });
}

RunInputs StandInRecord::inputs() {
  const std::lock_guard lock(mutex_);
  return inputs_;
}

void StandInRecord::record(const RunInputs& inputs) {
  const std::lock_guard lock(mutex_);
  inputs_ = inputs;
  ++calls;
}

RunFunction recordingRun(Record record) {
  return [record](RunInputs inputs, const RunContext& context) {
    record->threads = context.threads;
    record->record(inputs);
    record->ended = true;
    return RunResult{RunOutcome::Cancelled, -1, {}};
  };
}

RunFunction runUntilCancelled(Record record, std::chrono::milliseconds linger) {
  return [record, linger](RunInputs inputs, const RunContext& context) {
    record->record(inputs);
    context.postLogLine("\n> Start Calculation ");
    for (int step = 0; !context.cancelRequested(); ++step) {
      context.postStatusLine("step " + std::to_string(step));
      std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    record->sawCancel = true;
    record->release.wait();
    std::this_thread::sleep_for(linger);
    context.postLogLine("\n -- Calculation Canceled \n");
    record->ended = true;
    return RunResult{RunOutcome::Cancelled, -1, {}};
  };
}

RunFunction writingRun(Record record, std::string contents) {
  return [record, contents](RunInputs inputs, const RunContext& context) {
    record->record(inputs);
    std::ofstream(inputs.resultsFileName) << contents;
    context.postLogLine(" " + inputs.resultsFileName + "  Created.");
    context.postRunFinished();
    record->ended = true;
    return RunResult{RunOutcome::Finished, 20, {}};
  };
}

RunFunction failingRun(Record record, std::string line) {
  return [record, line](RunInputs inputs, const RunContext& context) {
    record->record(inputs);
    context.postLogLine(line);
    record->ended = true;
    return RunResult{RunOutcome::Failed, -1, line};
  };
}

RunFunction throwingRun(Record record, std::string what) {
  return [record, what](RunInputs inputs, const RunContext&) -> RunResult {
    record->record(inputs);
    record->ended = true;
    throw std::runtime_error(what);
  };
}

}  // namespace brevandor::testing
