#include <QDir>
#include <QFile>
#include <QHash>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QXmlStreamReader>
#include <algorithm>
#include <cmath>

#include "plot/curve_styles.h"
#include "plot/figure_legend.h"
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

// What an SVG picture shows: its texts, the centres of the round markers drawn per fill
// colour, and the corners of the lines drawn per stroke colour (in the picture's coordinates).
struct SvgContents {
  QStringList texts;
  QHash<QString, QList<QPointF>> pointsByColour;
  QHash<QString, QList<QPointF>> cornersByColour;
  QString error;

  QString allText() const { return texts.join(QLatin1Char(' ')); }
};

// The offset of a group's "matrix(1,0,0,1,dx,dy)" transform (the generator writes no other).
QPointF offsetOf(const QString& transform) {
  const QStringList numbers = QString(transform)
                                  .remove(QStringLiteral("matrix("))
                                  .remove(QLatin1Char(')'))
                                  .split(QLatin1Char(','));
  return numbers.size() == 6 ? QPointF(numbers[4].toDouble(), numbers[5].toDouble()) : QPointF();
}

SvgContents readSvg(const QString& path) {
  SvgContents contents;
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) {
    contents.error = file.errorString();
    return contents;
  }
  QXmlStreamReader xml(&file);
  QStringList fills;    // the fill of each open group
  QStringList strokes;  // … its stroke
  QList<QPointF> offsets;
  while (!xml.atEnd()) {
    const QXmlStreamReader::TokenType token = xml.readNext();
    if (token == QXmlStreamReader::StartElement && xml.name() == u"g") {
      fills.append(xml.attributes().value(QStringLiteral("fill")).toString());
      strokes.append(xml.attributes().value(QStringLiteral("stroke")).toString().toLower());
      offsets.append(offsetOf(xml.attributes().value(QStringLiteral("transform")).toString()));
    } else if (token == QXmlStreamReader::EndElement && xml.name() == u"g") {
      fills.removeLast();
      strokes.removeLast();
      offsets.removeLast();
    } else if (token == QXmlStreamReader::StartElement && xml.name() == u"polyline" &&
               !strokes.isEmpty()) {
      const QStringList corners = xml.attributes()
                                      .value(QStringLiteral("points"))
                                      .toString()
                                      .split(QLatin1Char(' '), Qt::SkipEmptyParts);
      for (const QString& corner : corners) {
        const QStringList xy = corner.split(QLatin1Char(','));
        contents.cornersByColour[strokes.last()].append(
            offsets.last() + QPointF(xy.value(0).toDouble(), xy.value(1).toDouble()));
      }
    } else if (token == QXmlStreamReader::StartElement && xml.name() == u"circle") {
      const QPointF centre(xml.attributes().value(QStringLiteral("cx")).toDouble(),
                           xml.attributes().value(QStringLiteral("cy")).toDouble());
      contents.pointsByColour[fills.isEmpty() ? QString() : fills.last()].append(
          (offsets.isEmpty() ? QPointF() : offsets.last()) + centre);
    } else if (token == QXmlStreamReader::StartElement && xml.name() == u"text") {
      contents.texts.append(xml.readElementText());
    }
  }
  contents.error = xml.hasError() ? xml.errorString() : QString();
  return contents;
}

