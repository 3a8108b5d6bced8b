#include "ui/field_checks.h"

#include <QTest>

#include "ui_test_suites.h"

namespace brevandor::testing {

namespace {

const QString kNotANumber = QStringLiteral("Please enter a positive integer.");
const QString kOutOfRange = QStringLiteral("Please enter an integer between 10 and 10000.");

}  // namespace

// How the window reads its number and text fields, and the messages it shows for them.
class FieldChecksTest : public QObject {
  Q_OBJECT

 private slots:
  void frameLengthField_data() {
    QTest::addColumn<QString>("field");
    QTest::addColumn<bool>("accepted");
    QTest::addColumn<uint>("value");
    QTest::addColumn<QString>("message");

    QTest::newRow("default") << "128" << true << 128u << QString();
    QTest::newRow("lowest") << "10" << true << 10u << QString();
    QTest::newRow("highest") << "10000" << true << 10000u << QString();
    QTest::newRow("just below") << "9" << false << 9u << kOutOfRange;
    QTest::newRow("just above") << "10001" << false << 10001u << kOutOfRange;
    QTest::newRow("zero") << "0" << false << 0u << kOutOfRange;
    QTest::newRow("blanks around") << "  500 \t" << true << 500u << QString();
    QTest::newRow("leading zeros") << "00042" << true << 42u << QString();
    QTest::newRow("empty") << "" << false << 0u << kNotANumber;
    QTest::newRow("only blanks") << "   " << false << 0u << kNotANumber;
    QTest::newRow("minus sign") << "-20" << false << 0u << kNotANumber;
    QTest::newRow("plus sign") << "+20" << false << 0u << kNotANumber;
    QTest::newRow("letter after") << "12a" << false << 0u << kNotANumber;
    QTest::newRow("blank inside") << "1 2" << false << 0u << kNotANumber;
    QTest::newRow("decimal point") << "12.5" << false << 0u << kNotANumber;
    // Beyond 32 bits the number saturates instead of wrapping into the range.
    QTest::newRow("wraps to 100 in 32 bits") << "4294967396" << false << 4294967295u << kOutOfRange;
    // Only the first 31 characters are read: the digits after them are not seen.
    QTest::newRow("digits beyond 31 characters")
        << QString(30, QLatin1Char(' ')) + QStringLiteral("1280") << false << 1u << kOutOfRange;
    QTest::newRow("letter beyond 31 characters")
        << QStringLiteral("128") + QString(28, QLatin1Char(' ')) + QStringLiteral("x") << true
        << 128u << QString();
  }

  void frameLengthField() {
    QFETCH(QString, field);
    QFETCH(bool, accepted);
    QFETCH(uint, value);
    QFETCH(QString, message);
    const FieldCheck check = checkFrameLength(field, 10, 10000);
    QCOMPARE(check.accepted, accepted);
    QCOMPARE(check.message, message);
    if (!message.contains(QLatin1String("positive"))) {
      QCOMPARE(check.value, value);
    }
  }

  void textLengthLimitIsInclusive() {
    QVERIFY(checkTextLength(QString(100, QLatin1Char('D')), 100).accepted);
    const FieldCheck tooLong = checkTextLength(QString(101, QLatin1Char('D')), 100);
    QVERIFY(!tooLong.accepted);
    QCOMPARE(tooLong.message, QStringLiteral("Please enter no more than 100 characters."));
  }
};

std::unique_ptr<QObject> makeFieldChecksTest() {
  return std::make_unique<FieldChecksTest>();
}

}  // namespace brevandor::testing

#include "field_checks_test.moc"
