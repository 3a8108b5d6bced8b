// The main window's view of a run's progress: the bar across all stages, the status line with
// the whole run's remaining time, the estimate asked about before a long run, and what a
// finished run teaches about this machine's speed.
#include <QLineEdit>
#include <QProgressBar>
#include <cmath>

#include "progress/stage_progress.h"
#include "run/memory_budget.h"
#include "run/run_estimate.h"
#include "ui/main_dialog.h"
#include "ui/path_field.h"
#include "ui/run_estimate_question.h"

namespace brevandor {

namespace {

QString fromStd(const std::string& text) {
  return QString::fromStdString(text);
}

}  // namespace

bool MainDialog::confirmRunEstimate() {
  RunContext context;
  context.threads = settings_.threads;
  const RunEstimate estimate = estimateRun(settings_.inputs, context, memory_.slowness);
  runEstimateAtOne_ = estimate.seconds() / memory_.slowness;
  const std::optional<std::uint64_t> available = availableMemoryBytes();
  if (!asksBeforeRun(settings_.inputs.inputFrameLength, settings_.inputs.maxWeight > 0, estimate,
                     available)) {
    return true;
  }
  return askToStartRun(this, windowTitle(),
                       runEstimateText(estimate, settings_.inputs.inputFrameLength, available));
}

void MainDialog::startProgress() {
  progressShown_ = false;
  runClock_.start();
  widgets_.progress->setValue(0);
  widgets_.progress->setFormat(QStringLiteral("Starting ..."));
}

void MainDialog::showProgress(const RunProgress& progress) {
  if (state_ != RunState::Running) {
    return;
  }
  progressShown_ = true;
  widgets_.progress->setValue(
      static_cast<int>(std::lround(progress.runFraction * widgets_.progress->maximum())));
  widgets_.progress->setFormat(QStringLiteral("Stage %1 of %2: %3 %  \u00b7  whole run %4 %")
                                   .arg(progress.stage)
                                   .arg(progress.stageCount)
                                   .arg(static_cast<int>(progress.stageFraction * 100.0))
                                   .arg(static_cast<int>(progress.runFraction * 100.0)));
  if (progress.runRemainingMs < 0) {
    return;
  }
  // "about" goes with a number of seconds, not with "less than 1 s".
  const auto around = [](std::int64_t milliseconds) {
    const QString text = fromStd(durationText(milliseconds));
    return milliseconds < 1000 ? text : QStringLiteral("about ") + text;
  };
  QString status =
      QStringLiteral("Remaining: %1 for the whole run").arg(around(progress.runRemainingMs));
  if (progress.stageRemainingMs >= 0) {
    status += QStringLiteral(", %1 for stage %2 of %3")
                  .arg(fromStd(durationText(progress.stageRemainingMs)))
                  .arg(progress.stage)
                  .arg(progress.stageCount);
  }
  widgets_.statusLine->setText(status);
}

void MainDialog::endProgress(RunOutcome outcome) {
  if (outcome != RunOutcome::Finished) {
    widgets_.progress->setFormat(QStringLiteral("Stopped at %p %"));
    // The time left of a run that has ended is no longer true.
    if (widgets_.statusLine->text().startsWith(QStringLiteral("Remaining:"))) {
      widgets_.statusLine->clear();
    }
    return;
  }
  const std::int64_t elapsedMs = runClock_.elapsed();
  widgets_.progress->setValue(widgets_.progress->maximum());
  widgets_.progress->setFormat(QStringLiteral("Completed"));
  widgets_.statusLine->setText(
      QStringLiteral("Completed in %1").arg(fromStd(durationText(elapsedMs))));
  // A long enough run says how fast this machine is; half of it goes into the memory, so one
  // unusual run does not swing the next estimate far.
  const double slowness =
      measuredSlowness(runEstimateAtOne_, static_cast<double>(elapsedMs) / 1000.0);
  if (slowness > 0.0) {
    memory_.slowness = std::sqrt(memory_.slowness * slowness);
  }
  memory_.addRecentFile(widgets_.fileName->path());
  saveMemory();
}

}  // namespace brevandor
