#include <QAbstractSpinBox>
#include <QCheckBox>
#include <QDir>
#include <QFileDialog>
#include <QLabel>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QSettings>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>

#include "code/code_description.h"
#include "code/polynomial.h"
#include "main_dialog_probe.h"
#include "modal_answerer.h"
#include "stand_in_runs.h"
#include "ui/about_dialog.h"
#include "ui/advanced_setup_dialog.h"
#include "ui/field_marks.h"
#include "ui/options_dialog.h"
#include "ui/path_field.h"
#include "ui/results_window.h"
#include "ui/run_estimate_question.h"
#include "ui_test_suites.h"

namespace brevandor::testing {

// The main window without a real calculation: start-up, the refusals of "Get it", the
// estimate question before long runs, the log restart, Options, "Exit" and "Select File Name".
class MainDialogTest : public QObject {
  Q_OBJECT

 private slots:
  void startUpState() {
    const MainDialog dialog(recordingRun(std::make_shared<StandInRecord>()));
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Brevandor"));
    QCOMPARE(field(dialog, "numerator")->text(), QStringLiteral("1+D+D^2"));
    QCOMPARE(field(dialog, "denominator")->text(), QStringLiteral("1+D^2"));
    QCOMPARE(field(dialog, "frameLength")->text(), QStringLiteral("128"));
    // The field names the folder the file goes to.
    QCOMPARE(control<PathField>(dialog, "fileName")->path(),
             QDir::toNativeSeparators(QDir::current().absoluteFilePath("results.txt")));
    QCOMPARE(dialog.resultsPath(), QStringLiteral("results.txt"));
    const auto* typeList = control<QComboBox>(dialog, "typeList");
    QCOMPARE(typeList->count(), 3);
    QCOMPARE(typeList->itemText(0), QStringLiteral("PCCC"));
    QCOMPARE(typeList->itemText(1), QStringLiteral("SCCC"));
    QCOMPARE(typeList->itemText(2), QStringLiteral("SCC with 1st-RC and 2nd-CC"));
    QCOMPARE(typeList->currentIndex(), 0);
    QCOMPARE(statusText(dialog), QString());
    QCOMPARE(enabledControls(dialog), kIdle);
    QCOMPARE(dialog.boundSelection(), BerBoundSet{BerBound::UnionQ});
    QCOMPARE(logText(dialog), kIntroduction);
    QVERIFY(!dialog.resultsViewer()->isVisible());
  }

  void controlTexts() {
    const MainDialog dialog(recordingRun(std::make_shared<StandInRecord>()));
    // The captions as written, each with its own mnemonic letter.
    const std::pair<const char*, const char*> buttons[] = {
        {"infoButton", "&Info."},
        {"optionButton", "&Option"},
        {"viewResultsButton", "&View Results"},
        {"selectFileButton", "&Select File Name"},
        {"cancelButton", "&Cancel Calculation"},
        {"getItButton", "&Get it"},
        {"exitButton", "E&xit"},
        {"advancedSetupButton", "&Advncd Setup"}};
    for (const auto& [name, text] : buttons) {
      QCOMPARE(pushButton(dialog, name)->text(), QString::fromLatin1(text));
    }
    QStringList labels;
    for (const QLabel* label : dialog.findChildren<QLabel*>()) {
      labels.append(label->text());
    }
    for (const char* text : {"with", "( 1, ", ")", "Conv.\nCode", "Input &Frame Len.(bits)"}) {
      QVERIFY2(labels.contains(QString::fromLatin1(text)), text);
    }
    // Enter in a field runs the calculation instead of closing the window.
    QVERIFY(pushButton(dialog, "getItButton")->isDefault());
    QVERIFY(!pushButton(dialog, "exitButton")->isDefault());
  }

