#include <QSignalSpy>
#include <QTest>

#include "main_dialog_probe.h"
#include "modal_answerer.h"
#include "stand_in_runs.h"
#include "ui/results_window.h"
#include "ui_test_suites.h"

namespace brevandor::testing {

namespace {

// Shows the dialog and makes it the active window, as a user's window is.
void showActive(MainDialog& dialog) {
  dialog.show();
  QApplication::setActiveWindow(&dialog);
  QVERIFY(QTest::qWaitForWindowActive(&dialog));
}

// Starts a stand-in run that goes on until it is cancelled, and waits until it is going.
void startEndlessRun(MainDialog& dialog) {
  pushButton(dialog, "getItButton")->click();
  QTRY_VERIFY(statusText(dialog).startsWith(QStringLiteral("step ")));
}

// Answers the question asked on closing during a run with `button`, and keeps its text.
ModalAnswerer* answerQuitQuestion(QMessageBox::StandardButton button, QString* asked) {
  return new ModalAnswerer([button, asked](QWidget* modal) {
    auto* box = qobject_cast<QMessageBox*>(modal);
    QVERIFY(box != nullptr);
    *asked = box->text();
    box->button(button)->click();
  });
}

}  // namespace

// The keyboard and closing on the main window: Enter starts a calculation from any field and
// from "Get it", Escape never closes the window, closing during a run asks first, and the
// buttons' mnemonics press them.
class MainDialogKeysTest : public QObject {
  Q_OBJECT

 private slots:
  void enterStartsARun_data() {
    QTest::addColumn<QString>("focus");
    QTest::addColumn<bool>("keypad");
    QTest::newRow("frame length, Return") << "frameLength" << false;
    QTest::newRow("frame length, keypad Enter") << "frameLength" << true;
    QTest::newRow("numerator") << "numerator" << false;
    QTest::newRow("denominator") << "denominator" << false;
    QTest::newRow("type list") << "typeList" << false;
    QTest::newRow("Get it focused") << "getItButton" << false;
  }

  void enterStartsARun() {
    QFETCH(QString, focus);
    QFETCH(bool, keypad);
    const auto record = std::make_shared<StandInRecord>();
    MainDialog dialog(recordingRun(record));
    showActive(dialog);
    QSignalSpy finished(&dialog, &QDialog::finished);
    QSignalSpy ended(&dialog, &MainDialog::calculationEnded);

    auto* target = control<QWidget>(dialog, qPrintable(focus));
    target->setFocus();
    QTest::keyClick(target, keypad ? Qt::Key_Enter : Qt::Key_Return,
                    keypad ? Qt::KeypadModifier : Qt::NoModifier);

    QTRY_COMPARE(ended.count(), 1);
    QCOMPARE(record->calls.load(), 1);
    QVERIFY(dialog.isVisible());
    QCOMPARE(finished.count(), 0);
  }

  void enterDuringARunChangesNothing() {
    const auto record = std::make_shared<StandInRecord>();
    MainDialog dialog(runUntilCancelled(record));
    showActive(dialog);
    startEndlessRun(dialog);
    QTest::keyClick(field(dialog, "frameLength"), Qt::Key_Return);
    QVERIFY(dialog.isVisible());
    QVERIFY(dialog.isCalculating());
    QCOMPARE(record->calls.load(), 1);
    dialog.done(QDialog::Rejected);
  }

  void escapeNeverCloses_data() {
    QTest::addColumn<bool>("running");
    QTest::newRow("idle") << false;
    QTest::newRow("during a run") << true;
  }

  void escapeNeverCloses() {
    QFETCH(bool, running);
    const auto record = std::make_shared<StandInRecord>();
    MainDialog dialog(runUntilCancelled(record));
    showActive(dialog);
    if (running) {
      startEndlessRun(dialog);
    }
    QSignalSpy finished(&dialog, &QDialog::finished);
    const ModalAnswerer anything;
    QTest::keyClick(&dialog, Qt::Key_Escape);
    QTest::keyClick(field(dialog, "numerator"), Qt::Key_Escape);
    QVERIFY(processQueuedEvents());

    QVERIFY(dialog.isVisible());
    QCOMPARE(finished.count(), 0);
    QCOMPARE(anything.count(), 0);  // not even a question
    QCOMPARE(dialog.isCalculating(), running);
    QVERIFY(!record->sawCancel.load());
    QCOMPARE(enabledControls(dialog), running ? kRunning : kIdle);
    dialog.done(QDialog::Rejected);
  }

