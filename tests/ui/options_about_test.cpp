#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QTest>

#include "modal_answerer.h"
#include "ui/about_dialog.h"
#include "ui/options_dialog.h"
#include "ui_test_suites.h"

namespace brevandor::testing {

// The Options window's bound selection and the About box's texts.
class OptionsAboutTest : public QObject {
  Q_OBJECT

 private slots:
  void boxesShowEveryBoundSelection() {
    for (std::int32_t mask = 0; mask < 8; ++mask) {
      const OptionsDialog dialog(mask);
      QCOMPARE(dialog.findChild<QCheckBox*>("unionBoundQ")->isChecked(), (mask & 1) != 0);
      QCOMPARE(dialog.findChild<QCheckBox*>("unionBoundExp")->isChecked(), (mask & 2) != 0);
      QCOMPARE(dialog.findChild<QCheckBox*>("viterbiBound")->isChecked(), (mask & 4) != 0);
      QCOMPARE(dialog.boundSelection(), mask);
    }
  }

  void boxTextsAndCaption() {
    const OptionsDialog dialog(1);
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Options"));
    QCOMPARE(dialog.findChild<QCheckBox*>("unionBoundQ")->text(),
             QStringLiteral("Union Bound (Q function)"));
    QCOMPARE(dialog.findChild<QCheckBox*>("unionBoundExp")->text(),
             QStringLiteral("Union Bound (Exp)"));
    QCOMPARE(dialog.findChild<QCheckBox*>("viterbiBound")->text(), QStringLiteral("Viterbi Bound"));
    QVERIFY(dialog.findChild<QPushButton*>("okButton")->isDefault());
  }

  void chooseTakesTheBoxesOnlyOnOk_data() {
    QTest::addColumn<int>("initial");
    QTest::addColumn<QStringList>("toggled");
    QTest::addColumn<QString>("button");
    QTest::addColumn<int>("expected");
    QTest::newRow("Q plus Viterbi") << 1 << QStringList{"viterbiBound"} << "okButton" << 5;
    QTest::newRow("none") << 1 << QStringList{"unionBoundQ"} << "okButton" << 0;
    QTest::newRow("all") << 0 << QStringList{"unionBoundQ", "unionBoundExp", "viterbiBound"}
                         << "okButton" << 7;
    QTest::newRow("cancel keeps") << 1 << QStringList{"viterbiBound", "unionBoundExp"}
                                  << "cancelButton" << 1;
    QTest::newRow("cancel keeps none") << 0 << QStringList{"unionBoundQ"} << "cancelButton" << 0;
  }

  void chooseTakesTheBoxesOnlyOnOk() {
    QFETCH(int, initial);
    QFETCH(QStringList, toggled);
    QFETCH(QString, button);
    QFETCH(int, expected);
    const ModalAnswerer answerer([&](QWidget* modal) {
      for (const QString& name : toggled) {
        QTest::mouseClick(modal->findChild<QCheckBox*>(name), Qt::LeftButton);
      }
      modal->findChild<QPushButton*>(button)->click();
    });
    QCOMPARE(OptionsDialog::choose(initial, nullptr), expected);
    QCOMPARE(answerer.count(), 1);
  }

  void aboutBoxTexts() {
    const AboutDialog about;
    QCOMPARE(about.windowTitle(), QStringLiteral("About Brevandor"));
    QCOMPARE(about.findChild<QLabel*>("versionLine")->text(),
             QStringLiteral("Brevandor  Version 1.2"));
    int creditLines = 0;
    for (const char* name : {"authorLine", "webLine", "groupLine", "placeLine"}) {
      const QLabel* line = about.findChild<QLabel*>(name);
      QVERIFY2(line != nullptr && !line->text().isEmpty(), name);
      ++creditLines;
    }
    QCOMPARE(creditLines, 4);
  }

  void aboutBoxClosesWithOk() {
    AboutDialog about;
    const ModalAnswerer answerer(
        [](QWidget* modal) { modal->findChild<QPushButton*>("okButton")->click(); });
    QCOMPARE(about.exec(), int(QDialog::Accepted));
  }
};

std::unique_ptr<QObject> makeOptionsAboutTest() {
  return std::make_unique<OptionsAboutTest>();
}

}  // namespace brevandor::testing

#include "options_about_test.moc"
