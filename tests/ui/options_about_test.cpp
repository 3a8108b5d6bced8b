#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QTest>

#include "ui/about_dialog.h"
#include "ui/options_dialog.h"
#include "ui_test_suites.h"

namespace brevandor::testing {

// The Options window's bound selection and the About box's texts.
class OptionsAboutTest : public QObject {
  Q_OBJECT

 private slots:
  void boxesShowEveryBoundSelection() {
    for (std::uint32_t mask = 0; mask < 8; ++mask) {
      const OptionsDialog dialog(BerBoundSet::fromBits(mask));
      QCOMPARE(dialog.findChild<QCheckBox*>("unionBoundQ")->isChecked(), (mask & 1) != 0);
      QCOMPARE(dialog.findChild<QCheckBox*>("unionBoundExp")->isChecked(), (mask & 2) != 0);
      QCOMPARE(dialog.findChild<QCheckBox*>("viterbiBound")->isChecked(), (mask & 4) != 0);
      QCOMPARE(dialog.boundSelection().bits(), mask);
    }
  }

  void boxTextsAndCaption() {
    const OptionsDialog dialog({BerBound::UnionQ});
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Options"));
    QCOMPARE(dialog.findChild<QCheckBox*>("unionBoundQ")->text(),
             QStringLiteral("Union Bound (Q function)"));
    QCOMPARE(dialog.findChild<QCheckBox*>("unionBoundExp")->text(),
             QStringLiteral("Union Bound (Exp)"));
    QCOMPARE(dialog.findChild<QCheckBox*>("viterbiBound")->text(), QStringLiteral("Viterbi Bound"));
    QVERIFY(dialog.findChild<QPushButton*>("okButton")->isDefault());
  }

  void aboutBoxTexts() {
    const AboutDialog about;
    QCOMPARE(about.windowTitle(), QStringLiteral("About Brevandor"));
    QCOMPARE(about.findChild<QLabel*>("versionLine")->text(),
             QStringLiteral("Brevandor  Version 1.2"));
    for (const char* name : {"authorLine", "webLine", "groupLine", "placeLine", "helpText"}) {
      const QLabel* line = about.findChild<QLabel*>(name);
      QVERIFY2(line != nullptr && !line->text().isEmpty(), name);
    }
    // The help names each field, the bounds and where the results go.
    const QString help = about.findChild<QLabel*>("helpText")->text();
    for (const char* topic : {"numerator", "Input Frame Len.(bits)", "Viterbi", "results.txt"}) {
      QVERIFY2(help.contains(QLatin1String(topic)), topic);
    }
  }
};

std::unique_ptr<QObject> makeOptionsAboutTest() {
  return std::make_unique<OptionsAboutTest>();
}

}  // namespace brevandor::testing

#include "options_about_test.moc"
