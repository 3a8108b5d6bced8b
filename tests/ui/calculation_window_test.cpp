#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <algorithm>

#include "main_dialog_probe.h"
#include "modal_answerer.h"
#include "ui/results_window.h"
#include "ui_test_suites.h"

namespace brevandor::testing {

namespace {

constexpr int kRunTimeout = 180000;  // milliseconds; generous for debug builds on busy machines

QString readAll(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) {
    return {};
  }
  return QString::fromLocal8Bit(file.readAll());
}

bool reportsProgress(const MainDialog& dialog) {
  return statusText(dialog).startsWith(QStringLiteral("Remaining: "));
}

// Starts a run at frame length `bits` of the default code and waits until its first long
// stage reports progress (false when the run ended before).
bool startLongRun(MainDialog& dialog, int bits) {
  field(dialog, "frameLength")->setText(QString::number(bits));
  pushButton(dialog, "getItButton")->click();
  const bool settled = QTest::qWaitFor(
      [&]() { return reportsProgress(dialog) || !dialog.isCalculating(); }, kRunTimeout);
  return settled && reportsProgress(dialog) && dialog.isCalculating();
}

}  // namespace

// The window with the real calculation: a complete small run, a cancelled long run, closing
// during a run and a results file that cannot be created. Results go to a temporary folder.
class CalculationWindowTest : public QObject {
  Q_OBJECT

 private slots:
  void completeRunAtTenBits_data() {
    QTest::addColumn<int>("typeIndex");
    QTest::addColumn<QString>("typeName");
    QTest::newRow("PCCC") << 0 << "PCCC";
    QTest::newRow("SCCC") << 1 << "SCCC";
    QTest::newRow("repetition code first") << 2 << "SCC with 1st-RC and 2nd-CC";
  }

  void completeRunAtTenBits() {
    QFETCH(int, typeIndex);
    QFETCH(QString, typeName);
    const QTemporaryDir folder;
    MainDialog dialog;
    dialog.show();
    const QString path = folder.filePath(QStringLiteral("results at ten.txt"));
    dialog.useResultsFile(path);
    field(dialog, "frameLength")->setText(QStringLiteral("10"));
    control<QComboBox>(dialog, "typeList")->setCurrentIndex(typeIndex);
    QSignalSpy ended(&dialog, &MainDialog::calculationEnded);
    pushButton(dialog, "getItButton")->click();
    QCOMPARE(enabledControls(dialog), kRunning);

    QTRY_COMPARE_WITH_TIMEOUT(ended.count(), 1, kRunTimeout);
    QCOMPARE(ended.front().front().value<RunOutcome>(), RunOutcome::Finished);
    QCOMPARE(enabledControls(dialog), kIdle);
    const QString log = logText(dialog);
    QVERIFY2(log.contains(QStringLiteral("\n> Start Calculation ")), qPrintable(log));
    QVERIFY2(log.contains(QStringLiteral(" TWEF Calculation .. ")), qPrintable(log));
    QVERIFY2(log.contains(QStringLiteral(" BER Calculation .. ")), qPrintable(log));
    QVERIFY2(log.contains(QStringLiteral("  Created.")), qPrintable(log));

    const QString written = readAll(path);
    QVERIFY2(written.contains(QStringLiteral("\n Concatenation Type : %1 \n").arg(typeName)),
             qPrintable(written.left(400)));
    QVERIFY(dialog.resultsViewer()->isVisible());
    QCOMPARE(dialog.resultsViewer()->text(), written);
  }

  void progressCoversTheWholeRun() {
    const QTemporaryDir folder;
    MainDialog dialog;
    dialog.show();
    dialog.useResultsFile(folder.filePath(QStringLiteral("results.txt")));
    field(dialog, "frameLength")->setText(QStringLiteral("300"));
    control<QComboBox>(dialog, "typeList")->setCurrentIndex(1);
    auto* bar = control<QProgressBar>(dialog, "runProgress");
    QStringList statusLines;
    QStringList barTexts;
    connect(field(dialog, "statusLine"), &QLineEdit::textChanged, this,
            [&](const QString& text) { statusLines.append(text); });
    connect(bar, &QProgressBar::valueChanged, this, [&]() { barTexts.append(bar->text()); });
    QSignalSpy ended(&dialog, &MainDialog::calculationEnded);
    pushButton(dialog, "getItButton")->click();
    QTRY_COMPARE_WITH_TIMEOUT(ended.count(), 1, kRunTimeout);

    QCOMPARE(ended.front().front().value<RunOutcome>(), RunOutcome::Finished);
    QCOMPARE(bar->value(), bar->maximum());
    // Serial: two CWEF stages, the spectrum and the bounds.
    for (int stage = 1; stage <= 4; ++stage) {
      const QString prefix = QStringLiteral("Stage %1 of 4: ").arg(stage);
      QVERIFY2(std::any_of(barTexts.begin(), barTexts.end(),
                           [&](const QString& text) { return text.startsWith(prefix); }),
               qPrintable(barTexts.join(QLatin1Char('|'))));
    }
    const QRegularExpression wholeRun(QStringLiteral(
        "^Remaining: (less than 1 s|about \\d+ s|about \\d+ min \\d\\d s) for the whole run"));
    QVERIFY2(std::any_of(statusLines.begin(), statusLines.end(),
                         [&](const QString& line) { return wholeRun.match(line).hasMatch(); }),
             qPrintable(statusLines.join(QLatin1Char('|'))));
    QVERIFY2(statusText(dialog).startsWith(QStringLiteral("Completed in ")),
             qPrintable(statusText(dialog)));
  }

