#include "ui/results_window.h"

#include <QChart>
#include <QCheckBox>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRegularExpression>
#include <QSet>
#include <QSignalSpy>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QXYSeries>
#include <QXmlStreamReader>
#include <cmath>

#include "main_dialog_probe.h"
#include "modal_answerer.h"
#include "plot/chart_export.h"
#include "report/record_files.h"
#include "report/run_record_json.h"
#include "run/calculation_run.h"
#include "support/printed_results.h"
#include "ui_test_suites.h"

namespace brevandor::testing {

namespace {

constexpr int kRunTimeout = 180000;  // milliseconds; generous for debug builds on busy machines

void writeFile(const QString& path, const QByteArray& contents) {
  QFile file(path);
  QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
  file.write(contents);
}

QString fromStd(const std::string& text) {
  return QString::fromStdString(text);
}

QByteArray readBytes(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The record of a real run of the default code, computed without a window.
std::shared_ptr<const RunRecord> computedRecord(int frameLength, BerBoundSet bounds,
                                                const QDir& folder) {
  RunInputs inputs;
  inputs.inputFrameLength = frameLength;
  inputs.boundSelection = bounds;
  inputs.resultsFileName =
      folder.filePath(QStringLiteral("results-%1.txt").arg(frameLength)).toStdString();
  inputs.code = codeFromTexts("1+D+D^2", "1+D^2").description.value();
  return CalculationRun(inputs, RunContext{}).execute().record;
}

// The lines of a chart (a curve cut at the frame is several), without their markers.
QList<QXYSeries*> seriesOf(QChart* chart) {
  QList<QXYSeries*> all;
  for (QAbstractSeries* series : chart->series()) {
    if (series->type() == QAbstractSeries::SeriesTypeLine) {
      all.append(static_cast<QXYSeries*>(series));
    }
  }
  return all;
}

// The names of the curves a chart draws, each once, in order.
QStringList namesOf(QChart* chart) {
  QStringList names;
  for (QXYSeries* series : seriesOf(chart)) {
    if (!names.contains(series->name())) {
      names.append(series->name());
    }
  }
  return names;
}

QStringList legendTexts(const std::vector<plot::LegendEntry>& entries) {
  QStringList texts;
  for (const plot::LegendEntry& entry : entries) {
    texts.append(entry.text);
  }
  return texts;
}

// Whether a printed "%e" value and a drawn value agree to the printed seven digits.
bool agreesToPrintedDigits(const std::string& printed, double drawn) {
  const double value = std::strtod(printed.c_str(), nullptr);
  return std::abs(value - drawn) <= 0.5e-6 * std::abs(value) * 1.0000001;
}

// What the list holds: "2 runs, ticked 10,20, current 20" (runs named by their N).
QString listState(const ResultsWindow& window) {
  QStringList names;
  for (const RunRecord* run : window.tickedRuns()) {
    names.append(QString::number(run->inputs.frameLength));
  }
  return QStringLiteral("%1 runs, ticked %2, current %3")
      .arg(window.runCount())
      .arg(names.join(QLatin1Char(',')))
      .arg(window.currentRun() ? window.currentRun()->inputs.frameLength : -1);
}

}  // namespace

// The results window: the file as text (any file name, fresh contents, find), the bound table
// and plots after a real run against its results file, overlays, opening saved records and
// exports.
class ResultsWindowTest : public QObject {
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
    ResultsWindow window;
    window.showFile(path);
    QVERIFY(window.isVisible());
    QCOMPARE(window.text(),
             QStringLiteral("\n Input Frame Length N = 10\n  d     A_d\n  3   1.000000e+00\n"));
    QCOMPARE(window.findChild<QLabel*>(QStringLiteral("resultsPath"))->text(),
             QFileInfo(path).absoluteFilePath());
    // Nothing was run: the folder holds the one file it was given.
    QCOMPARE(QDir(folder.path()).entryList(QDir::Files | QDir::NoDotAndDotDot).size(), 1);
  }

