#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "progress/run_context.h"

namespace brevandor {

// "1 h 02 min", "3 min 05 s", "12 s", "less than 1 s": a duration for people, in hours (h),
// minutes (min) and seconds (s).
std::string durationText(std::int64_t milliseconds);

// Follows a run across its long stages and posts a Progress notice after each step: which
// stage of how many, the fraction done of that stage and of the whole run, and the time left
// for both. Each stage is given the time it is expected to take; the whole run's fraction
// weighs the stages by it. The time left starts from that plan and is corrected as the run
// goes: the pace (real time per expected second) moves from the plan's to the one measured
// so far in the measure that the work up to the current stage's end is done. A stage that
// goes at a steady rate, as planned or slower by up to twice, counts down without rising,
// and never sits at "less than 1 s" while much of it is left (the step-by-step estimate of the
// stage's first steps, cheaper than its last ones, did). The long stages reach it through
// their ProgressReport: every start of a report begins the next stage.
class StageProgress {
 public:
  // `expectedSeconds` holds one entry per long stage, in the order the run takes them.
  StageProgress(const RunContext& context, std::vector<double> expectedSeconds);

  // A long stage starts.
  void stageStarted();
  // One step of the current stage is done: `done` steps so far, `remaining` to come, and the
  // stage's own estimate of its remaining time.
  void stepDone(std::int64_t done, std::int64_t remaining, std::int64_t stageRemainingMs);
  // The current stage has run to its end.
  void stageFinished();

  // The notice last posted (stage 0 before the first stage starts).
  const RunProgress& last() const { return last_; }

 private:
  void post(double stageFraction, std::int64_t stageRemainingMs);

  const RunContext& context_;
  std::vector<double> expected_;  // seconds of each stage; a stage the plan lacks adds one
  std::int32_t startClock_ = 0;
  std::int32_t stage_ = 0;  // 1-based; 0 before the first
  RunProgress last_;
};

}  // namespace brevandor