  void closingDuringARunAsksFirst_data() {
    QTest::addColumn<bool>("yes");
    QTest::newRow("No keeps the run going") << false;
    QTest::newRow("Yes cancels, waits and quits") << true;
  }

  void closingDuringARunAsksFirst() {
    QFETCH(bool, yes);
    const auto record = std::make_shared<StandInRecord>();
    // The stand-in lingers after the cancel, so a window that did not wait would be gone
    // before the run had ended.
    MainDialog dialog(runUntilCancelled(record, std::chrono::milliseconds(150)));
    showActive(dialog);
    startEndlessRun(dialog);
    QSignalSpy finished(&dialog, &QDialog::finished);
    QString asked;
    const std::unique_ptr<ModalAnswerer> answerer(
        answerQuitQuestion(yes ? QMessageBox::Yes : QMessageBox::No, &asked));

    dialog.close();

    QCOMPARE(answerer->count(), 1);
    QCOMPARE(asked, QStringLiteral("A calculation is running. Cancel it and quit?"));
    if (yes) {
      QVERIFY(record->sawCancel.load());
      QVERIFY(record->ended.load());
      QVERIFY(!dialog.isVisible());
      QVERIFY(!dialog.isCalculating());
      QCOMPARE(finished.count(), 1);
    } else {
      QVERIFY(dialog.isVisible());
      QVERIFY(dialog.isCalculating());
      QCOMPARE(enabledControls(dialog), kRunning);
      QVERIFY(processQueuedEvents());
      QVERIFY(!record->sawCancel.load());
      QCOMPARE(finished.count(), 0);
      dialog.done(QDialog::Rejected);
    }
  }

  void endingWithoutQuestionStillWaits_data() {
    QTest::addColumn<QString>("how");
    QTest::newRow("close box while stopping") << "close";
    QTest::newRow("exit while stopping") << "exit";
    QTest::newRow("destroyed during a run") << "destroy";
  }

  void endingWithoutQuestionStillWaits() {
    QFETCH(QString, how);
    const auto record = std::make_shared<StandInRecord>();
    auto dialog =
        std::make_unique<MainDialog>(runUntilCancelled(record, std::chrono::milliseconds(150)));
    showActive(*dialog);
    startEndlessRun(*dialog);
    const ModalAnswerer anything;
    if (how == QLatin1String("destroy")) {
      dialog.reset();
    } else {
      pushButton(*dialog, "cancelButton")->click();
      if (how == QLatin1String("close")) {
        dialog->close();
      } else {
        pushButton(*dialog, "exitButton")->click();
      }
    }
    QCOMPARE(anything.count(), 0);
    QVERIFY(record->sawCancel.load());
    QVERIFY(record->ended.load());
    if (dialog) {
      QVERIFY(!dialog->isVisible());
      QVERIFY(!dialog->isCalculating());
      // The ended run's messages still arrive, and change nothing.
      QVERIFY(processQueuedEvents());
      QVERIFY(!dialog->resultsViewer()->isVisible());
    }
  }

  void mnemonicsPressTheirButtons_data() {
    QTest::addColumn<int>("key");
    QTest::addColumn<QString>("opens");
    QTest::newRow("Alt+I Info.") << int(Qt::Key_I) << "aboutDialog";
    QTest::newRow("Alt+O Option") << int(Qt::Key_O) << "optionsDialog";
    QTest::newRow("Alt+A Advncd Setup") << int(Qt::Key_A) << "advancedSetupDialog";
  }

  void mnemonicsPressTheirButtons() {
    QFETCH(int, key);
    QFETCH(QString, opens);
    MainDialog dialog(recordingRun(std::make_shared<StandInRecord>()));
    showActive(dialog);
    QString opened;
    const ModalAnswerer answerer([&](QWidget* modal) {
      opened = modal->objectName();
      modal->close();
    });
    QTest::keyClick(&dialog, static_cast<Qt::Key>(key), Qt::AltModifier);
    QTRY_COMPARE(opened, opens);
  }

  void altGStartsARun() {
    const auto record = std::make_shared<StandInRecord>();
    MainDialog dialog(recordingRun(record));
    showActive(dialog);
    QSignalSpy ended(&dialog, &MainDialog::calculationEnded);
    QTest::keyClick(&dialog, Qt::Key_G, Qt::AltModifier);
    QTRY_COMPARE(ended.count(), 1);
    QCOMPARE(record->calls.load(), 1);
  }
};

std::unique_ptr<QObject> makeMainDialogKeysTest() {
  return std::make_unique<MainDialogKeysTest>();
}

}  // namespace brevandor::testing

#include "main_dialog_keys_test.moc"