  void longPathsAreElidedInTheMiddle() {
    MainDialog dialog(recordingRun(std::make_shared<StandInRecord>()));
    dialog.show();
    const QString path = QDir::toNativeSeparators(
        QDir::tempPath() + QStringLiteral("/a folder with a rather long name/and another one "
                                          "below it/and a third/results of the long run.txt"));
    dialog.useResultsFile(path);
    const auto* shown = control<PathField>(dialog, "fileName");
    QCOMPARE(shown->toolTip(), path);
    QVERIFY2(shown->text().contains(QChar(0x2026)), qPrintable(shown->text()));
    QVERIFY2(shown->text().startsWith(path.left(4)), qPrintable(shown->text()));
    QVERIFY2(shown->text().endsWith(QStringLiteral("run.txt")), qPrintable(shown->text()));
  }

  void everyControlHasATooltip() {
    MainDialog dialog(recordingRun(std::make_shared<StandInRecord>()));
    const OptionsDialog options({BerBound::UnionQ});
    const AdvancedSetupDialog advanced{RunSettings{}};
    const AboutDialog about;
    for (const QWidget* window :
         std::initializer_list<const QWidget*>{&dialog, &options, &advanced, &about}) {
      for (const QWidget* widget : window->findChildren<QWidget*>()) {
        const bool control = qobject_cast<const QAbstractButton*>(widget) != nullptr ||
                             qobject_cast<const QLineEdit*>(widget) != nullptr ||
                             qobject_cast<const QComboBox*>(widget) != nullptr ||
                             qobject_cast<const QAbstractSpinBox*>(widget) != nullptr ||
                             qobject_cast<const QPlainTextEdit*>(widget) != nullptr ||
                             qobject_cast<const QProgressBar*>(widget) != nullptr;
        // Parts that Qt builds inside a control (a spin box's line edit) have no name or one
        // of Qt's own; the results window is a window of its own.
        const QString name = widget->objectName();
        if (control && !name.isEmpty() && !name.startsWith(QStringLiteral("qt_")) &&
            widget->window() == window) {
          QVERIFY2(!widget->toolTip().isEmpty(),
                   qPrintable(window->objectName() + QLatin1Char('/') + widget->objectName()));
        }
      }
    }
  }

  void refusedInputsStartNothing_data() {
    QTest::addColumn<QString>("frameLength");
    QTest::addColumn<QString>("numerator");
    QTest::addColumn<QString>("denominator");
    QTest::addColumn<QString>("box");
    QTest::addColumn<QString>("focused");
    QTest::addColumn<QString>("logged");
    QTest::addColumn<QString>("marked");  // the fields marked as refused

    const QString range = QStringLiteral("Please enter an integer between 10 and 10000.");
    const QString number = QStringLiteral("Please enter a positive integer.");
    QTest::newRow("frame 9") << "9"
                             << "1+D+D^2"
                             << "1+D^2" << range << "frameLength"
                             << ""
                             << "";
    QTest::newRow("frame 10001") << "10001"
                                 << "1+D+D^2"
                                 << "1+D^2" << range << "frameLength"
                                 << ""
                                 << "";
    QTest::newRow("frame empty") << ""
                                 << "1+D+D^2"
                                 << "1+D^2" << number << "frameLength"
                                 << ""
                                 << "";
    // A bad frame length is reported before any polynomial is looked at.
    QTest::newRow("frame before polynomials") << "5"
                                              << "1+X"
                                              << "1+X" << range << "frameLength"
                                              << ""
                                              << "";

    const QString grammar = QString::fromStdString(polynomialMessage(IllegalGrammar));
    const QString duplicate = QString::fromStdString(polynomialMessage(DuplicateTerm));
    const QString noTerm = QString::fromStdString(polynomialMessage(0));
    QTest::newRow("denominator first") << "128"
                                       << "1+D+D"
                                       << "1+X"
                                       << ""
                                       << "denominator" << grammar << "denominator";
    QTest::newRow("numerator alone") << "128"
                                     << "1+D+D"
                                     << "1+D^2"
                                     << ""
                                     << "numerator" << duplicate << "numerator";
    QTest::newRow("empty denominator") << "128"
                                       << "1+D"
                                       << ""
                                       << ""
                                       << "denominator" << noTerm << "denominator";
    QTest::newRow("degree too low") << "128"
                                    << "1+D"
                                    << "1"
                                    << ""
                                    << "numerator"
                                    << "Invalid Parity Equation "
                                    << "numerator denominator";
    QTest::newRow("feedback without constant term")
        << "128"
        << "1+D+D^2"
        << "D+D^2"
        << ""
        << "denominator"
        << QString::fromUtf8(kFeedbackWithoutConstantTerm.data(),
                             static_cast<qsizetype>(kFeedbackWithoutConstantTerm.size()))
        << "denominator";
  }

