#include "ui/results_viewer.h"

#include <QDir>
#include <QFile>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <QTest>

#include "ui_test_suites.h"

namespace brevandor::testing {

namespace {

void writeFile(const QString& path, const QByteArray& contents) {
  QFile file(path);
  QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
  file.write(contents);
}

}  // namespace

// The program's own results viewer: any file name, fresh contents each time, no crash on a
// missing file.
class ResultsViewerTest : public QObject {
  Q_OBJECT

 private slots:
  void showsTheFileWhateverItsName_data() {
    QTest::addColumn<QString>("name");
    QTest::newRow("plain") << "results.txt";
    QTest::newRow("blanks") << "my results file.txt";
    QTest::newRow("quotes") << "it's \"quoted\".txt";
    QTest::newRow("command separators") << "a; rm -rf x & b | c.txt";
    QTest::newRow("shell expansions") << "$(echo no)`x`*.txt";
  }

  void showsTheFileWhateverItsName() {
    QFETCH(QString, name);
    const QTemporaryDir folder;
    const QString path = QDir(folder.path()).filePath(name);
    writeFile(path, "\n Input Frame Length N = 10\n  d     A_d\n  3   1.000000e+00\n");
    ResultsViewer viewer;
    viewer.showFile(path);
    QVERIFY(viewer.isVisible());
    QCOMPARE(viewer.text(),
             QStringLiteral("\n Input Frame Length N = 10\n  d     A_d\n  3   1.000000e+00\n"));
    QVERIFY(viewer.windowTitle().contains(QFileInfo(path).fileName()));
    // Nothing was run: the folder holds the one file it was given.
    QCOMPARE(QDir(folder.path()).entryList(QDir::Files | QDir::NoDotAndDotDot).size(), 1);
  }

  void readsTheFileAgainEachTime() {
    const QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("results.txt"));
    writeFile(path, "first run\n");
    ResultsViewer viewer;
    viewer.showFile(path);
    QCOMPARE(viewer.text(), QStringLiteral("first run\n"));
    writeFile(path, "second run\n");
    viewer.showFile(path);
    QCOMPARE(viewer.text(), QStringLiteral("second run\n"));
  }

  void missingFileIsNamedInTheViewer() {
    const QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("no such folder/results.txt"));
    ResultsViewer viewer;
    viewer.showFile(path);
    QVERIFY(viewer.isVisible());
    QVERIFY2(viewer.text().contains(QStringLiteral("Cannot open the results file")),
             qPrintable(viewer.text()));
    QVERIFY(viewer.text().contains(path));
  }
};

std::unique_ptr<QObject> makeResultsViewerTest() {
  return std::make_unique<ResultsViewerTest>();
}

}  // namespace brevandor::testing

#include "results_viewer_test.moc"