  void readsTheFileAgainEachTime() {
    const QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("results.txt"));
    writeFile(path, "first run\n");
    ResultsWindow window;
    window.showFile(path);
    QCOMPARE(window.text(), QStringLiteral("first run\n"));
    writeFile(path, "second run\n");
    window.showFile(path);
    QCOMPARE(window.text(), QStringLiteral("second run\n"));
  }

  void missingFileIsNamedInTheWindow() {
    const QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("no such folder/results.txt"));
    ResultsWindow window;
    window.showFile(path);
    QVERIFY(window.isVisible());
    QVERIFY2(window.text().contains(QStringLiteral("Cannot open the results file")),
             qPrintable(window.text()));
    QVERIFY(window.text().contains(path));
  }

  void findSelectsEachMatchAndWraps() {
    const QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("results.txt"));
    writeFile(path, "UB_Q first\nother\nUB_Q second\n");
    ResultsWindow window;
    window.showFile(path);
    QVERIFY(QTest::qWaitForWindowActive(&window));
    auto* text = window.findChild<QPlainTextEdit*>(QStringLiteral("resultsText"));
    text->setFocus();
    QTest::keyClick(text, Qt::Key_F, Qt::ControlModifier);
    auto* field = window.findChild<QLineEdit*>(QStringLiteral("findField"));
    QVERIFY(field->isVisible());
    QTest::keyClicks(field, QStringLiteral("UB_Q"));
    QTest::keyClick(field, Qt::Key_Return);
    QCOMPARE(text->textCursor().selectionStart(), 0);
    QTest::keyClick(field, Qt::Key_Return);
    QCOMPARE(text->textCursor().selectionStart(), 17);
    QTest::keyClick(field, Qt::Key_Return);  // past the last match: back to the first
    QCOMPARE(text->textCursor().selectionStart(), 0);
    // Escape closes the bar, not the window.
    QTest::keyClick(field, Qt::Key_Escape);
    QVERIFY(!field->isVisible());
    QVERIFY(window.isVisible());
  }

  void runAtHundredBitsShowsWhatTheFilePrints() {
    const QTemporaryDir folder;
    MainDialog dialog;
    dialog.show();
    dialog.useResultsFile(folder.filePath(QStringLiteral("results.txt")));
    field(dialog, "frameLength")->setText(QStringLiteral("100"));
    const ModalAnswerer options([](QWidget* modal) {
      modal->findChild<QCheckBox*>(QStringLiteral("unionBoundExp"))->click();
      modal->findChild<QCheckBox*>(QStringLiteral("viterbiBound"))->click();
      modal->findChild<QPushButton*>(QStringLiteral("okButton"))->click();
    });
    pushButton(dialog, "optionButton")->click();
    QCOMPARE(dialog.boundSelection(), kAllBerBounds);
    QSignalSpy ended(&dialog, &MainDialog::calculationEnded);
    pushButton(dialog, "getItButton")->click();
    QTRY_COMPARE_WITH_TIMEOUT(ended.count(), 1, kRunTimeout);
    ResultsWindow& window = *dialog.resultsViewer();
    QVERIFY(window.isVisible());
    QCOMPARE(window.runCount(), 1);

    // The table holds the file's bound section, word for word, under the Options names.
    const std::string file = readBytes(dialog.resultsPath()).toStdString();
    const PrintedBounds printed = printedBounds(file);
    QCOMPARE(printed.rows.size(), std::size_t{21});
    auto* table = window.findChild<QTableWidget*>(QStringLiteral("boundsTable"));
    const QStringList heads{"Eb/N0 [dB]", "Union Bound (Q function)", "Union Bound (Exp)",
                            "Viterbi Bound"};
    QCOMPARE(table->columnCount(), heads.size());
    QCOMPARE(table->rowCount(), 21);
    for (int c = 0; c < heads.size(); ++c) {
      QCOMPARE(table->horizontalHeaderItem(c)->text(), heads[c]);
      for (int row = 0; row < 21; ++row) {
        QCOMPARE(table->item(row, c)->text().toStdString(), printed.rows[row][c]);
      }
    }

    // The plot: one curve per bound, through the same points.
    const std::vector<plot::Curve> curves =
        plot::figureCurves(plot::Figure::Bounds, window.tickedRuns());
    QCOMPARE(namesOf(window.chart(plot::Figure::Bounds)), heads.mid(1));
    QCOMPARE(curves.size(), std::size_t{3});
    for (int c = 0; c < 3; ++c) {
      const QList<QPointF> points = curves[c].points;
      QCOMPARE(points.size(), 21);
      for (int row = 0; row < 21; ++row) {
        QCOMPARE(points[row].x(), std::strtod(printed.rows[row][0].c_str(), nullptr));
        QVERIFY2(agreesToPrintedDigits(printed.rows[row][c + 1], points[row].y()),
                 qPrintable(QStringLiteral("%1 at row %2").arg(curves[c].name).arg(row)));
      }
    }

    // The spectrum: the free distance and its multiplicity as the file prints them.
    const PrintedSpectrum spectrum = printedSpectrum(file);
    auto firstRow = std::find_if(spectrum.rows.begin(), spectrum.rows.end(), [](const auto& row) {
      return std::strtod(row.codewords.c_str(), nullptr) != 0.0;
    });
    QVERIFY(firstRow != spectrum.rows.end());
    const QString words = window.findChild<QLabel*>(QStringLiteral("spectrumSummary"))->text();
    const QRegularExpressionMatch said =
        QRegularExpression(QStringLiteral("free distance (\\d+) with A_d = (\\S+) codewords"))
            .match(words);
    QVERIFY2(said.hasMatch(), qPrintable(words));
    QCOMPARE(said.captured(1).toInt(), firstRow->weight);
    QVERIFY2(agreesToPrintedDigits(firstRow->codewords, said.captured(2).toDouble()),
             qPrintable(words));
    const QPointF firstPoint = seriesOf(window.chart(plot::Figure::Spectrum)).front()->at(0);
    QCOMPARE(firstPoint.x(), double(firstRow->weight));
    QVERIFY(agreesToPrintedDigits(firstRow->codewords, firstPoint.y()));
    dialog.close();
  }

  void exportsNamedInAdvancedSetupGoBesideTheResultsFile_data() {
    QTest::addColumn<QString>("json");
    QTest::addColumn<QString>("logged");
    QTest::newRow("beside") << "run.json" << QString();
    QTest::newRow("would replace the results file") << "results.txt"
                                                    << "--json: '%1' is also the file of --output";
  }

  void exportsNamedInAdvancedSetupGoBesideTheResultsFile() {
    QFETCH(QString, json);
    QFETCH(QString, logged);
    const QTemporaryDir folder;
    const QDir out(folder.path());
    MainDialog dialog;
    dialog.show();
    dialog.useResultsFile(out.filePath(QStringLiteral("results.txt")));
    field(dialog, "frameLength")->setText(QStringLiteral("10"));
    const ModalAnswerer setup([&](QWidget* modal) {
      modal->findChild<QLineEdit*>(QStringLiteral("jsonFile"))->setText(json);
      modal->findChild<QLineEdit*>(QStringLiteral("csvFile"))->setText(QStringLiteral("b.csv"));
      modal->findChild<QPushButton*>(QStringLiteral("okButton"))->click();
    });
    pushButton(dialog, "advancedSetupButton")->click();
    QSignalSpy ended(&dialog, &MainDialog::calculationEnded);
    pushButton(dialog, "getItButton")->click();
    QTRY_COMPARE_WITH_TIMEOUT(ended.count(), 1, kRunTimeout);
    const QByteArray results = readBytes(out.filePath(QStringLiteral("results.txt")));
    QVERIFY(results.startsWith("\n Turbo Code Parameters"));
    if (logged.isEmpty()) {
      const RecordReading saved = readRunRecordFile(out.filePath(json).toStdString());
      QVERIFY2(saved.record == *dialog.resultsViewer()->currentRun(), saved.error.c_str());
      QVERIFY(readBytes(out.filePath(QStringLiteral("b.csv"))).startsWith("ebn0_db,UB_Q\n"));
    } else {
      // Nothing is written rather than the results file replaced.
      const QString line = logged.arg(out.filePath(json));
      QVERIFY2(logText(dialog).contains(line), qPrintable(logText(dialog)));
      QVERIFY(!QFile::exists(out.filePath(QStringLiteral("b.csv"))));
    }
    dialog.close();
  }

  // An export that cannot be written: found before the run where it can be (a missing
  // folder: no run at all), else said in the status line instead of "Completed".
  void exportThatCannotBeWrittenIsNoCompletedRun_data() {
    QTest::addColumn<QString>("json");
    QTest::addColumn<bool>("runs");
    QTest::addColumn<QString>("reason");
    QTest::newRow("full disk") << "full.json" << true << "No space left on device";
    QTest::newRow("missing folder") << "missing/run.json" << false << "No such file or directory";
  }

  void exportThatCannotBeWrittenIsNoCompletedRun() {
    QFETCH(QString, json);
    QFETCH(bool, runs);
    QFETCH(QString, reason);
    const QTemporaryDir folder;
    const QDir out(folder.path());
    QVERIFY(QFile::link(QStringLiteral("/dev/full"), out.filePath(QStringLiteral("full.json"))));
    MainDialog dialog;
    dialog.show();
    dialog.useResultsFile(out.filePath(QStringLiteral("results.txt")));
    field(dialog, "frameLength")->setText(QStringLiteral("10"));
    const ModalAnswerer setup([&](QWidget* modal) {
      modal->findChild<QLineEdit*>(QStringLiteral("jsonFile"))->setText(json);
      modal->findChild<QPushButton*>(QStringLiteral("okButton"))->click();
    });
    pushButton(dialog, "advancedSetupButton")->click();
    QSignalSpy ended(&dialog, &MainDialog::calculationEnded);
    pushButton(dialog, "getItButton")->click();
    const QString line = QStringLiteral("cannot write '%1': %2").arg(out.filePath(json), reason);
    if (runs) {
      QTRY_COMPARE_WITH_TIMEOUT(ended.count(), 1, kRunTimeout);
      QCOMPARE(statusText(dialog), line);
    } else {
      QVERIFY(!dialog.isCalculating());
      QCOMPARE(ended.count(), 0);
      QVERIFY(!QFile::exists(out.filePath(QStringLiteral("results.txt"))));
    }
    QVERIFY2(logText(dialog).contains(line), qPrintable(logText(dialog)));
    dialog.close();
  }

  // Bound values beyond a double's range at either end keep their points (drawn clipped at
  // the plot's edge); only a zero is left out.
  void boundsBeyondADoubleKeepTheirPoints() {
    RunRecord record;
    record.bounds.ebn0Db = {0.0, 1.0, 2.0, 3.0};
    record.bounds.columns.push_back(
        BoundColumn{"Sphere_Word", "Sphere-Packing Bound (word)", {1e400L, 0.5L, 1e-347L, 0.0L}});
    const std::vector<plot::Curve> curves = plot::figureCurves(plot::Figure::Bounds, {&record});
    QCOMPARE(curves.size(), std::size_t{1});
    QCOMPARE(curves[0].points.size(), 3);
    for (const QPointF& point : curves[0].points) {
      QVERIFY(point.y() > 0.0 && std::isfinite(point.y()));
    }
  }

  // Three runs overlaid: the run legend names each in full in a colour of its own, the curve
  // legend each bound once; the table says that it shows one run of the three.
  void threeTickedRunsOverlayWithTheirFullNames() {
    const QTemporaryDir folder;
    ResultsWindow window;
    const BerBoundSet twoBounds{BerBound::UnionQ, BerBound::UnionExp};
    window.addRun(computedRecord(10, twoBounds, QDir(folder.path())), QString());
    window.addRun(computedRecord(20, twoBounds, QDir(folder.path())), QString());
    window.addRun(computedRecord(40, twoBounds, QDir(folder.path())), QString());
    // A new run shows alone until others are ticked.
    QCOMPARE(legendTexts(window.legend(plot::Figure::Bounds).runs),
             QStringList{"PCCC (1, 1+D+D^2 / 1+D^2), N = 40"});
    window.setTicked(0, true);
    window.setTicked(1, true);
    const QStringList labels{"PCCC (1, 1+D+D^2 / 1+D^2), N = 10",
                             "PCCC (1, 1+D+D^2 / 1+D^2), N = 20",
                             "PCCC (1, 1+D+D^2 / 1+D^2), N = 40"};
    for (const plot::Figure figure : {plot::Figure::Bounds, plot::Figure::Spectrum}) {
      const plot::FigureLegend& legend = window.legend(figure);
      QCOMPARE(legendTexts(legend.runs), labels);
      QSet<QRgb> colours;
      for (const plot::LegendEntry& run : legend.runs) {
        colours.insert(run.colour.rgb());
      }
      QCOMPARE(colours.size(), 3);
    }
    QCOMPARE(legendTexts(window.legend(plot::Figure::Bounds).curves),
             (QStringList{"Union Bound (Q function)", "Union Bound (Exp)"}));
    QCOMPARE(namesOf(window.chart(plot::Figure::Spectrum)), (QStringList{"A_d", "B_d"}));
    QCOMPARE(window.chart(plot::Figure::Bounds)->title(),
             QStringLiteral("3 runs overlaid (colour: run; line and marker: curve)"));
    const QString tableTitle =
        window.findChild<QLabel*>(QStringLiteral("boundsTableTitle"))->text();
    QVERIFY2(tableTitle.contains(labels[2]) && tableTitle.contains(QStringLiteral("overlays 3")),
             qPrintable(tableTitle));
  }

  // Before any run the Bounds tab says how to get a plot; a results file shown again finds the
  // record saved beside it.
  void withoutARunTheTabsSayHowToGetAPlot() {
    const QTemporaryDir folder;
    const QDir out(folder.path());
    ResultsWindow window;
    QVERIFY(!window.showsPlot(plot::Figure::Bounds));
    const QString hint = window.findChild<QLabel*>(QStringLiteral("boundsHint"))->text();
    QVERIFY2(hint.contains(QStringLiteral("\"Get it\"")) && hint.contains(QStringLiteral("Open")),
             qPrintable(hint));

    const std::shared_ptr<const RunRecord> record = computedRecord(10, {BerBound::UnionQ}, out);
    const QString results = out.filePath(QStringLiteral("results-10.txt"));
    QCOMPARE(fromStd(writeTextFile(out.filePath(QStringLiteral("results-10.json")).toStdString(),
                                   runRecordJson(*record))),
             QString());
    ResultsWindow later;
    later.showFile(results);
    QCOMPARE(later.runCount(), 1);
    QVERIFY(*later.currentRun() == *record);
    QVERIFY(later.showsPlot(plot::Figure::Bounds));
  }

  // Each run's File tab shows the file that run wrote, and says when it was written again.
  void theFileTabOfAnOlderRunShowsItsOwnFile() {
    const QTemporaryDir folder;
    const QDir out(folder.path());
    ResultsWindow window;
    const QString first = out.filePath(QStringLiteral("results-10.txt"));
    const QString second = out.filePath(QStringLiteral("results-20.txt"));
    window.addRun(computedRecord(10, {BerBound::UnionQ}, out), first);
    window.addRun(computedRecord(20, {BerBound::UnionQ}, out), second);
    QCOMPARE(window.path(), second);
    window.setCurrentRun(0);
    QCOMPARE(window.path(), first);
    QCOMPARE(window.text(), QString::fromLocal8Bit(readBytes(first)));
    auto* note = window.findChild<QLabel*>(QStringLiteral("resultsNote"));
    QVERIFY(note->text().isEmpty());

    // Written again by someone else: the File tab says so.
    writeFile(first, "another run\n");
    // Dated later explicitly: file times of a second's resolution must tell the writes apart.
    QFile rewritten(first);
    QVERIFY(rewritten.open(QIODevice::ReadWrite));
    QVERIFY(rewritten.setFileTime(QDateTime::currentDateTime().addSecs(5),
                                  QFileDevice::FileModificationTime));
    window.setCurrentRun(1);
    window.setCurrentRun(0);
    QVERIFY2(note->text().startsWith(QStringLiteral("Changed since this run wrote it")),
             qPrintable(note->text()));
  }

  void refusedRecordFilesLeaveTheListAlone_data() {
    QTest::addColumn<QByteArray>("contents");
    QTest::addColumn<QString>("says");
    const QByteArray record =
        readBytes(QStringLiteral(BREVANDOR_TEST_DATA_DIR "/records/pccc_n10_v1.json"));
    QTest::newRow("not ours") << QByteArray(R"({"type": "FeatureCollection"})")
                              << "not a Brevandor results record";
    QTest::newRow("truncated") << record.left(record.size() / 3) << "truncated";
    QTest::newRow("newer version")
        << QByteArray(record).replace("\"schema_version\": 1", "\"schema_version\": 7")
        << "newer Brevandor with schema version 7";
  }

  void refusedRecordFilesLeaveTheListAlone() {
    QFETCH(QByteArray, contents);
    QFETCH(QString, says);
    const QTemporaryDir folder;
    ResultsWindow window;
    QCOMPARE(
        window.openRecordFile(QStringLiteral(BREVANDOR_TEST_DATA_DIR "/records/pccc_n10_v1.json")),
        QString());
    window.addRun(computedRecord(20, {BerBound::UnionQ}, QDir(folder.path())), QString());
    window.setTicked(0, true);
    const QString before = listState(window);
    const QString path = folder.filePath(QStringLiteral("bad.json"));
    writeFile(path, contents);
    const QString message = window.openRecordFile(path);
    QVERIFY2(message.contains(says) && message.contains(path), qPrintable(message));
    QCOMPARE(listState(window), before);
    // Three bounds of the saved record, one of the run.
    QCOMPARE(plot::figureCurves(plot::Figure::Bounds, window.tickedRuns()).size(), std::size_t{4});
  }

  void exportsReadBack() {
    const QTemporaryDir folder;
    const QDir out(folder.path());
    ResultsWindow window;
    window.addRun(computedRecord(10, kAllBerBounds, out), QString());
    for (const plot::Figure figure : {plot::Figure::Bounds, plot::Figure::Spectrum}) {
      const QString png = out.filePath(plot::figureName(figure) + QStringLiteral(".png"));
      QCOMPARE(window.savePlot(figure, png), QString());
      const QImage image(png);
      QVERIFY(!image.isNull());
      QCOMPARE(image.size(), plot::kExportSize);

      const QString svg = out.filePath(plot::figureName(figure) + QStringLiteral(".svg"));
      QCOMPARE(window.savePlot(figure, svg), QString());
      QFile file(svg);
      QVERIFY(file.open(QIODevice::ReadOnly));
      QXmlStreamReader xml(&file);
      QStringList texts;
      while (!xml.atEnd()) {
        if (xml.readNext() == QXmlStreamReader::StartElement && xml.name() == u"text") {
          texts.append(xml.readElementText());
        }
      }
      QVERIFY2(!xml.hasError(), qPrintable(xml.errorString()));
      QVERIFY2(texts.contains(QStringLiteral("PCCC (1, 1+D+D^2 / 1+D^2), N = 10")),
               qPrintable(texts.join(QLatin1Char('|'))));
    }
    const QString csv = out.filePath(QStringLiteral("bounds.csv"));
    QCOMPARE(window.saveTable(plot::Figure::Bounds, csv), QString());
    QVERIFY(readBytes(csv).startsWith("ebn0_db,UB_Q,UB_Exp,IUB_Exp\n0,"));
    const QString json = out.filePath(QStringLiteral("run.json"));
    QCOMPARE(window.saveRecord(json), QString());
    QVERIFY(readRunRecordFile(json.toStdString()).record == *window.currentRun());
    QVERIFY(window.savePlot(plot::Figure::Bounds, out.filePath(QStringLiteral("p.gif")))
                .contains(QStringLiteral(".png or .svg")));
  }
};

std::unique_ptr<QObject> makeResultsWindowTest() {
  return std::make_unique<ResultsWindowTest>();
}

}  // namespace brevandor::testing

#include "results_window_test.moc"
