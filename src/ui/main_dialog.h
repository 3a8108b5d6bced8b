#pragma once

#include <QDialog>
#include <QElapsedTimer>
#include <QString>
#include <cstdint>
#include <optional>

#include "run/run_inputs.h"
#include "ui/advanced_options.h"
#include "ui/main_dialog_layout.h"
#include "ui/run_worker.h"
#include "ui/window_memory.h"

namespace brevandor {

class ResultsWindow;

// The program's main window. The user enters the constituent code as numerator over
// denominator, the concatenation type, the frame length and the results file; "Get it"
// validates them and starts the calculation on the worker thread; the run's log and status
// notices show in the log and the status line; a completed run opens the results window.
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
  // file-name field shows its full path.
  void useResultsFile(const QString& path);

  // Remembers the inputs, options, window size and recent results files in the INI file
  // `settingsFile`: restores what it holds now, and writes to it from now on.
  void rememberIn(const QString& settingsFile);
  // The results files of recent completed runs, most recent first.
  QStringList recentResultsFiles() const { return memory_.recentFiles; }

  // The run inputs as the last "Get it" stored them (frame length −1 after a refusal).
  const RunInputs& runInputs() const { return settings_.inputs; }
  // The run inputs and the advanced settings the next run uses.
  const RunSettings& runSettings() const { return settings_; }
  // The bound selection the next run uses.
  BerBoundSet boundSelection() const { return settings_.inputs.boundSelection; }
  // The full path of the results file.
  const QString& resultsPath() const { return resultsPath_; }
  // True while a run's thread has not ended.
  bool isCalculating() const { return worker_.isActive(); }
  // The results window (hidden until a run completes or "View Results" is pressed).
  ResultsWindow* resultsViewer() const { return viewer_; }

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
  void showProgress(const RunProgress& progress);
  void onRunEnded(RunOutcome outcome);

  // Reads and checks the fields in their fixed order; the frame length when all pass,
  // else shows the first failure, focuses its field and returns nothing.
  std::optional<std::int32_t> readFields();
  void setRunState(RunState state);
  void showMessage(const QString& text, bool warning);
  void showAdvancedSummary();
  // The polynomial fields' texts, with a lowercase "d" taken as "D"; the code they describe,
  // or nothing after marking the refused field and saying why beside it and in the log.
  std::optional<CodeDescription> readCode();
  // Clears the mark and the message of the polynomial fields.
  void clearCodeMessage();
  // Asks before a long or large run, with its time and memory estimate; true to start.
  bool confirmRunEstimate();
  void startProgress();
  void endProgress(RunOutcome outcome);
  // The memory of the window as it stands, and putting a memory into the window.
  WindowMemory currentMemory() const;
  void applyMemory(const WindowMemory& memory);
  void saveMemory();
  void showRecentFiles();
  // Asks whether to cancel the running calculation and quit; true for "Yes".
  bool confirmQuitDuringRun();

  // Escape never closes the window.
  void keyPressEvent(QKeyEvent* event) override;
  // Closing during a calculation asks first; only "Yes" cancels the run, waits and closes.
  void closeEvent(QCloseEvent* event) override;

  RunWorker worker_;  // declared first among the members that the run's notices reach
  MainDialogWidgets widgets_;
  ResultsWindow* viewer_;
  RunSettings settings_;
  QString resultsPath_;
  RunState state_ = RunState::Idle;
  int logLineCount_ = 0;           // texts appended since the log was last restarted
  bool progressShown_ = false;     // the run has reported progress across its stages
  QElapsedTimer runClock_;         // since the current run started
  double runEstimateAtOne_ = 0.0;  // its estimate at slowness 1, seconds
  WindowMemory memory_;            // recent files and slowness; the rest is in the fields
  QString settingsFile_;           // empty: nothing is remembered
};

}  // namespace brevandor