  void cancelDuringALongRun() {
    const QTemporaryDir folder;
    MainDialog dialog;
    dialog.show();
    dialog.useResultsFile(folder.filePath(QStringLiteral("results.txt")));
    QSignalSpy ended(&dialog, &MainDialog::calculationEnded);
    QVERIFY2(startLongRun(dialog, 1000), qPrintable(logText(dialog)));

    pushButton(dialog, "cancelButton")->click();
    QCOMPARE(enabledControls(dialog), kStopping);
    QTRY_COMPARE_WITH_TIMEOUT(ended.count(), 1, kRunTimeout);
    QCOMPARE(ended.front().front().value<RunOutcome>(), RunOutcome::Cancelled);
    QVERIFY(!dialog.isCalculating());
    QCOMPARE(enabledControls(dialog), kIdle);
    QVERIFY2(logText(dialog).endsWith(QStringLiteral("\n -- Calculation Canceled \n")),
             qPrintable(logText(dialog)));
    QVERIFY(!dialog.resultsViewer()->isVisible());
    QVERIFY2(!reportsProgress(dialog), qPrintable(statusText(dialog)));  // no stale time left
  }

  // A cancelled run leaves no export of an earlier run beside its partial results file: the
  // files its settings name are removed, and the log says which.
  void aCancelledRunLeavesNoExportOfAnEarlierRun() {
    const QTemporaryDir folder;
    const QDir out(folder.path());
    MainDialog dialog;
    dialog.show();
    dialog.useResultsFile(out.filePath(QStringLiteral("results.txt")));
    for (const char* earlier : {"r.json", "r.csv"}) {
      QFile file(out.filePath(QLatin1String(earlier)));
      QVERIFY(file.open(QIODevice::WriteOnly));
      file.write("an earlier run\n");
    }
    const ModalAnswerer setup([&](QWidget* modal) {
      modal->findChild<QLineEdit*>(QStringLiteral("jsonFile"))->setText(QStringLiteral("r.json"));
      modal->findChild<QLineEdit*>(QStringLiteral("csvFile"))->setText(QStringLiteral("r.csv"));
      modal->findChild<QPushButton*>(QStringLiteral("okButton"))->click();
    });
    pushButton(dialog, "advancedSetupButton")->click();
    QSignalSpy ended(&dialog, &MainDialog::calculationEnded);
    QVERIFY2(startLongRun(dialog, 1000), qPrintable(logText(dialog)));
    pushButton(dialog, "cancelButton")->click();
    QTRY_COMPARE_WITH_TIMEOUT(ended.count(), 1, kRunTimeout);
    QCOMPARE(ended.front().front().value<RunOutcome>(), RunOutcome::Cancelled);
    for (const char* earlier : {"r.json", "r.csv"}) {
      const QString path = out.filePath(QLatin1String(earlier));
      QVERIFY2(!QFile::exists(path), earlier);
      QVERIFY2(logText(dialog).contains(
                   QStringLiteral("removed '%1': the run was cancelled, and the file described "
                                  "an earlier run")
                       .arg(path)),
               qPrintable(logText(dialog)));
    }
  }

  void closingDuringALongRun() {
    const QTemporaryDir folder;
    MainDialog dialog;
    dialog.show();
    dialog.useResultsFile(folder.filePath(QStringLiteral("results.txt")));
    QVERIFY2(startLongRun(dialog, 1000), qPrintable(logText(dialog)));
    const ModalAnswerer yes([](QWidget* modal) {
      auto* question = qobject_cast<QMessageBox*>(modal);
      QVERIFY(question != nullptr);
      question->button(QMessageBox::Yes)->click();
    });
    dialog.close();
    QCOMPARE(yes.count(), 1);
    QVERIFY(!dialog.isVisible());
    QVERIFY(!dialog.isCalculating());
    // The run closed its file before the window let go of it: it can be removed and read.
    QVERIFY(QFile::exists(folder.filePath(QStringLiteral("results.txt"))));
  }

  void unwritableResultsFileFailsCleanly() {
    const QTemporaryDir folder;
    MainDialog dialog;
    dialog.show();
    dialog.useResultsFile(folder.filePath(QStringLiteral("missing folder/results.txt")));
    field(dialog, "frameLength")->setText(QStringLiteral("10"));
    QSignalSpy ended(&dialog, &MainDialog::calculationEnded);
    pushButton(dialog, "getItButton")->click();
    QTRY_COMPARE_WITH_TIMEOUT(ended.count(), 1, kRunTimeout);
    QCOMPARE(ended.front().front().value<RunOutcome>(), RunOutcome::Failed);
    QCOMPARE(enabledControls(dialog), kIdle);
    QVERIFY(!dialog.resultsViewer()->isVisible());
    QVERIFY2(logText(dialog).contains(QStringLiteral("missing folder")),
             qPrintable(logText(dialog)));
  }
};

std::unique_ptr<QObject> makeCalculationWindowTest() {
  return std::make_unique<CalculationWindowTest>();
}

}  // namespace brevandor::testing

#include "calculation_window_test.moc"
