#include "progress/stage_progress.h"

#include <algorithm>
#include <cstdio>
#include <numeric>

#include "progress/progress_report.h"

namespace brevandor {

namespace {

// The plan's pace: an expected second takes a second.
constexpr double kPlannedPace = 1000.0;

}  // namespace

std::string durationText(std::int64_t milliseconds) {
  const std::int64_t seconds = std::max<std::int64_t>(milliseconds, 0) / 1000;
  char text[64];
  if (seconds < 1) {
    return "less than 1 s";
  }
  if (seconds < 60) {
    std::snprintf(text, sizeof text, "%lld s", static_cast<long long>(seconds));
  } else if (seconds < 3600) {
    std::snprintf(text, sizeof text, "%lld min %02lld s", static_cast<long long>(seconds / 60),
                  static_cast<long long>(seconds % 60));
  } else {
    std::snprintf(text, sizeof text, "%lld h %02lld min", static_cast<long long>(seconds / 3600),
                  static_cast<long long>(seconds / 60 % 60));
  }
  return text;
}

StageProgress::StageProgress(const RunContext& context, std::vector<double> expectedSeconds)
    : context_(context), expected_(std::move(expectedSeconds)), startClock_(context.clock()) {
  // Weights must be positive for the run's fraction to grow with every stage.
  for (double& seconds : expected_) {
    seconds = std::max(seconds, 1e-3);
  }
  last_.stageCount = static_cast<std::int32_t>(expected_.size());
}

void StageProgress::stageStarted() {
  // The pace counts from the first long stage on: what comes before it is quick and does not
  // scale with the stages' work.
  if (stage_ == 0) {
    startClock_ = context_.clock();
  }
  ++stage_;
  if (static_cast<std::size_t>(stage_) > expected_.size()) {
    // A stage the plan did not know of: give it the mean of the others.
    const double mean = expected_.empty()
                            ? 1.0
                            : std::accumulate(expected_.begin(), expected_.end(), 0.0) /
                                  static_cast<double>(expected_.size());
    expected_.push_back(mean);
  }
  post(0.0, -1);
}

void StageProgress::stepDone(std::int64_t done, std::int64_t remaining,
                             std::int64_t stageRemainingMs) {
  if (stage_ == 0) {
    return;
  }
  const std::int64_t total = done + std::max<std::int64_t>(remaining, 0);
  const double fraction =
      total > 0 ? std::clamp(static_cast<double>(done) / static_cast<double>(total), 0.0, 1.0)
                : 1.0;
  post(fraction, stageRemainingMs);
}

void StageProgress::stageFinished() {
  if (stage_ > 0) {
    post(1.0, 0);
  }
}

void StageProgress::post(double stageFraction, std::int64_t stageEndMs) {
  const auto current = static_cast<std::size_t>(stage_ - 1);
  const double total = std::accumulate(expected_.begin(), expected_.end(), 0.0);
  const double before = std::accumulate(expected_.begin(), expected_.begin() + current, 0.0);
  const double after = total - before - expected_[current];
  const double done = before + stageFraction * expected_[current];
  const std::int32_t now = context_.clock();

  RunProgress progress;
  progress.stage = stage_;
  progress.stageCount = static_cast<std::int32_t>(expected_.size());
  progress.stageFraction = stageFraction;
  progress.runFraction = std::clamp(done / total, 0.0, 1.0);
  // Real time per expected second: the plan's at first, the measured one as the work up to
  // this stage's end gets done.
  const std::int64_t elapsedMs = ProgressReport::elapsedMilliseconds(startClock_, now);
  const double measured = done > 0.0 ? static_cast<double>(elapsedMs) / done : kPlannedPace;
  const double trust = std::clamp(done / (before + expected_[current]), 0.0, 1.0);
  const double pace = (1.0 - trust) * kPlannedPace + trust * measured;
  const double stageLeft =
      stageEndMs == 0 ? 0.0 : (1.0 - stageFraction) * expected_[current] * pace;
  progress.stageRemainingMs = static_cast<std::int64_t>(stageLeft);
  progress.runRemainingMs = static_cast<std::int64_t>(stageLeft + after * pace);
  last_ = progress;
  const std::int64_t stageRemainingMs = progress.stageRemainingMs;

  // "Stage 2 of 3: 45 %, 1 min 12 s left; whole run: 67 %, 3 min 05 s left", short enough
  // for a terminal's status line.
  char text[64];
  std::snprintf(text, sizeof text, "Stage %d of %d: %d %%", progress.stage, progress.stageCount,
                static_cast<int>(stageFraction * 100.0));
  std::string line = text;
  if (stageRemainingMs >= 0) {
    line += ", " + durationText(stageRemainingMs) + " left";
  }
  std::snprintf(text, sizeof text, "; whole run: %d %%",
                static_cast<int>(progress.runFraction * 100.0));
  line += text;
  if (progress.runRemainingMs >= 0) {
    line += ", " + durationText(progress.runRemainingMs) + " left";
  }
  context_.postProgress(progress, line);
}

}  // namespace brevandor
