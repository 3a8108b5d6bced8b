#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QRegularExpression>
#include <QSet>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTest>

#include "bounds/further_bounds.h"
#include "main_dialog_probe.h"
#include "modal_answerer.h"
#include "run/run_inputs.h"
#include "stand_in_runs.h"
#include "ui/advanced_setup_dialog.h"
#include "ui_test_suites.h"

namespace brevandor::testing {

namespace {

// The long options of brevandor-cli's help text.
QSet<QString> commandLineOptions() {
#ifndef BREVANDOR_CLI_PATH
  return {};
#else
  QProcess cli;
  cli.start(QStringLiteral(BREVANDOR_CLI_PATH), {QStringLiteral("--help")});
  if (!cli.waitForFinished(30000)) {
    return {};
  }
  const QString help = QString::fromLocal8Bit(cli.readAllStandardOutput());
  QSet<QString> options;
  // Option lines start with two blanks, then "-x,--name" or "--name".
  const QRegularExpression optionLine(QStringLiteral("^  (?:-\\w,)?(--[\\w-]+)"),
                                      QRegularExpression::MultilineOption);
  for (auto match = optionLine.globalMatch(help); match.hasNext();) {
    options.insert(match.next().captured(1));
  }
  return options;
#endif
}

}  // namespace

// The Advanced Setup dialog: its settings reach the run and the main window's summary, and it
// has a control for every command-line option the main window lacks.
class AdvancedSetupTest : public QObject {
  Q_OBJECT

 private slots:
  void settingsReachTheRunAndTheSummary_data() {
    QTest::addColumn<int>("before");
    QTest::addColumn<int>("typed");
    QTest::addColumn<QString>("button");
    QTest::addColumn<int>("after");
    QTest::addColumn<QString>("summary");
    QTest::newRow("OK takes the value") << 0 << 3 << "okButton" << 3 << "Worker threads 3";
    QTest::newRow("Cancel keeps the old") << 2 << 3 << "cancelButton" << 2 << "Worker threads 2";
    QTest::newRow("Defaults, then OK") << 2 << 3 << "defaultsButton" << 0 << "";
  }

  void settingsReachTheRunAndTheSummary() {
    QFETCH(int, before);
    QFETCH(int, typed);
    QFETCH(QString, button);
    QFETCH(int, after);
    QFETCH(QString, summary);
    const auto record = std::make_shared<StandInRecord>();
    MainDialog dialog(recordingRun(record));
    dialog.show();
    const auto setThreads = [&](int threads, const QString& press) {
      const ModalAnswerer answerer([&](QWidget* modal) {
        QCOMPARE(modal->windowTitle(), QStringLiteral("Advanced Setup"));
        modal->findChild<QSpinBox*>(QStringLiteral("threads"))->setValue(threads);
        modal->findChild<QPushButton*>(press)->click();
        if (modal->isVisible()) {  // "Defaults" leaves the dialog open
          modal->findChild<QPushButton*>(QStringLiteral("okButton"))->click();
        }
      });
      pushButton(dialog, "advancedSetupButton")->click();
      QCOMPARE(answerer.count(), 1);
    };
    setThreads(before, QStringLiteral("okButton"));
    setThreads(typed, button);

    QCOMPARE(dialog.runSettings().threads, after);
    const auto* line = control<QLabel>(dialog, "advancedSummary");
    QCOMPARE(line->isVisibleTo(&dialog), !summary.isEmpty());
    if (!summary.isEmpty()) {
      QCOMPARE(line->text(), QStringLiteral("Advanced setup: ") + summary);
    }
    QSignalSpy ended(&dialog, &MainDialog::calculationEnded);
    pushButton(dialog, "getItButton")->click();
    QTRY_COMPARE(ended.count(), 1);
    QCOMPARE(record->threads.load(), after);
  }

