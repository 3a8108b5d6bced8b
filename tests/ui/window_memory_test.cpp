#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QMenu>
#include <QScreen>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>

#include "main_dialog_probe.h"
#include "modal_answerer.h"
#include "stand_in_runs.h"
#include "ui/path_field.h"
#include "ui_test_suites.h"

namespace brevandor::testing {

// What the window remembers in its settings file from one start to the next. Each test uses
// its own file in a temporary folder, never the user's settings.
class WindowMemoryTest : public QObject {
  Q_OBJECT

 private slots:
  void settingsSurviveARestart() {
    const QTemporaryDir folder;
    const QString settingsFile = folder.filePath(QStringLiteral("brevandor.ini"));
    const QString results = folder.filePath(QStringLiteral("pccc 64.txt"));
    const auto record = std::make_shared<StandInRecord>();
    {
      MainDialog first(writingRun(record, "spectrum\n"));
      first.rememberIn(settingsFile);
      first.show();
      field(first, "numerator")->setText(QStringLiteral("1+D^2"));
      field(first, "denominator")->setText(QStringLiteral("1+D+D^2"));
      field(first, "frameLength")->setText(QStringLiteral("64"));
      control<QComboBox>(first, "typeList")->setCurrentIndex(1);
      first.useResultsFile(results);
      {
        const ModalAnswerer options([](QWidget* modal) {
          modal->findChild<QCheckBox*>(QStringLiteral("viterbiBound"))->click();
          modal->findChild<QPushButton*>(QStringLiteral("okButton"))->click();
        });
        pushButton(first, "optionButton")->click();
      }
      {
        const ModalAnswerer advanced([](QWidget* modal) {
          modal->findChild<QSpinBox*>(QStringLiteral("threads"))->setValue(3);
          modal->findChild<QPushButton*>(QStringLiteral("okButton"))->click();
        });
        pushButton(first, "advancedSetupButton")->click();
      }
      first.resize(640, 560);
      QSignalSpy ended(&first, &MainDialog::calculationEnded);
      pushButton(first, "getItButton")->click();
      QTRY_COMPARE(ended.count(), 1);
      first.done(QDialog::Accepted);
    }

    MainDialog second(recordingRun(std::make_shared<StandInRecord>()));
    second.rememberIn(settingsFile);
    QCOMPARE(field(second, "numerator")->text(), QStringLiteral("1+D^2"));
    QCOMPARE(field(second, "denominator")->text(), QStringLiteral("1+D+D^2"));
    QCOMPARE(field(second, "frameLength")->text(), QStringLiteral("64"));
    QCOMPARE(control<QComboBox>(second, "typeList")->currentIndex(), 1);
    QCOMPARE(second.resultsPath(), results);
    QCOMPARE(second.boundSelection(), (BerBoundSet{BerBound::UnionQ, BerBound::Viterbi}));
    QCOMPARE(second.runSettings().threads, 3);
    QCOMPARE(control<QLabel>(second, "advancedSummary")->text(),
             QStringLiteral("Advanced setup: Worker threads 3"));
    QCOMPARE(second.size(), QSize(640, 560));
    QCOMPARE(second.recentResultsFiles(),
             QStringList{control<PathField>(second, "fileName")->path()});
  }

  void oversizedWindowIsClampedToTheScreen() {
    const QTemporaryDir folder;
    const QString settingsFile = folder.filePath(QStringLiteral("brevandor.ini"));
    QFile stored(settingsFile);
    QVERIFY(stored.open(QIODevice::WriteOnly));
    stored.write("[window]\nsize=@Size(100000 100000)\n");
    stored.close();
    MainDialog dialog(recordingRun(std::make_shared<StandInRecord>()));
    dialog.rememberIn(settingsFile);
    const QSize screen = dialog.screen()->availableGeometry().size();
    QVERIFY2(dialog.width() <= screen.width() && dialog.height() <= screen.height(),
             qPrintable(QStringLiteral("%1 x %2").arg(dialog.width()).arg(dialog.height())));
  }

  void recentFilesMenuChoosesAResultsFile() {
    const QTemporaryDir folder;
    const auto record = std::make_shared<StandInRecord>();
    MainDialog dialog(writingRun(record, "spectrum\n"));
    dialog.rememberIn(folder.filePath(QStringLiteral("brevandor.ini")));
    dialog.show();
    QSignalSpy ended(&dialog, &MainDialog::calculationEnded);
    const QStringList names{"first.txt", "second.txt"};
    for (const QString& name : names) {
      dialog.useResultsFile(folder.filePath(name));
      pushButton(dialog, "getItButton")->click();
      QTRY_COMPARE(ended.count(), names.indexOf(name) + 1);
    }
    const QString first = QDir::toNativeSeparators(folder.filePath(names[0]));
    const QString second = QDir::toNativeSeparators(folder.filePath(names[1]));
    QCOMPARE(dialog.recentResultsFiles(), (QStringList{second, first}));

    dialog.findChild<QAction*>(QStringLiteral("recentFilesAction"))->trigger();
    auto* menu = dialog.findChild<QMenu*>(QStringLiteral("recentFilesMenu"));
    QTRY_VERIFY(menu->isVisible());
    QCOMPARE(menu->actions().size(), 2);
    QCOMPARE(menu->actions().at(1)->text(), first);
    menu->actions().at(1)->trigger();
    menu->close();
    QCOMPARE(QDir::toNativeSeparators(dialog.resultsPath()), first);
  }
};

std::unique_ptr<QObject> makeWindowMemoryTest() {
  return std::make_unique<WindowMemoryTest>();
}

}  // namespace brevandor::testing

#include "window_memory_test.moc"
