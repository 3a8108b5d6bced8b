#include "ui/main_dialog.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <array>

#include "run/constituent_options.h"
#include "run/field_checks.h"
#include "run/simulation_stage.h"
#include "ui/about_dialog.h"
#include "ui/advanced_setup_dialog.h"
#include "ui/app_icon.h"
#include "ui/field_marks.h"
#include "ui/log_view.h"
#include "ui/options_dialog.h"
#include "ui/path_field.h"
#include "ui/results_window.h"
#include "ui/run_exports.h"

namespace brevandor {

namespace {

const QString kCaption = QStringLiteral("Brevandor");
// The log restarts with the text that follows this many appended texts.
constexpr int kLogTextsBeforeRestart = 501;

constexpr std::array<const char*, 8> kIntroduction{
    "> This S/W calculates Distance Spectrum of ",
    "Parallelly or Serially Concatenated Systematic ",
    "Convolutional Codes. The same S-CC are used ",
    "for Both constituent codes.\n",
    "> Any suggestions or questions ?\n",
    "> Write to brevandor@example.org \n",
    "> Press 'Get it' button to compute it and save to a file. \n",
    "> You may change the values in EditBoxes.\n",
};

QString fromStd(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// The message for a text longer than the window accepts, or an empty text.
std::string lengthMessage(const QString& text) {
  return static_cast<std::size_t>(text.size()) > kMaxTextLength ? tooLongMessage(kMaxTextLength)
                                                                : std::string();
}

}  // namespace

const QString MainDialog::kQuitQuestion =
    QStringLiteral("A calculation is running. Cancel it and quit?");

MainDialog::MainDialog(RunFunction run, QWidget* parent)
    : QDialog(parent),
      worker_(std::move(run)),
      widgets_(buildMainDialogWidgets(this)),
      viewer_(new ResultsWindow(this)) {
  setObjectName(QStringLiteral("mainDialog"));
  setWindowTitle(kCaption);
  setWindowIcon(applicationIcon());
  setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                 Qt::WindowCloseButtonHint);
  connectSignals();

