#include <QDir>
#include <QFile>
#include <QHash>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QXmlStreamReader>

#include "ui_test_suites.h"

namespace brevandor::testing {

namespace {

struct Finished {
  int exitCode = -1;
  QString err;
};

Finished runProgram(const QString& program, const QStringList& arguments, const QString& folder) {
  QProcess process;
  process.setWorkingDirectory(folder);
  process.start(program, arguments);
  if (!process.waitForFinished(120000)) {
    process.kill();
    return {};
  }
  return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
          QString::fromLocal8Bit(process.readAllStandardError())};
}

// What an SVG picture shows: its texts, and the points drawn per fill colour.
struct SvgContents {
  QStringList texts;
  QHash<QString, int> pointsByColour;
  QString error;
};

SvgContents readSvg(const QString& path) {
  SvgContents contents;
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) {
    contents.error = file.errorString();
    return contents;
  }
  QXmlStreamReader xml(&file);
  QStringList fills;  // the fill of each open group
  while (!xml.atEnd()) {
    const QXmlStreamReader::TokenType token = xml.readNext();
    if (token == QXmlStreamReader::StartElement && xml.name() == u"g") {
      fills.append(xml.attributes().value(QStringLiteral("fill")).toString());
    } else if (token == QXmlStreamReader::EndElement && xml.name() == u"g") {
      fills.removeLast();
    } else if (token == QXmlStreamReader::StartElement && xml.name() == u"circle") {
      ++contents.pointsByColour[fills.isEmpty() ? QString() : fills.last()];
    } else if (token == QXmlStreamReader::StartElement && xml.name() == u"text") {
      contents.texts.append(xml.readElementText());
    }
  }
  contents.error = xml.hasError() ? xml.errorString() : QString();
  return contents;
}

}  // namespace

// brevandor-plot as a script uses it: records written by brevandor-cli --json, one picture.
class PlotProgramTest : public QObject {
  Q_OBJECT

 private slots:
  void twoRecordsMakeTwoLabelledCurves() {
    const QTemporaryDir folder;
    for (const char* n : {"10", "20"}) {
      const Finished run = runProgram(QStringLiteral(BREVANDOR_CLI_PATH),
                                      {"-q", "-N", n, "-o", QStringLiteral("r%1.txt").arg(n),
                                       "--json", QStringLiteral("r%1.json").arg(n)},
                                      folder.path());
      QVERIFY2(run.exitCode == 0, qPrintable(run.err));
    }
    const Finished plot = runProgram(QStringLiteral(BREVANDOR_PLOT_PATH),
                                     {"--what", "bounds", "--title", "Two frames", "--output",
                                      "both.svg", "r10.json", "r20.json"},
                                     folder.path());
    QVERIFY2(plot.exitCode == 0, qPrintable(plot.err));

    const SvgContents svg = readSvg(QDir(folder.path()).filePath(QStringLiteral("both.svg")));
    QVERIFY2(svg.error.isEmpty(), qPrintable(svg.error));
    for (const QString& label :
         {QStringLiteral("Two frames"), QStringLiteral("PCCC (1, 1+D+D^2 / 1+D^2), N = 10"),
          QStringLiteral("PCCC (1, 1+D+D^2 / 1+D^2), N = 20")}) {
      QVERIFY2(svg.texts.count(label) == 1, qPrintable(svg.texts.join(QLatin1Char('|'))));
    }
    // Two curves in two colours, each through its 21 Eb/N0 points.
    QList<int> curves;
    for (auto colour = svg.pointsByColour.begin(); colour != svg.pointsByColour.end(); ++colour) {
      curves.append(colour.value());
    }
    QCOMPARE(curves, (QList<int>{21, 21}));
  }

  void refusesARecordThatEndsEarly() {
    const QTemporaryDir folder;
    QFile bad(QDir(folder.path()).filePath(QStringLiteral("bad.json")));
    QVERIFY(bad.open(QIODevice::WriteOnly));
    bad.write("{\"format\": \"brevandor-results\", \"schema_");
    bad.close();
    const Finished plot =
        runProgram(QStringLiteral(BREVANDOR_PLOT_PATH), {"-o", "x.png", "bad.json"}, folder.path());
    QCOMPARE(plot.exitCode, 2);
    QVERIFY2(plot.err.contains(QStringLiteral("'bad.json' is refused: it ends early")),
             qPrintable(plot.err));
    QVERIFY(!QFile::exists(QDir(folder.path()).filePath(QStringLiteral("x.png"))));
  }
};

std::unique_ptr<QObject> makePlotProgramTest() {
  return std::make_unique<PlotProgramTest>();
}

}  // namespace brevandor::testing

#include "plot_program_test.moc"
