#pragma once

#include <cstdint>
#include <string>

#include "progress/run_context.h"
#include "progress/stage_result.h"

namespace brevandor {

// The remaining-time estimate that every long stage posts to the status line: the mean
// time of the steps done so far, in units of 16 ms (sixtieths of a displayed second), times
// the steps that remain.
class ProgressReport {
 public:
  static constexpr const char* kWaitText = "--- Wait ---";
  static constexpr const char* kDoneText = "------------";
  static constexpr std::int32_t kUnitMilliseconds = 16;

  explicit ProgressReport(const RunContext& context) : context_(context) {}

  // Before the first step: reads the clock and posts "--- Wait ---".
  void start();
  // After each step that was not cancelled: times the step and posts the estimate for
  // `remaining` further steps.
  void step(std::int32_t remaining);
  // When the step loop has run to its end: posts "------------".
  void finish();

  // The status text for an estimate of `units` sixtieths of a second.
  static std::string remainingTimeText(std::int64_t units);
  // Milliseconds from one clock reading to the next, for a clock that wraps at 2^31.
  static std::int32_t elapsedMilliseconds(std::int32_t previous, std::int32_t now);

 private:
  // Whether the steps also move the run's progress across its stages.
  bool followsStages() const;

  const RunContext& context_;
  std::int32_t previousClock_ = 0;         // P, milliseconds
  std::int64_t accumulated_ = 0;           // S, units of 16 ms
  std::int64_t leftoverMilliseconds_ = 0;  // time of the steps not yet a whole unit
  std::int32_t stepsDone_ = 0;             // k
};

// The step loop of a long stage: runs `step`(i) for i = 0 … count − 1 in order, with the
// remaining-time estimate after each. Cancelled when a cancel request is seen after a step
// (the status line then keeps its last text).
template <typename Step>
StageEnd forEachStep(std::int32_t count, const RunContext& context, Step&& step) {
  ProgressReport progress(context);
  progress.start();
  for (std::int32_t i = 0; i < count; ++i) {
    step(i);
    if (context.cancelRequested()) {
      return StageEnd::Cancelled;
    }
    progress.step(count - 1 - i);
  }
  progress.finish();
  return StageEnd::Completed;
}

}  // namespace brevandor