// The plot's frame: where the grid lines (light grey) run; null when there is no grid.
QRectF frameOf(const SvgContents& svg) {
  const QList<QPointF> grid = svg.cornersByColour.value(QStringLiteral("#d6d6d6"));
  if (grid.isEmpty()) {
    return {};
  }
  QRectF frame(grid.front(), grid.front());
  for (const QPointF& corner : grid) {
    frame.setLeft(std::min(frame.left(), corner.x()));
    frame.setRight(std::max(frame.right(), corner.x()));
    frame.setTop(std::min(frame.top(), corner.y()));
    frame.setBottom(std::max(frame.bottom(), corner.y()));
  }
  return frame;
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
    // The title once, each run once in the legend (its name may wrap over lines).
    QCOMPARE(svg.texts.count(QStringLiteral("Two frames")), 1);
    for (const QString& label : {QStringLiteral("PCCC (1, 1+D+D^2 / 1+D^2), N = 10"),
                                 QStringLiteral("PCCC (1, 1+D+D^2 / 1+D^2), N = 20")}) {
      QVERIFY2(svg.allText().count(label) == 1, qPrintable(svg.allText()));
    }
    // Two curves in the first two run colours, each marked at those of its 21 Eb/N0 points
    // that lie in the plot (the first few exceed 1).
    for (std::size_t run = 0; run < 2; ++run) {
      const auto marked = svg.pointsByColour.value(plot::runColour(run).name()).size();
      QVERIFY2(marked >= 15 && marked <= 21, qPrintable(QString::number(marked)));
    }
  }

  // Three runs from 1 down to far below a double's range (Eb/N0 up to 30 dB): each run in its
  // own colour under its full name, and no line of the picture leaves the plot's frame (the
  // extent of its grid), where curves once ran thousands of units above the picture.
  void threeRunsOverlaidStayInsideTheFrame() {
    const QTemporaryDir folder;
    QStringList records;
    for (const char* n : {"10", "20", "40"}) {
      records.append(QStringLiteral("r%1.json").arg(n));
      const Finished run =
          runProgram(QStringLiteral(BREVANDOR_CLI_PATH),
                     {"-q", "-N", n, "-o", QStringLiteral("r%1.txt").arg(n), "-b",
                      "q,exp,viterbi,sphere", "--ebn0", "-5:0.5:30", "--json", records.last()},
                     folder.path());
      QVERIFY2(run.exitCode == 0, qPrintable(run.err));
    }
    const Finished plot =
        runProgram(QStringLiteral(BREVANDOR_PLOT_PATH),
                   QStringList{"--size", "1200x700", "-o", "three.svg"} + records, folder.path());
    QVERIFY2(plot.exitCode == 0, qPrintable(plot.err));
    const SvgContents svg = readSvg(QDir(folder.path()).filePath(QStringLiteral("three.svg")));
    QVERIFY2(svg.error.isEmpty(), qPrintable(svg.error));
    for (const char* n : {"10", "20", "40"}) {
      const QString label = QStringLiteral("PCCC (1, 1+D+D^2 / 1+D^2), N = %1").arg(n);
      QVERIFY2(svg.allText().count(label) == 1, qPrintable(svg.allText()));
    }

    const QRectF frame = frameOf(svg);
    QVERIFY(!frame.isNull());
    // Every curve's corners within it (half a unit for rounding); the legend's samples lie to
    // the right of the chart.
    const double legendLeft = 1200.0 - plot::legendWidth(1200.0);
    const QRectF inside = frame.adjusted(-0.5, -0.5, 0.5, 0.5);
    for (std::size_t run = 0; run < 3; ++run) {
      const QList<QPointF> corners = svg.cornersByColour.value(plot::runColour(run).name());
      QVERIFY(corners.size() > 70);
      for (const QPointF& corner : corners) {
        QVERIFY2(corner.x() > legendLeft || inside.contains(corner),
                 qPrintable(QStringLiteral("run %1: (%2, %3) outside (%4, %5)-(%6, %7)")
                                .arg(run)
                                .arg(corner.x())
                                .arg(corner.y())
                                .arg(frame.left())
                                .arg(frame.top())
                                .arg(frame.right())
                                .arg(frame.bottom())));
      }
    }
  }

  // A simulation without bounds: its BER points (round markers) and their error bars (the run
  // colour's only lines in the chart) lie inside the plot's frame, though the first point sits
  // on the frame's left edge, and a bar runs through each point.
  void simulatedPointsAndBarsStayInsideTheFrame() {
    const QTemporaryDir folder;
    // Two points at N = 40 that both end at 5 frame errors (seed 1, the default).
    const Finished run =
        runProgram(QStringLiteral(BREVANDOR_CLI_PATH),
                   {"-q", "-N", "40", "--ebn0", "0:1:1", "--simulate", "--max-frames", "40",
                    "--min-frame-errors", "5", "-b", "none", "-o", "s.txt", "--json", "s.json"},
                   folder.path());
    QVERIFY2(run.exitCode == 0, qPrintable(run.err));
    const Finished plot =
        runProgram(QStringLiteral(BREVANDOR_PLOT_PATH),
                   {"--size", "1200x700", "-o", "s.svg", "s.json"}, folder.path());
    QVERIFY2(plot.exitCode == 0, qPrintable(plot.err));
    const SvgContents svg = readSvg(QDir(folder.path()).filePath(QStringLiteral("s.svg")));
    QVERIFY2(svg.error.isEmpty(), qPrintable(svg.error));
    QVERIFY2(svg.allText().contains(QStringLiteral("Simulated FER")), qPrintable(svg.allText()));

    const QRectF inside = frameOf(svg).adjusted(-0.5, -0.5, 0.5, 0.5);
    const QString colour = plot::runColour(0).name();
    const QList<QPointF> markers = svg.pointsByColour.value(colour);
    QList<QPointF> corners;  // the chart's, not the legend's samples on the right
    for (const QPointF& corner : svg.cornersByColour.value(colour)) {
      if (corner.x() < 1200.0 - plot::legendWidth(1200.0)) {
        corners.append(corner);
      }
    }
    QCOMPARE(markers.size(), 2);
    for (const QPointF& point : markers + corners) {
      QVERIFY2(
          inside.contains(point),
          qPrintable(QStringLiteral("(%1, %2) outside the frame").arg(point.x()).arg(point.y())));
    }
    // A marker's picture sits on whole pixels, its bar may lie half a pixel beside its centre.
    for (const QPointF& marker : markers) {
      QVERIFY(std::any_of(corners.begin(), corners.end(), [&](const QPointF& corner) {
        return std::abs(corner.x() - marker.x()) <= 1.0 && std::abs(corner.y() - marker.y()) > 1.0;
      }));
    }
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