  void refusedInputsStartNothing() {
    QFETCH(QString, frameLength);
    QFETCH(QString, numerator);
    QFETCH(QString, denominator);
    QFETCH(QString, box);
    QFETCH(QString, focused);
    QFETCH(QString, logged);
    QFETCH(QString, marked);

    const auto record = std::make_shared<StandInRecord>();
    MainDialog dialog(recordingRun(record));
    dialog.show();
    field(dialog, "frameLength")->setText(frameLength);
    field(dialog, "numerator")->setText(numerator);
    field(dialog, "denominator")->setText(denominator);
    const ModalAnswerer boxes;
    pushButton(dialog, "getItButton")->click();

    QCOMPARE(boxes.texts(), box.isEmpty() ? QStringList{} : QStringList{box});
    if (!box.isEmpty()) {
      QCOMPARE(boxes.captions(), QStringList{QStringLiteral("Brevandor")});
    }
    QCOMPARE(dialog.focusWidget(), field(dialog, qPrintable(focused)));
    // A refused polynomial is marked, and the reason stands beside it as well as in the log.
    QStringList markedNow;
    for (const char* name : {"numerator", "denominator"}) {
      if (isMarkedRefused(field(dialog, name))) {
        markedNow.append(QLatin1String(name));
      }
    }
    QCOMPARE(markedNow.join(QLatin1Char(' ')), marked);
    const auto* beside = control<QLabel>(dialog, "codeMessage");
    QCOMPARE(beside->isVisibleTo(&dialog), !marked.isEmpty());
    if (!marked.isEmpty()) {
      QVERIFY2(beside->text().endsWith(logged.simplified()), qPrintable(beside->text()));
    }
    // A refused polynomial's message is followed by what is accepted.
    const QString hint = QStringLiteral(
        "\n    Accepted: terms 1, D, D^2 ... D^9 (or D2 ... D9), each at most once, joined by "
        "'+', such as 1+D+D^2; a denominator needs the term 1. \n");
    QCOMPARE(logText(dialog), kIntroduction + logged + (marked.isEmpty() ? QString() : hint));
    QCOMPARE(dialog.runInputs().inputFrameLength, -1);
    QCOMPARE(enabledControls(dialog), kIdle);
    // "Get it" starts its run before it returns: a window that is not calculating now
    // started none, so the stand-in can never be called.
    QVERIFY(!dialog.isCalculating());
    QCOMPARE(record->calls.load(), 0);
  }

