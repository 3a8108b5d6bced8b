#pragma once

#include <QDialog>
#include <QString>
#include <cstdint>
#include <optional>

#include "run/run_inputs.h"
#include "ui/advanced_options.h"
#include "ui/main_dialog_layout.h"
#include "ui/run_worker.h"

namespace brevandor {

class ResultsViewer;

// The program's main window. The user enters the constituent code as numerator over
// denominator, the concatenation type, the frame length and the results file; "Get it"
// validates them and starts the calculation on the worker thread; the run's log and status
// notices show in the log and the status line; a completed run opens the results viewer.
class MainDialog : public QDialog {
  Q_OBJECT

 public:
  // `run` performs each calculation on the worker thread (the real one unless a test says).
  explicit MainDialog(RunFunction run = runCalculation, QWidget* parent = nullptr);
  // Cancels a run still going and waits for it.
  ~MainDialog() override;

  // Appends one text to the log, as a log notice does; every 502nd text since the log was
  // last restarted replaces the whole log.
  void appendLog(const QString& text);
  // Makes `path` the results file: the next run writes it and the viewer shows it; the
  // file-name field shows its bare name.
  void useResultsFile(const QString& path);

  // The run inputs as the last "Get it" stored them (frame length −1 after a refusal).
  const RunInputs& runInputs() const { return settings_.inputs; }
  // The run inputs and the advanced settings the next run uses.
  const RunSettings& runSettings() const { return settings_; }
  // The bound selection the next run uses.
  std::int32_t boundSelection() const { return settings_.inputs.boundSelection; }
  // The full path of the results file.
  const QString& resultsPath() const { return resultsPath_; }
  // True while a run's thread has not ended.
  bool isCalculating() const { return worker_.isActive(); }
  // The results viewer (hidden until a run completes or "View Results" is pressed).
  ResultsViewer* resultsViewer() const { return viewer_; }

  // Ends the dialog; a run still going is cancelled and waited for first.
  void done(int result) override;

  // The question asked when the window is closed during a calculation.
  static const QString kQuitQuestion;

 signals:
  // A run's thread has ended and the window is idle again.
  void calculationEnded(brevandor::RunOutcome outcome);

 private:
  enum class RunState { Idle, Running, Stopping };

  void connectSignals();
  void writeIntroduction();
  void getIt();
  void cancelCalculation();
  void selectFileName();
  void viewResults();
  void showOptions();
  void showAdvancedSetup();
  void showAbout();
  void exitDialog();
  void showStatus(const QString& text);
  void onRunEnded(RunOutcome outcome);

  // Reads and checks the fields in their fixed order; the frame length when all pass,
  // else shows the first failure, focuses its field and returns nothing.
  std::optional<std::int32_t> readFields();
  void setRunState(RunState state);
  void showMessage(const QString& text, bool warning);
  void showAdvancedSummary();
  // Asks whether to cancel the running calculation and quit; true for "Yes".
  bool confirmQuitDuringRun();

  // Escape never closes the window.
  void keyPressEvent(QKeyEvent* event) override;
  // Closing during a calculation asks first; only "Yes" cancels the run, waits and closes.
  void closeEvent(QCloseEvent* event) override;

  RunWorker worker_;  // declared first among the members that the run's notices reach
  MainDialogWidgets widgets_;
  ResultsViewer* viewer_;
  RunSettings settings_;
  QString resultsPath_;
  RunState state_ = RunState::Idle;
  int logLineCount_ = 0;  // texts appended since the log was last restarted
};

}  // namespace brevandor
