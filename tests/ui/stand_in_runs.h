#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <string>

#include "ui/run_worker.h"

namespace brevandor::testing {

// A latch the test opens to let a stand-in run go on.
class Gate {
 public:
  explicit Gate(bool open) : open_(open) {}
  void open();
  void close();
  void wait();

 private:
  std::mutex mutex_;
  std::condition_variable opened_;
  bool open_;
};

// What the stand-in runs saw and did, shared by the test and the worker thread.
struct StandInRecord {
  std::atomic<int> calls{0};
  std::atomic<int> threads{-1};  // the worker threads the last run was given
  std::atomic<bool> sawCancel{false};
  std::atomic<bool> ended{false};
  Gate release{true};  // a cancelled run waits here before it ends

  // The inputs of the last call.
  RunInputs inputs();
  void record(const RunInputs& inputs);

 private:
  std::mutex mutex_;
  RunInputs inputs_;
};

// Stand-ins with the contract of the calculation run, for testing the window's states without
// the timing of a real calculation.
using Record = std::shared_ptr<StandInRecord>;
// Records its inputs and ends at once, cancelled, posting nothing.
RunFunction recordingRun(Record record);
// Logs "\n> Start Calculation " and then posts status lines until it is cancelled; then waits
// for the record's gate, stays `linger` longer, logs "\n -- Calculation Canceled \n" and ends.
RunFunction runUntilCancelled(Record record,
                              std::chrono::milliseconds linger = std::chrono::milliseconds(0));
// Writes `contents` to the results file named in its inputs, posts RunFinished and finishes.
RunFunction writingRun(Record record, std::string contents);
// Logs `line` and ends as failed.
RunFunction failingRun(Record record, std::string line);
// Throws a runtime error with the text `what`.
RunFunction throwingRun(Record record, std::string what);

}  // namespace brevandor::testing