  void lowercaseDIsReadAsDAndEqualPolynomialsWarn() {
    const auto record = std::make_shared<StandInRecord>();
    MainDialog dialog(recordingRun(record));
    dialog.show();
    QSignalSpy ended(&dialog, &MainDialog::calculationEnded);
    field(dialog, "numerator")->setText(QStringLiteral("1+d+d^2"));
    field(dialog, "denominator")->setText(QStringLiteral("1+d+D2"));
    pushButton(dialog, "getItButton")->click();

    // The code (1, g/g) only repeats its input: the run starts, with a warning.
    QTRY_COMPARE(ended.count(), 1);
    QCOMPARE(field(dialog, "numerator")->text(), QStringLiteral("1+D+D^2"));
    QCOMPARE(field(dialog, "denominator")->text(), QStringLiteral("1+D+D2"));
    QVERIFY(record->inputs().code == describeCode(7, 7).description.value());
    const QString warning = QStringLiteral(
        "Warning : the numerator equals the denominator, so the parity bit only repeats the "
        "input bit");
    QVERIFY2(logText(dialog).contains(warning), qPrintable(logText(dialog)));
    QCOMPARE(control<QLabel>(dialog, "codeMessage")->text(), warning);
    QVERIFY(!isMarkedRefused(field(dialog, "numerator")));
  }

  void editingARefusedFieldTakesItsMarkAway() {
    MainDialog dialog(recordingRun(std::make_shared<StandInRecord>()));
    dialog.show();
    field(dialog, "numerator")->setText(QStringLiteral("1+X"));
    pushButton(dialog, "getItButton")->click();
    QVERIFY(isMarkedRefused(field(dialog, "numerator")));
    QTest::keyClick(field(dialog, "numerator"), Qt::Key_Backspace);
    QVERIFY(!isMarkedRefused(field(dialog, "numerator")));
    QVERIFY(!control<QLabel>(dialog, "codeMessage")->isVisibleTo(&dialog));
  }

  void estimateQuestionBeforeLongRuns_data() {
    QTest::addColumn<QString>("frameLength");
    QTest::addColumn<double>("slowness");
    QTest::addColumn<QString>("answer");
    QTest::addColumn<bool>("asked");
    QTest::addColumn<bool>("runs");
    QTest::newRow("1000 bits: no question") << "1000" << 1.0 << "" << false << true;
    QTest::newRow("1001 bits, Start") << "1001" << 1.0 << "startButton" << true << true;
    QTest::newRow("10000 bits, Cancel") << "10000" << 1.0 << "cancelButton" << true << false;
    // A machine that ran earlier calculations a million times slower than the rates say: even
    // 128 bits take more than a minute.
    QTest::newRow("128 bits, over a minute") << "128" << 1e6 << "cancelButton" << true << false;
  }

  void estimateQuestionBeforeLongRuns() {
    QFETCH(QString, frameLength);
    QFETCH(double, slowness);
    QFETCH(QString, answer);
    QFETCH(bool, asked);
    QFETCH(bool, runs);
    const QTemporaryDir folder;
    const QString settingsFile = folder.filePath(QStringLiteral("settings.ini"));
    QSettings(settingsFile, QSettings::IniFormat).setValue("estimate/slowness", slowness);
    const auto record = std::make_shared<StandInRecord>();
    MainDialog dialog(recordingRun(record));
    dialog.rememberIn(settingsFile);
    dialog.show();
    QSignalSpy ended(&dialog, &MainDialog::calculationEnded);
    field(dialog, "frameLength")->setText(frameLength);
    QString text;
    const ModalAnswerer answerer([&](QWidget* modal) {
      QCOMPARE(modal->objectName(), QStringLiteral("runEstimateQuestion"));
      text = qobject_cast<QMessageBox*>(modal)->text();
      modal->findChild<QPushButton*>(answer)->click();
    });
    pushButton(dialog, "getItButton")->click();

    QCOMPARE(answerer.count(), asked ? 1 : 0);
    if (asked) {
      QVERIFY2(text.startsWith(QStringLiteral("A frame of %1 bits: this calculation is expected "
                                              "to take ")
                                   .arg(frameLength)),
               qPrintable(text));
      QVERIFY2(text.contains(QStringLiteral(" of memory")), qPrintable(text));
      QVERIFY2(text.endsWith(QStringLiteral("Start it?")), qPrintable(text));
    }
    if (runs) {
      QTRY_COMPARE(ended.count(), 1);
      QCOMPARE(record->inputs().inputFrameLength, frameLength.toInt());
    } else {
      // The run would have started before the click returned (see above).
      QVERIFY(!dialog.isCalculating());
      QCOMPARE(record->calls.load(), 0);
      QCOMPARE(dialog.runInputs().inputFrameLength, -1);
    }
    QCOMPARE(enabledControls(dialog), kIdle);
  }

