#include "progress/progress_report.h"

#include <cstdio>

#include "progress/stage_progress.h"

namespace brevandor {

std::int32_t ProgressReport::elapsedMilliseconds(std::int32_t previous, std::int32_t now) {
  // The clock counts modulo 2^31 milliseconds; taking the difference modulo 2^31 keeps a
  // step that spans the wrap positive (and never overflows).
  const std::uint32_t difference =
      static_cast<std::uint32_t>(now) - static_cast<std::uint32_t>(previous);
  return static_cast<std::int32_t>(difference & 0x7fffffffu);
}

bool ProgressReport::followsStages() const {
  // A stage that works quietly (a context with no notice target) is no stage of the run.
  return context_.stageProgress != nullptr && context_.noticeTarget != nullptr;
}

void ProgressReport::start() {
  previousClock_ = context_.clock();
  accumulated_ = 0;
  leftoverMilliseconds_ = 0;
  stepsDone_ = 0;
  context_.postStatusLine(kWaitText);
  if (followsStages()) {
    context_.stageProgress->stageStarted();
  }
}

void ProgressReport::step(std::int32_t remaining) {
  const std::int32_t now = context_.clock();
  // Whole units of the step's time count now; the milliseconds left over are carried to
  // the next step instead of being dropped, so that steps shorter than a unit still add up.
  const std::int64_t elapsed = elapsedMilliseconds(previousClock_, now) + leftoverMilliseconds_;
  previousClock_ = now;
  accumulated_ += elapsed / kUnitMilliseconds;
  leftoverMilliseconds_ = elapsed % kUnitMilliseconds;
  ++stepsDone_;
  // The total is scaled by the remaining steps before it is divided by the steps done, so
  // that a mean of less than one unit per step still gives an estimate; 64 bits keep very
  // long estimates from overflowing.
  const std::int64_t units = accumulated_ * remaining / stepsDone_;
  context_.postStatusLine(remainingTimeText(units));
  if (followsStages()) {
    context_.stageProgress->stepDone(stepsDone_, remaining, units * kUnitMilliseconds);
  }
}

void ProgressReport::finish() {
  context_.postStatusLine(kDoneText);
  if (followsStages()) {
    context_.stageProgress->stageFinished();
  }
}

std::string ProgressReport::remainingTimeText(std::int64_t units) {
  const auto hours = static_cast<long long>(units / 216000);
  const auto minutes = static_cast<long long>((units / 3600) % 60);
  const auto seconds = static_cast<long long>((units / 60) % 60);
  const auto sixtieths = static_cast<long long>(units % 60);
  char text[96];
  std::snprintf(text, sizeof text, "Est. Remaining Time = %2lld hrs, %2lld min, %2lld sec, %2lld'",
                hours, minutes, seconds, sixtieths);
  return text;
}

}  // namespace brevandor
