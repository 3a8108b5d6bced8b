#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include "main_dialog_probe.h"
#include "modal_answerer.h"
#include "stand_in_runs.h"
#include "ui/results_window.h"
#include "ui_test_suites.h"

namespace brevandor::testing {

namespace {

const QString kCanceledLine = QStringLiteral("\n -- Calculation Canceled \n");

}  // namespace

// The window around a run, with stand-in runs whose timing the test controls: running and
// stopping states, notices, the viewer after a completed run, and failures.
class MainDialogRunTest : public QObject {
  Q_OBJECT

 private slots:
  void getItWaitsForTheCancelledRunToEnd() {
    const auto record = std::make_shared<StandInRecord>();
    record->release.close();
    MainDialog dialog(runUntilCancelled(record));
    dialog.show();
    pushButton(dialog, "getItButton")->click();
    QCOMPARE(enabledControls(dialog), kRunning);
    QTRY_VERIFY(statusText(dialog).startsWith(QStringLiteral("step ")));
    QVERIFY(logText(dialog).endsWith(QStringLiteral("\n> Start Calculation ")));
    // Fields, the type list, "Info." and "Advncd Setup" stay usable during a run.
    for (const char* name : {"numerator", "denominator", "frameLength", "typeList", "infoButton",
                             "advancedSetupButton"}) {
      QVERIFY2(control<QWidget>(dialog, name)->isEnabled(), name);
    }

    QSignalSpy ended(&dialog, &MainDialog::calculationEnded);
    pushButton(dialog, "cancelButton")->click();
    QCOMPARE(enabledControls(dialog), kStopping);
    QCOMPARE(statusText(dialog), QStringLiteral("Stopping ..."));
    QTRY_VERIFY(record->sawCancel.load());
    // The run is still winding down: no second run can start, whatever arrives meanwhile.
    QVERIFY(processQueuedEvents());
    QCOMPARE(enabledControls(dialog), kStopping);
    QCOMPARE(statusText(dialog), QStringLiteral("Stopping ..."));
    pushButton(dialog, "getItButton")->click();
    QCOMPARE(record->calls.load(), 1);
    QVERIFY(dialog.isCalculating());

    record->release.open();
    QTRY_COMPARE(ended.count(), 1);
    QCOMPARE(ended.front().front().value<RunOutcome>(), RunOutcome::Cancelled);
    QCOMPARE(enabledControls(dialog), kIdle);
    QVERIFY(!dialog.isCalculating());
    QVERIFY(!dialog.resultsViewer()->isVisible());
    QVERIFY(logText(dialog).endsWith(kCanceledLine));
    QCOMPARE(statusText(dialog), QString());

    // Now a new run may start.
    pushButton(dialog, "getItButton")->click();
    QCOMPARE(enabledControls(dialog), kRunning);
    QTRY_COMPARE(record->calls.load(), 2);
    dialog.done(QDialog::Rejected);  // ends the window without the question
  }

  void noticesLeaveTheFieldsAlone() {
    const auto record = std::make_shared<StandInRecord>();
    MainDialog dialog(runUntilCancelled(record));
    dialog.show();
    pushButton(dialog, "getItButton")->click();
    field(dialog, "numerator")->setText(QStringLiteral("1+D^3"));
    field(dialog, "frameLength")->setText(QStringLiteral("77"));
    control<QComboBox>(dialog, "typeList")->setCurrentIndex(1);
    const QString seen = statusText(dialog);
    QTRY_VERIFY(statusText(dialog) != seen && statusText(dialog).startsWith("step "));
    dialog.appendLog(QStringLiteral("more text"));
    QCOMPARE(field(dialog, "numerator")->text(), QStringLiteral("1+D^3"));
    QCOMPARE(field(dialog, "frameLength")->text(), QStringLiteral("77"));
    QCOMPARE(control<QComboBox>(dialog, "typeList")->currentIndex(), 1);
    dialog.done(QDialog::Rejected);  // ends the window without the question
  }

  void completedRunOpensTheViewer() {
    const QTemporaryDir folder;
    const auto record = std::make_shared<StandInRecord>();
    MainDialog dialog(writingRun(record, "first\n"));
    dialog.show();
    dialog.useResultsFile(folder.filePath(QStringLiteral("results.txt")));
    QSignalSpy ended(&dialog, &MainDialog::calculationEnded);
    pushButton(dialog, "getItButton")->click();
    QTRY_COMPARE(ended.count(), 1);
    QCOMPARE(ended.front().front().value<RunOutcome>(), RunOutcome::Finished);
    QCOMPARE(enabledControls(dialog), kIdle);
    QVERIFY(dialog.resultsViewer()->isVisible());
    QCOMPARE(dialog.resultsViewer()->text(), QStringLiteral("first\n"));

    // "View Results" reads the file again.
    dialog.resultsViewer()->close();
    QFile file(dialog.resultsPath());
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write("edited\n");
    file.close();
    pushButton(dialog, "viewResultsButton")->click();
    QVERIFY(dialog.resultsViewer()->isVisible());
    QCOMPARE(dialog.resultsViewer()->text(), QStringLiteral("edited\n"));
  }

  void failedRunReturnsToIdleWithoutTheViewer_data() {
    QTest::addColumn<bool>("throws");
    QTest::addColumn<QString>("logged");
    QTest::newRow("reported") << false << "\n -- cannot open 'x/results.txt' \n";
    QTest::newRow("escaped exception") << true << "\n -- Calculation Failed : out of tables \n";
  }

  void failedRunReturnsToIdleWithoutTheViewer() {
    QFETCH(bool, throws);
    QFETCH(QString, logged);
    const auto record = std::make_shared<StandInRecord>();
    MainDialog dialog(throws ? throwingRun(record, "out of tables")
                             : failingRun(record, logged.toStdString()));
    dialog.show();
    QSignalSpy ended(&dialog, &MainDialog::calculationEnded);
    pushButton(dialog, "getItButton")->click();
    QTRY_COMPARE(ended.count(), 1);
    QCOMPARE(ended.front().front().value<RunOutcome>(), RunOutcome::Failed);
    QCOMPARE(enabledControls(dialog), kIdle);
    QVERIFY(!dialog.isCalculating());
    QVERIFY(!dialog.resultsViewer()->isVisible());
    QCOMPARE(logText(dialog), kIntroduction + logged);
  }
};

std::unique_ptr<QObject> makeMainDialogRunTest() {
  return std::make_unique<MainDialogRunTest>();
}

}  // namespace brevandor::testing

#include "main_dialog_run_test.moc"