  // When the window asks before a run: the full runs of long frames as always, and any run
  // that is long or needs much of the memory; not a low-weight run that ends in a second.
  void asksOnlyBeforeLongOrLargeRuns_data() {
    QTest::addColumn<int>("frameLength");
    QTest::addColumn<bool>("lowWeight");
    QTest::addColumn<double>("seconds");
    QTest::addColumn<double>("memoryShare");  // of the memory available
    QTest::addColumn<bool>("asked");
    QTest::newRow("full, 1000 bits, 10 s") << 1000 << false << 10.0 << 0.01 << false;
    QTest::newRow("full, 1001 bits, 1 s") << 1001 << false << 1.0 << 0.01 << true;
    QTest::newRow("low-weight, 100000 bits, 0.2 s") << 100000 << true << 0.2 << 0.01 << false;
    QTest::newRow("low-weight, 2 min") << 100000 << true << 120.0 << 0.01 << true;
    QTest::newRow("low-weight, a third of the memory") << 100000 << true << 0.2 << 0.34 << true;
    QTest::newRow("full, 500 bits, a fifth of the memory") << 500 << false << 1.0 << 0.2 << false;
  }

  void asksOnlyBeforeLongOrLargeRuns() {
    QFETCH(int, frameLength);
    QFETCH(bool, lowWeight);
    QFETCH(double, seconds);
    QFETCH(double, memoryShare);
    QFETCH(bool, asked);
    constexpr std::uint64_t kAvailable = std::uint64_t{8} << 30;
    RunEstimate estimate;
    estimate.stages.push_back(StageEstimate{"CWEF", 1.0, seconds});
    estimate.peakBytes = static_cast<std::uint64_t>(memoryShare * kAvailable);
    QCOMPARE(asksBeforeRun(frameLength, lowWeight, estimate, kAvailable), asked);
  }

  void runReceivesTheWindowInputs() {
    const auto record = std::make_shared<StandInRecord>();
    MainDialog dialog(recordingRun(record));
    dialog.show();
    QSignalSpy ended(&dialog, &MainDialog::calculationEnded);
    field(dialog, "frameLength")->setText(QStringLiteral(" 64 "));
    field(dialog, "numerator")->setText(QStringLiteral("1+D^2"));
    field(dialog, "denominator")->setText(QStringLiteral("1+D+D^2"));
    control<QComboBox>(dialog, "typeList")->setCurrentIndex(1);
    pushButton(dialog, "getItButton")->click();
    QTRY_COMPARE(ended.count(), 1);

    const RunInputs inputs = record->inputs();
    QCOMPARE(inputs.inputFrameLength, 64);
    QCOMPARE(inputs.selectedType, ConcatenationType::Serial);
    QCOMPARE(inputs.boundSelection, BerBoundSet{BerBound::UnionQ});
    QCOMPARE(inputs.resultsFileName, std::string("results.txt"));
    QVERIFY(inputs.code == describeCode(5, 7).description.value());
  }