  widgets_.frameLength->setText(QString::number(kDefaultFrameLength));
  widgets_.numerator->setText(fromStd(kDefaultNumerator));
  widgets_.denominator->setText(fromStd(kDefaultDenominator));
  useResultsFile(fromStd(kDefaultResultsFile));
  widgets_.typeList->setCurrentIndex(0);
  setRunState(RunState::Idle);
  writeIntroduction();
  resize(500, 480);
}

MainDialog::~MainDialog() {
  worker_.stopAndWait();
}

void MainDialog::connectSignals() {
  connect(widgets_.getIt, &QPushButton::clicked, this, &MainDialog::getIt);
  connect(widgets_.cancel, &QPushButton::clicked, this, &MainDialog::cancelCalculation);
  connect(widgets_.selectFile, &QPushButton::clicked, this, &MainDialog::selectFileName);
  connect(widgets_.viewResults, &QPushButton::clicked, this, &MainDialog::viewResults);
  connect(widgets_.option, &QPushButton::clicked, this, &MainDialog::showOptions);
  connect(widgets_.advancedSetup, &QPushButton::clicked, this, &MainDialog::showAdvancedSetup);
  connect(widgets_.info, &QPushButton::clicked, this, &MainDialog::showAbout);
  connect(widgets_.exit, &QPushButton::clicked, this, &MainDialog::exitDialog);
  // Notices touch only the log and the status line, never the fields the user edits.
  connect(&worker_.notices(), &NoticeBridge::logLine, this, &MainDialog::appendLog);
  connect(&worker_.notices(), &NoticeBridge::statusLine, this, &MainDialog::showStatus);
  connect(&worker_.notices(), &NoticeBridge::progress, this, &MainDialog::showProgress);
  connect(&worker_, &RunWorker::runEnded, this, &MainDialog::onRunEnded);
  // Editing a refused polynomial takes its mark away.
  connect(widgets_.numerator, &QLineEdit::textEdited, this, &MainDialog::clearCodeMessage);
  connect(widgets_.denominator, &QLineEdit::textEdited, this, &MainDialog::clearCodeMessage);
  connect(widgets_.recentFiles, &QAction::triggered, this, &MainDialog::showRecentFiles);
}

void MainDialog::writeIntroduction() {
  for (const char* text : kIntroduction) {
    appendLog(QString::fromLatin1(text));
  }
}

void MainDialog::appendLog(const QString& text) {
  const int count = logLineCount_++;
  if (count > kLogTextsBeforeRestart - 1) {
    widgets_.log->clear();
    logLineCount_ = 0;
  }
  // Always at the end, wherever the user has put the caret in the log.
  widgets_.log->appendAtEnd(text);
}

void MainDialog::showStatus(const QString& text) {
  // While a cancelled run winds down, the status line keeps saying so; once the run reports
  // progress across its stages, the line shows that instead of each stage's own estimate.
  if (state_ == RunState::Stopping || progressShown_) {
    return;
  }
  widgets_.statusLine->setText(text);
}

void MainDialog::useResultsFile(const QString& path) {
  resultsPath_ = path;
  settings_.inputs.resultsFileName = QFile::encodeName(path).toStdString();
  widgets_.fileName->setPath(path);
}

std::optional<std::int32_t> MainDialog::readFields() {
  // One byte a character, so that the frame length is read from its first 31 characters.
  // Low-weight mode (Advanced Setup) accepts longer frames.
  const FrameLengthCheck frameLength = checkFrameLength(
      widgets_.frameLength->text().toLatin1().toStdString(), settings_.inputs.maxWeight);
  // The fields in the order in which the window has always read them: the first failure is
  // the one shown.
  const std::array<std::pair<QLineEdit*, std::string>, 4> checks{{
      {widgets_.frameLength, frameLength.message},
      {widgets_.numerator, lengthMessage(widgets_.numerator->text())},
      {widgets_.fileName, lengthMessage(QFileInfo(resultsPath_).fileName())},
      {widgets_.denominator, lengthMessage(widgets_.denominator->text())},
  }};
  for (const auto& [field, message] : checks) {
    if (!message.empty()) {
      showMessage(fromStd(message), true);
      field->setFocus();
      field->selectAll();
      return std::nullopt;
    }
  }
  return frameLength.value;
}

void MainDialog::getIt() {
  // No new run before the thread of the previous one has ended.
  if (worker_.isActive()) {
    return;
  }
  settings_.inputs.inputFrameLength = -1;
  const std::optional<std::int32_t> frameLength = readFields();
  if (!frameLength) {
    return;
  }
  const std::optional<CodeDescription> code = readCode();
  if (!code) {
    return;
  }
  settings_.inputs.code = *code;
  settings_.inputs.selectedType = static_cast<ConcatenationType>(widgets_.typeList->currentIndex());
  // The second code and the patterns of Advanced Setup, against this code and type.
  const ConstituentOptionsCheck options = checkConstituentOptions(settings_.inputs);
  if (!options) {
    appendLog(QStringLiteral("\n Advanced Setup: %1 \n").arg(fromStd(options.refusal())));
    return;
  }
  for (const std::string& warning : options.warnings) {
    appendLog(QStringLiteral("\n Advanced Setup, warning: %1 \n").arg(fromStd(warning)));
  }
  // An export that could not be written after the run refuses the run now.
  if (const QString problems = exportProblemsBeside(resultsPath_, settings_.exports);
      !problems.isEmpty()) {
    appendLog(problems);
    return;
  }
  if (const std::string refusal =
          exportWithoutContent(settings_.exports, settings_.inputs.simulation.simulate);
      !refusal.empty()) {
    appendLog(QStringLiteral("\n Advanced Setup: %1 \n").arg(fromStd(refusal)));
    return;
  }
  settings_.inputs.inputFrameLength = *frameLength;
  // The simulation's settings, against this code and frame.
  if (const std::string refusal = checkSimulation(settings_.inputs); !refusal.empty()) {
    settings_.inputs.inputFrameLength = -1;
    appendLog(QStringLiteral("\n Advanced Setup: %1 \n").arg(fromStd(refusal)));
    return;
  }
  if (!confirmRunEstimate()) {
    settings_.inputs.inputFrameLength = -1;
    return;
  }
  const std::string failure = worker_.start(settings_.inputs, settings_.threads);
  if (!failure.empty()) {
    appendLog(QStringLiteral("\n -- Cannot start the calculation : %1 \n").arg(fromStd(failure)));
    return;
  }
  startProgress();
  setRunState(RunState::Running);
  saveMemory();
}

std::optional<CodeDescription> MainDialog::readCode() {
  clearCodeMessage();
  // A lowercase d can only mean D; the fields show the text that is read.
  for (QLineEdit* field : {widgets_.numerator, widgets_.denominator}) {
    if (field->text().contains(QLatin1Char('d'))) {
      field->setText(field->text().replace(QLatin1Char('d'), QLatin1Char('D')));
    }
  }
  const std::string numerator = widgets_.numerator->text().toStdString();
  const std::string denominator = widgets_.denominator->text().toStdString();
  const CodeFromTexts code = codeFromTexts(numerator, denominator);
  if (!code) {
    appendLog(fromStd(code.message));
    // The message names what failed; the hint says what is read.
    appendLog(QStringLiteral(
        "\n    Accepted: terms 1, D, D^2 ... D^9 (or D2 ... D9), each at most once, joined by "
        "'+', such as 1+D+D^2; a denominator needs the term 1. \n"));
    // A feedback without its constant term is the denominator's fault; a code of too low a
    // degree is both polynomials' together.
    const bool feedback = code.message == kFeedbackWithoutConstantTerm;
    QList<QLineEdit*> refused;
    if (code.field == CodeField::Numerator) {
      refused = {widgets_.numerator};
    } else if (code.field == CodeField::Denominator || feedback) {
      refused = {widgets_.denominator};
    } else {
      refused = {widgets_.numerator, widgets_.denominator};
    }
    const QString name = refused.size() > 1                      ? QStringLiteral("Code")
                         : refused.front() == widgets_.numerator ? QStringLiteral("Numerator")
                                                                 : QStringLiteral("Denominator");
    for (QLineEdit* field : refused) {
      markRefused(field, true);
    }
    showFieldMessage(widgets_.codeMessage,
                     name + QStringLiteral(": ") + fromStd(code.message).simplified());
    refused.front()->setFocus();
    return std::nullopt;
  }
  if (parityRepeatsInput(numerator, denominator)) {
    const QString warning = QStringLiteral(
        "Warning : the numerator equals the denominator, so the parity bit only repeats the "
        "input bit ");
    appendLog(QLatin1Char(' ') + warning + QLatin1Char('\n'));
    showFieldMessage(widgets_.codeMessage, warning.trimmed());
  }
  return code.description;
}

void MainDialog::clearCodeMessage() {
  markRefused(widgets_.numerator, false);
  markRefused(widgets_.denominator, false);
  showFieldMessage(widgets_.codeMessage, {});
}

void MainDialog::cancelCalculation() {
  if (state_ != RunState::Running) {
    return;
  }
  worker_.requestCancel();
  setRunState(RunState::Stopping);
  widgets_.statusLine->setText(QStringLiteral("Stopping ..."));
}

void MainDialog::onRunEnded(RunOutcome outcome) {
  const bool wasStopping = state_ == RunState::Stopping;
  setRunState(RunState::Idle);
  if (wasStopping) {
    widgets_.statusLine->clear();
  }
  endProgress(outcome);
  if (outcome == RunOutcome::Finished) {
    const std::shared_ptr<const RunRecord>& record = worker_.lastResult().record;
    viewer_->addRun(record, resultsPath_);
    if (const QString failure = writeExportsBeside(record.get(), resultsPath_, settings_.exports);
        !failure.isEmpty()) {
      appendLog(failure);
      // The run is not "Completed" while its exports are missing.
      widgets_.statusLine->setText(failure.trimmed().remove(0, 3));
    }
    viewResults();
  } else if (const QString removed = removeExportsBeside(
                 resultsPath_, settings_.exports,
                 outcome == RunOutcome::Cancelled ? "the run was cancelled" : "the run failed");
             !removed.isEmpty()) {
    appendLog(removed);
  }
  emit calculationEnded(outcome);
}

void MainDialog::setRunState(RunState state) {
  state_ = state;
  const bool running = state == RunState::Running;
  // "Get it" waits for the end of a cancelled run; the rest of the idle group returns at once.
  widgets_.getIt->setEnabled(state == RunState::Idle);
  widgets_.selectFile->setEnabled(!running);
  widgets_.exit->setEnabled(!running);
  widgets_.viewResults->setEnabled(!running);
  widgets_.option->setEnabled(!running);
  widgets_.cancel->setEnabled(running);
  widgets_.recentFiles->setEnabled(!running);
}

void MainDialog::selectFileName() {
  const QString path =
      QFileDialog::getSaveFileName(this, QStringLiteral("Select File Name"), QString(),
                                   QStringLiteral("Text Files (*.txt);;All Files (*)"));
  if (!path.isEmpty()) {
    useResultsFile(path);
  }
}

void MainDialog::viewResults() {
  viewer_->showFile(resultsPath_);
}

void MainDialog::showOptions() {
  settings_.inputs.boundSelection = OptionsDialog::choose(settings_.inputs.boundSelection, this);
  saveMemory();
}

void MainDialog::showAdvancedSetup() {
  settings_ = AdvancedSetupDialog::choose(settings_, this);
  showAdvancedSummary();
  saveMemory();
}

void MainDialog::showAdvancedSummary() {
  const QString summary = advancedSummary(settings_);
  widgets_.advancedSummary->setText(QStringLiteral("Advanced setup: ") + summary);
  widgets_.advancedSummary->setVisible(!summary.isEmpty());
}

void MainDialog::showAbout() {
  AboutDialog about(this);
  about.exec();
}

void MainDialog::exitDialog() {
  if (readFields()) {
    accept();
  }
}

void MainDialog::keyPressEvent(QKeyEvent* event) {
  if (event->matches(QKeySequence::Cancel)) {
    event->accept();
    return;
  }
  QDialog::keyPressEvent(event);
}

void MainDialog::closeEvent(QCloseEvent* event) {
  // A run being cancelled already is only waited for; a running one is thrown away only
  // when the user says so.
  if (state_ == RunState::Running && !confirmQuitDuringRun()) {
    event->ignore();
    return;
  }
  QDialog::closeEvent(event);  // rejects the dialog: done() cancels the run and waits
}

bool MainDialog::confirmQuitDuringRun() {
  QMessageBox question(QMessageBox::Question, kCaption, kQuitQuestion,
                       QMessageBox::Yes | QMessageBox::No, this);
  question.setObjectName(QStringLiteral("quitQuestion"));
  question.setDefaultButton(QMessageBox::No);
  question.setEscapeButton(QMessageBox::No);
  return question.exec() == QMessageBox::Yes;
}

void MainDialog::done(int result) {
  worker_.stopAndWait();
  saveMemory();
  if (state_ != RunState::Idle) {
    setRunState(RunState::Idle);
  }
  viewer_->close();
  QDialog::done(result);
}

void MainDialog::showMessage(const QString& text, bool warning) {
  QMessageBox box(warning ? QMessageBox::Warning : QMessageBox::NoIcon, kCaption, text,
                  QMessageBox::Ok, this);
  box.exec();
}

}  // namespace brevandor