  // The grid and the further bounds travel as their command-line texts into the run inputs.
  void gridAndFurtherBoundsReachTheInputs() {
    AdvancedSetupDialog setup(RunSettings{});
    setup.findChild<QLineEdit*>(QStringLiteral("ebn0"))->setText(QStringLiteral("0:1:5"));
    setup.findChild<QCheckBox*>(QStringLiteral("furtherBounds_tsb"))->setChecked(true);
    setup.findChild<QCheckBox*>(QStringLiteral("furtherBounds_sphere"))->setChecked(true);
    RunSettings settings;
    QVERIFY(setup.readSettings(settings));
    QCOMPARE(settings.inputs.ebn0Grid.count(), 6);
    QCOMPARE(settings.inputs.ebn0Grid.to, 5.0);
    QCOMPARE(settings.inputs.furtherBounds,
             (FurtherBoundSet{FurtherBound::TangentialSphereBit, FurtherBound::SpherePackingWord}));
    QCOMPARE(advancedSummary(settings),
             QStringLiteral("Eb/N0 points [dB] 0:1:5; Further bounds tsb,sphere"));
  }

  void refusedGridSaysWhy() {
    AdvancedSetupDialog setup(RunSettings{});
    setup.findChild<QLineEdit*>(QStringLiteral("ebn0"))->setText(QStringLiteral("0:0:5"));
    RunSettings settings;
    QVERIFY(!setup.readSettings(settings));
    QCOMPARE(setup.findChild<QLabel*>(QStringLiteral("ebn0Message"))->text(),
             QStringLiteral("The step must be greater than 0 dB."));
    QCOMPARE(settings.inputs.ebn0Grid, EbN0Grid{});
  }

  void constituentOptionsReachTheRunOrAreRefused_data() {
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("type");
    QTest::addColumn<bool>("runs");
    QTest::addColumn<QString>("log");  // a part of the log after Get it ("": none)
    QTest::newRow("rate-1/2 PCCC") << "puncture"
                                   << "11,10,01" << 0 << true << "";
    QTest::newRow("second code of an SCCC") << "numerator2"
                                            << "1+D^2" << 1 << true << "";
    QTest::newRow("input bits on encoder 2 alone")
        << "puncture"
        << "10,10,11" << 0 << true
        << "Advanced Setup, warning: at sections with t mod 2 = 1 neither the systematic bit";
    QTest::newRow("outer pattern on a PCCC")
        << "punctureOuter"
        << "11,10" << 0 << false
        << "Advanced Setup: --puncture-outer \"11,10\": outer and inner patterns belong to an "
           "SCCC";
    QTest::newRow("second code of the repetition type")
        << "denominator2"
        << "1+D+D^2" << 2 << false << "the repetition type has one";
  }

  void constituentOptionsReachTheRunOrAreRefused() {
    QFETCH(QString, key);
    QFETCH(QString, text);
    QFETCH(int, type);
    QFETCH(bool, runs);
    QFETCH(QString, log);
    const auto record = std::make_shared<StandInRecord>();
    MainDialog dialog(recordingRun(record));
    dialog.show();
    const ModalAnswerer answerer([&](QWidget* modal) {
      modal->findChild<QLineEdit*>(key)->setText(text);
      modal->findChild<QPushButton*>(QStringLiteral("okButton"))->click();
    });
    pushButton(dialog, "advancedSetupButton")->click();
    QCOMPARE(answerer.count(), 1);
    QVERIFY(control<QLabel>(dialog, "advancedSummary")->text().endsWith(text));
    control<QComboBox>(dialog, "typeList")->setCurrentIndex(type);
    pushButton(dialog, "getItButton")->click();
    if (runs) {
      QTRY_COMPARE(record->calls.load(), 1);
      const RunInputs inputs = record->inputs();
      QCOMPARE(QString::fromStdString(key == "puncture" ? inputs.puncture : inputs.numerator2),
               text);
    } else {
      // "Get it" starts its run before it returns: not calculating now means none started.
      QVERIFY(!dialog.isCalculating());
      QCOMPARE(record->calls.load(), 0);
    }
    QVERIFY2(log.isEmpty() || logText(dialog).contains(log), qPrintable(logText(dialog)));
  }