  // However long the log and however its messages wrap, its newest line stays in view.
  void logKeepsItsNewestLineInView() {
    MainDialog dialog(recordingRun(std::make_shared<StandInRecord>()));
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    auto* log = control<QPlainTextEdit>(dialog, "log");
    for (int run = 1; run <= 40; ++run) {
      dialog.appendLog(QStringLiteral("\n TM Calculation .. "));
      dialog.appendLog(QStringLiteral(" Completed \n"));
      dialog.appendLog(QStringLiteral(" Run %1: a message long enough to wrap in the log, "
                                      "%2 \n")
                           .arg(run)
                           .arg(QString(120, QLatin1Char('x'))));
    }
    QTextCursor newest(log->document()->lastBlock().previous());
    newest.movePosition(QTextCursor::EndOfBlock);
    QTRY_VERIFY2(log->viewport()->rect().contains(log->cursorRect(newest)),
                 qPrintable(newest.block().text()));
    // … also when the log grows shorter (a progress bar appearing below it, a smaller window).
    const int height = log->height();
    dialog.resize(dialog.width(), dialog.height() - height / 2);
    QTRY_VERIFY(log->height() < height);
    QTRY_VERIFY2(log->viewport()->rect().contains(log->cursorRect(newest)),
                 qPrintable(newest.block().text()));
  }

  void logRestartsWithEvery502ndText() {
    MainDialog dialog(recordingRun(std::make_shared<StandInRecord>()));
    // The introduction's 8 texts are the first; texts 9 to 501 are appended after it.
    QString expected = kIntroduction;
    for (int text = 9; text <= 501; ++text) {
      const QString line = QStringLiteral("[%1]").arg(text);
      dialog.appendLog(line);
      expected += line;
    }
    QCOMPARE(logText(dialog), expected);

    dialog.appendLog(QStringLiteral("[502]\n"));
    QCOMPARE(logText(dialog), QStringLiteral("[502]\n"));

    expected = QStringLiteral("[502]\n");
    for (int text = 503; text <= 1003; ++text) {
      const QString line = QStringLiteral("[%1]").arg(text);
      dialog.appendLog(line);
      expected += line;
    }
    QCOMPARE(logText(dialog), expected);
    dialog.appendLog(QStringLiteral("[1004]"));
    QCOMPARE(logText(dialog), QStringLiteral("[1004]"));
  }

  void logAppendsAtTheEndWhereverTheCaretIs() {
    MainDialog dialog(recordingRun(std::make_shared<StandInRecord>()));
    auto* log = control<QPlainTextEdit>(dialog, "log");
    QTextCursor caret = log->textCursor();
    caret.setPosition(3);
    log->setTextCursor(caret);
    dialog.appendLog(QStringLiteral("\n> Start Calculation "));
    QCOMPARE(logText(dialog), kIntroduction + QStringLiteral("\n> Start Calculation "));
  }

  void optionsSetTheBoundSelection_data() {
    QTest::addColumn<QStringList>("toggled");
    QTest::addColumn<QString>("button");
    QTest::addColumn<uint>("expected");  // bits of the BerBound selection
    QTest::newRow("Q plus Viterbi") << QStringList{"viterbiBound"} << "okButton" << 5u;
    QTest::newRow("none") << QStringList{"unionBoundQ"} << "okButton" << 0u;
    QTest::newRow("cancel keeps the old") << QStringList{"viterbiBound"} << "cancelButton" << 1u;
  }

  void optionsSetTheBoundSelection() {
    QFETCH(QStringList, toggled);
    QFETCH(QString, button);
    QFETCH(uint, expected);
    const auto record = std::make_shared<StandInRecord>();
    MainDialog dialog(recordingRun(record));
    dialog.show();
    const ModalAnswerer answerer([&](QWidget* modal) {
      QCOMPARE(modal->windowTitle(), QStringLiteral("Options"));
      for (const QString& name : toggled) {
        modal->findChild<QCheckBox*>(name)->click();
      }
      modal->findChild<QPushButton*>(button)->click();
    });
    pushButton(dialog, "optionButton")->click();
    QCOMPARE(answerer.count(), 1);
    QCOMPARE(dialog.boundSelection().bits(), expected);

    // The run gets the selection.
    QSignalSpy ended(&dialog, &MainDialog::calculationEnded);
    pushButton(dialog, "getItButton")->click();
    QTRY_COMPARE(ended.count(), 1);
    QCOMPARE(record->inputs().boundSelection.bits(), expected);
  }

