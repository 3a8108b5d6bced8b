#include "ui/run_estimate_question.h"

#include <QMessageBox>
#include <QPushButton>
#include <algorithm>
#include <cmath>

#include "progress/stage_progress.h"
#include "run/memory_budget.h"

namespace brevandor {

QString runEstimateText(const RunEstimate& estimate, std::int32_t frameLength,
                        std::optional<std::uint64_t> availableBytes) {
  const auto milliseconds = static_cast<std::int64_t>(std::llround(estimate.seconds() * 1000.0));
  const QString time = milliseconds < 1000 ? QStringLiteral("less than a second")
                                           : QStringLiteral("about ") +
                                                 QString::fromStdString(durationText(milliseconds));
  QString text = QStringLiteral(
                     "A frame of %1 bits: this calculation is expected to take %2 and to hold "
                     "about %3 of memory")
                     .arg(frameLength)
                     .arg(time, QString::fromStdString(formatBytes(estimate.peakBytes)));
  if (availableBytes) {
    text += QStringLiteral(" (%1 available now)")
                .arg(QString::fromStdString(formatBytes(*availableBytes)));
  }
  text += QStringLiteral(".");
  if (availableBytes && estimate.peakBytes > *availableBytes) {
    text += QStringLiteral(
        "\n\nThat is more memory than the machine has available now: the "
        "calculation would stop at once and say so.");
  }
  const bool simulates =
      std::any_of(estimate.stages.begin(), estimate.stages.end(),
                  [](const StageEstimate& stage) { return stage.name == "Simulation"; });
  if (simulates) {
    text += QStringLiteral(
        " The simulation's share is an upper estimate: each point until its frame errors at "
        "the lowest error rate any code of this length and rate can have, at most to its frame "
        "cap or time limit; the sweep stops sooner after a point without errors.");
  }
  text += QStringLiteral(
      "\n\nThe estimate follows from the size of the tables and the speed of earlier "
      "calculations (h hours, min minutes, s seconds).\n\nStart it?");
  return text;
}

bool asksBeforeRun(std::int32_t frameLength, bool lowWeightMode, const RunEstimate& estimate,
                   std::optional<std::uint64_t> availableBytes) {
  const bool longFrame = !lowWeightMode && frameLength > kRunQuestionFrameLength;
  const bool large =
      availableBytes && static_cast<double>(estimate.peakBytes) >
                            kRunQuestionMemoryShare * static_cast<double>(*availableBytes);
  return longFrame || large || estimate.seconds() > kRunQuestionSeconds;
}

bool askToStartRun(QWidget* parent, const QString& caption, const QString& text) {
  QMessageBox question(QMessageBox::Question, caption, text, QMessageBox::NoButton, parent);
  question.setObjectName(QStringLiteral("runEstimateQuestion"));
  QPushButton* start = question.addButton(QStringLiteral("&Start"), QMessageBox::AcceptRole);
  start->setObjectName(QStringLiteral("startButton"));
  QPushButton* cancel = question.addButton(QStringLiteral("&Cancel"), QMessageBox::RejectRole);
  cancel->setObjectName(QStringLiteral("cancelButton"));
  question.setDefaultButton(start);
  question.setEscapeButton(cancel);
  question.exec();
  return question.clickedButton() == start;
}

}  // namespace brevandor