  // Picking a standard code fills the dialog's fields and, once confirmed, the main window's
  // polynomials and type; the run gets the code's inputs under its name, and a frame length
  // the standard does not define is a warning in the log (expected values: the named-code
  // table, CCSDS rate 1/2).
  void pickingAStandardCodeFillsTheFields() {
    const auto record = std::make_shared<StandInRecord>();
    MainDialog dialog(recordingRun(record));
    dialog.show();
    control<QComboBox>(dialog, "typeList")->setCurrentIndex(1);
    QStringList shown;
    const ModalAnswerer answerer([&](QWidget* modal) {
      modal->findChild<QComboBox*>(QStringLiteral("standardCode"))
          ->setCurrentText(QStringLiteral("ccsds-1/2"));
      shown << modal->findChild<QLineEdit*>(QStringLiteral("puncture"))->text()
            << modal->findChild<QComboBox*>(QStringLiteral("tailInputs"))->currentText()
            << modal->findChild<QComboBox*>(QStringLiteral("tailPattern"))->currentText();
      modal->findChild<QPushButton*>(QStringLiteral("okButton"))->click();
    });
    pushButton(dialog, "advancedSetupButton")->click();
    QCOMPARE(answerer.count(), 1);
    QCOMPARE(shown, (QStringList{QStringLiteral("11,10,00,00,01,00,00"), QStringLiteral("first"),
                                 QStringLiteral("punctured")}));
    QCOMPARE(field(dialog, "numerator")->text(),
             QStringLiteral("1+D+D^3+D^4,1+D^2+D^4,1+D+D^2+D^3+D^4"));
    QCOMPARE(field(dialog, "denominator")->text(), QStringLiteral("1+D^3+D^4"));
    QCOMPARE(control<QComboBox>(dialog, "typeList")->currentIndex(), 0);
    pushButton(dialog, "getItButton")->click();
    QTRY_COMPARE(record->calls.load(), 1);
    QCOMPARE(record->inputs().standardCode, std::string("ccsds-1/2"));
    QCOMPARE(record->inputs().puncture, std::string("11,10,00,00,01,00,00"));
    QVERIFY2(logText(dialog).contains(QStringLiteral("warning: N = 128 is not a frame length")),
             qPrintable(logText(dialog)));
  }

  // What the run would refuse of the settings together is refused at OK, beside the option:
  // low-weight mode with a pattern under which a run of input bits of the default code sends
  // nothing (only every third section sent), so that no input weight bounds the cut.
  void lowWeightModeWithAPatternIsRefusedAtOk() {
    RunSettings withCode;  // the window's code, as a calculation leaves it
    withCode.inputs.code = codeFromTexts("1+D+D^2", "1+D^2").description.value();
    AdvancedSetupDialog setup(withCode);
    setup.findChild<QSpinBox*>(QStringLiteral("maxWeight"))->setValue(20);
    setup.findChild<QLineEdit*>(QStringLiteral("puncture"))->setText(QStringLiteral("100,100,100"));
    RunSettings settings = withCode;
    QVERIFY(!setup.readSettings(settings));
    QVERIFY(setup.findChild<QLabel*>(QStringLiteral("punctureMessage"))
                ->text()
                .startsWith(QStringLiteral("low-weight mode (--max-weight): with this pattern a "
                                           "run of input bits can send no bit at all")));
    QCOMPARE(settings.inputs.maxWeight, 0);
    setup.findChild<QLineEdit*>(QStringLiteral("puncture"))->clear();
    QVERIFY(setup.readSettings(settings));
    QCOMPARE(settings.inputs.maxWeight, 20);
  }

  void malformedPatternKeepsTheDialogOpen() {
    AdvancedSetupDialog setup(RunSettings{});
    setup.findChild<QLineEdit*>(QStringLiteral("puncture"))->setText(QStringLiteral("11,1x,01"));
    RunSettings settings;
    QVERIFY(!setup.readSettings(settings));
    QVERIFY(setup.findChild<QLabel*>(QStringLiteral("punctureMessage"))
                ->text()
                .contains(QStringLiteral("'x' in row PAR1 is not a pattern character")));
    QCOMPARE(settings.inputs.puncture, std::string());
  }