  void infoShowsTheAboutBox() {
    MainDialog dialog(recordingRun(std::make_shared<StandInRecord>()));
    dialog.show();
    QString caption;
    const ModalAnswerer answerer([&](QWidget* modal) {
      caption = modal->windowTitle();
      modal->close();
    });
    pushButton(dialog, "infoButton")->click();
    QCOMPARE(caption, QStringLiteral("About Brevandor"));
  }

  void exitValidatesTheFieldsFirst() {
    MainDialog dialog(recordingRun(std::make_shared<StandInRecord>()));
    dialog.show();
    QSignalSpy finished(&dialog, &QDialog::finished);
    field(dialog, "frameLength")->setText(QStringLiteral("9"));
    {
      const ModalAnswerer boxes;
      pushButton(dialog, "exitButton")->click();
      QCOMPARE(boxes.texts(),
               QStringList{QStringLiteral("Please enter an integer between 10 and 10000.")});
    }
    QVERIFY(dialog.isVisible());
    QCOMPARE(finished.count(), 0);

    // The polynomials are not looked at: only the fields' own checks count.
    field(dialog, "frameLength")->setText(QStringLiteral("10"));
    field(dialog, "numerator")->setText(QStringLiteral("not a polynomial"));
    pushButton(dialog, "exitButton")->click();
    QVERIFY(!dialog.isVisible());
    QCOMPARE(finished.count(), 1);
    QCOMPARE(finished.front().front().toInt(), int(QDialog::Accepted));
  }

  void selectFileNameKeepsTheFullPath() {
    const QTemporaryDir folder;
    const QString subfolder = folder.filePath(QStringLiteral("a folder; with 'quotes'"));
    QVERIFY(QDir().mkpath(subfolder));
    const QString chosen = QDir(subfolder).filePath(QStringLiteral("my results.txt"));
    const QString before = QDir::currentPath();

    const auto record = std::make_shared<StandInRecord>();
    MainDialog dialog(writingRun(record, "spectrum\n"));
    dialog.show();
    field(dialog, "numerator")->setText(QStringLiteral("1+D^3"));
    const ModalAnswerer answerer([&](QWidget* modal) {
      auto* files = qobject_cast<QFileDialog*>(modal);
      QVERIFY(files != nullptr);
      QCOMPARE(files->acceptMode(), QFileDialog::AcceptSave);
      QCOMPARE(files->nameFilters(), (QStringList{QStringLiteral("Text Files (*.txt)"),
                                                  QStringLiteral("All Files (*)")}));
      files->selectFile(chosen);
      static_cast<QDialog*>(files)->accept();  // through the public slot
    });
    pushButton(dialog, "selectFileButton")->click();

    QCOMPARE(answerer.count(), 1);
    QCOMPARE(control<PathField>(dialog, "fileName")->path(), QDir::toNativeSeparators(chosen));
    QCOMPARE(dialog.resultsPath(), chosen);
    QCOMPARE(QDir::currentPath(), before);
    // Choosing a file leaves what the user typed alone.
    QCOMPARE(field(dialog, "numerator")->text(), QStringLiteral("1+D^3"));

    // The run writes the chosen path, and the viewer shows that file.
    QSignalSpy ended(&dialog, &MainDialog::calculationEnded);
    pushButton(dialog, "getItButton")->click();
    QTRY_COMPARE(ended.count(), 1);
    QCOMPARE(QString::fromStdString(record->inputs().resultsFileName), chosen);
    QVERIFY(QFile::exists(chosen));
    QCOMPARE(dialog.resultsViewer()->path(), chosen);
    QCOMPARE(dialog.resultsViewer()->text(), QStringLiteral("spectrum\n"));
  }
};

std::unique_ptr<QObject> makeMainDialogTest() {
  return std::make_unique<MainDialogTest>();
}

}  // namespace brevandor::testing

#include "main_dialog_test.moc"