  // Low-weight mode moves the frame-length limit of "Get it" from 10000 to 1000000 bits.
  void lowWeightModeAcceptsFramesOfAMillionBits() {
    const auto record = std::make_shared<StandInRecord>();
    MainDialog dialog(recordingRun(record));
    dialog.show();
    field(dialog, "frameLength")->setText(QStringLiteral("100000"));
    {
      const ModalAnswerer boxes;
      pushButton(dialog, "getItButton")->click();
      QCOMPARE(boxes.texts(),
               QStringList{QStringLiteral("Please enter an integer between 10 and 10000.")});
    }
    QCOMPARE(record->calls.load(), 0);
    {
      const ModalAnswerer answerer([](QWidget* modal) {
        modal->findChild<QSpinBox*>(QStringLiteral("maxWeight"))->setValue(20);
        modal->findChild<QPushButton*>(QStringLiteral("okButton"))->click();
      });
      pushButton(dialog, "advancedSetupButton")->click();
      QCOMPARE(answerer.count(), 1);
    }
    QCOMPARE(control<QLabel>(dialog, "advancedSummary")->text(),
             QStringLiteral("Advanced setup: Low-weight terms only, d \u2264 20"));
    QSignalSpy ended(&dialog, &MainDialog::calculationEnded);
    {
      const ModalAnswerer boxes;  // the long-frame notice
      pushButton(dialog, "getItButton")->click();
      QTRY_COMPARE(ended.count(), 1);
    }
    QCOMPARE(record->inputs().maxWeight, 20);
    QCOMPARE(record->inputs().inputFrameLength, 100000);
  }

  // Alt and a caption's underlined letter puts the cursor into that caption's control, and no
  // two captions share a letter.
  void everyCaptionMnemonicFocusesItsControl() {
    AdvancedSetupDialog setup(RunSettings{});
    setup.show();
    QApplication::setActiveWindow(&setup);
    QVERIFY(QTest::qWaitForWindowActive(&setup));
    QSet<QChar> letters;
    for (const AdvancedOption& option : advancedOptions()) {
      const qsizetype amp = option.label.indexOf(QLatin1Char('&'));
      QVERIFY2(amp >= 0 && amp + 1 < option.label.size(), option.key);
      const QChar letter = option.label.at(amp + 1).toLower();
      QVERIFY2(!letters.contains(letter), option.key);
      letters.insert(letter);
      const auto* editor = setup.findChild<QWidget*>(QLatin1String(option.key));
      QTest::keyClick(&setup, static_cast<Qt::Key>(letter.toUpper().unicode()), Qt::AltModifier);
      QTRY_VERIFY2(editor->isAncestorOf(QApplication::focusWidget()) ||
                       QApplication::focusWidget() == editor,
                   option.key);
    }
  }

  void everyCommandLineOptionHasAControl() {
    // The main window's own fields and dialogs cover these; --quiet means nothing to a window.
    // --spectrum-in and its --code-length and --info-bits bound a spectrum read from a file
    // instead of a code's: a mode of the command line only.
    const QSet<QString> mainWindow{"--help",  "--version",      "--numerator",   "--denominator",
                                   "--type",  "--frame-length", "--output",      "--bounds",
                                   "--quiet", "--spectrum-in",  "--code-length", "--info-bits"};
#ifndef BREVANDOR_CLI_PATH
    QSKIP("brevandor-cli is not built");
#endif
    const QSet<QString> options = commandLineOptions();
    QVERIFY2(options.contains(QStringLiteral("--threads")), "cannot read brevandor-cli --help");

    QSet<QString> controls;
    const AdvancedSetupDialog setup(RunSettings{});
    for (const AdvancedOption& option : advancedOptions()) {
      controls.insert(QLatin1String(option.commandLine));
      const auto* editor = setup.findChild<QWidget*>(QLatin1String(option.key));
      QVERIFY2(editor != nullptr && !editor->toolTip().isEmpty(), option.key);
    }
    const QSet<QString> missing = options - mainWindow - controls;
    QVERIFY2(missing.isEmpty(),
             qPrintable(QStringLiteral("brevandor-cli has %1 but Advanced Setup has no control for "
                                       "it: add an entry to advancedOptions() in "
                                       "src/ui/advanced_options.cpp")
                            .arg(QStringList(missing.values()).join(QStringLiteral(", ")))));
    const QSet<QString> stale = controls - options;
    QVERIFY2(stale.isEmpty(), qPrintable(QStringList(stale.values()).join(QStringLiteral(", "))));
  }
};

std::unique_ptr<QObject> makeAdvancedSetupTest() {
  return std::make_unique<AdvancedSetupTest>();
}

}  // namespace brevandor::testing

#include "advanced_setup_test.moc"
