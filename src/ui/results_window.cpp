#include "ui/results_window.h"

#include <QChart>
#include <QChartView>
#include <QCheckBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QShortcut>
#include <QSplitter>
#include <QStackedWidget>
#include <QTabWidget>
#include <QTableWidget>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <algorithm>

#include "plot/chart_export.h"
#include "plot/legend_view.h"
#include "report/number_text.h"
#include "report/record_csv.h"
#include "report/record_files.h"
#include "report/run_record_json.h"
#include "report/scientific_text.h"
#include "ui/app_icon.h"
#include "ui/results_file_view.h"

namespace brevandor {

namespace {

// The columns of the run list.
enum ListColumn { RunColumn, BoundsColumn, SourceColumn };

// Weights named in words above the spectrum plot, the free distance first.
constexpr std::size_t kWeightsInWords = 3;
// Significant digits of the counts in words, as the results file prints them.
constexpr int kPrintedDigits = 7;

QString fromStd(const std::string& text) {
  return QString::fromStdString(text);
}

QString boundNames(const RunRecord& record) {
  QStringList names;
  for (const BoundColumn& column : record.bounds.columns) {
    names.append(fromStd(column.name));
  }
  return names.isEmpty() ? QObject::tr("none") : names.join(QStringLiteral(", "));
}

QString count(double log10Value) {
  return fromStd(decimalFromLog10(log10Value, kPrintedDigits));
}

// "PCCC (…), N = 100: free distance 8 with A_d = 1.655556e+00 codewords (B_d = …); then
// d = 9 (A_d = …), d = 10 (A_d = …)."
QString spectrumWords(const RunRecord& record) {
  const std::vector<SpectrumLine>& lines = record.spectrum.lines;
  const QString label = fromStd(runLabel(record));
  if (lines.empty()) {
    return QObject::tr("%1: no codeword of positive weight.").arg(label);
  }
  QString words = QObject::tr("%1: free distance %2 with A_d = %3 codewords (B_d = %4)")
                      .arg(label)
                      .arg(lines.front().weight)
                      .arg(count(lines.front().log10Codewords), count(lines.front().log10Weighted));
  QStringList next;
  for (std::size_t i = 1; i < std::min(lines.size(), kWeightsInWords); ++i) {
    next.append(
        QObject::tr("d = %1 (A_d = %2)").arg(lines[i].weight).arg(count(lines[i].log10Codewords)));
  }
  if (!next.isEmpty()) {
    words += QObject::tr("; then ") + next.join(QStringLiteral(", "));
  }
  return words + QLatin1Char('.');
}

// A file name chosen in a save dialog, with the suffix of the chosen filter when it has none.
QString withSuffix(const QString& chosen, const QString& filter) {
  if (chosen.isEmpty() || !QFileInfo(chosen).suffix().isEmpty()) {
    return chosen;
  }
  const qsizetype star = filter.indexOf(QStringLiteral("*."));
  return star < 0 ? chosen : chosen + filter.mid(star + 1, filter.indexOf(')', star) - star - 1);
}

QPushButton* button(const QString& text, const char* name, QWidget* parent) {
  auto* made = new QPushButton(text, parent);
  made->setObjectName(QLatin1String(name));
  return made;
}

}  // namespace

ResultsWindow::ResultsWindow(QWidget* parent)
    : QWidget(parent, Qt::Window),
      list_(new QTreeWidget(this)),
      tabs_(new QTabWidget(this)),
      boundsSplit_(new QSplitter(Qt::Horizontal, this)),
      boundsTableTitle_(new QLabel(this)),
      boundsTable_(new QTableWidget(this)),
      boundsView_(new QChartView(this)),
      boundsLegend_(new plot::LegendView(this)),
      boundsPages_(new QStackedWidget(this)),
      spectrumSummary_(new QLabel(this)),
      allWeights_(
          new QCheckBox(tr("All weights (else the first %1)").arg(plot::kFirstWeights), this)),
      spectrumView_(new QChartView(this)),
      spectrumLegend_(new plot::LegendView(this)),
      spectrumPages_(new QStackedWidget(this)),
      fileView_(new ResultsFileView(this)) {
  setObjectName(QStringLiteral("resultsWindow"));
  setWindowIcon(applicationIcon());
  setWindowTitle(tr("Brevandor - Results"));
  buildLayout();
  new QShortcut(QKeySequence::Cancel, this, this, &QWidget::close);
  redrawCharts();
  // Roomy for an overlay, but never larger than the screen it opens on.
  resize(QSize(1200, 760).boundedTo(screen()->availableGeometry().size()));
}

void ResultsWindow::buildLayout() {
  tabs_->setObjectName(QStringLiteral("resultsTabs"));
  tabs_->addTab(buildBoundsTab(), tr("&Bounds"));
  tabs_->addTab(buildSpectrumTab(), tr("&Spectrum"));
  tabs_->addTab(fileView_, tr("&File"));

  auto* split = new QSplitter(Qt::Vertical, this);
  split->addWidget(buildListArea());
  split->addWidget(tabs_);
  split->setStretchFactor(1, 1);
  split->setSizes({110, 640});

  auto* close = button(tr("Cl&ose"), "closeButton", this);
  connect(close, &QPushButton::clicked, this, &QWidget::close);
  auto* bottom = new QHBoxLayout;
  bottom->addStretch(1);
  bottom->addWidget(close);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(split, 1);
  layout->addLayout(bottom);
}

QWidget* ResultsWindow::buildListArea() {
  auto* area = new QWidget(this);
  list_->setObjectName(QStringLiteral("runList"));
  list_->setColumnCount(3);
  list_->setHeaderLabels({tr("Run (tick to overlay)"), tr("Bounds"), tr("From")});
  list_->setRootIsDecorated(false);
  list_->header()->setSectionResizeMode(RunColumn, QHeaderView::ResizeToContents);
  list_->header()->setSectionResizeMode(BoundsColumn, QHeaderView::ResizeToContents);
  connect(list_, &QTreeWidget::itemChanged, this, [this](QTreeWidgetItem*, int column) {
    if (!updating_ && column == RunColumn) {
      redrawCharts();
    }
  });
  connect(list_, &QTreeWidget::currentItemChanged, this, [this]() {
    if (!updating_) {
      showCurrentRun();
    }
  });

  auto* open = button(tr("&Open..."), "openRecordButton", area);
  auto* save = button(tr("Save &JSON..."), "saveRecordButton", area);
  auto* remove = button(tr("&Remove"), "removeRunButton", area);
  connect(open, &QPushButton::clicked, this, &ResultsWindow::openRecords);
  connect(save, &QPushButton::clicked, this, &ResultsWindow::saveRecordAs);
  connect(remove, &QPushButton::clicked, this, &ResultsWindow::removeCurrent);
  auto* buttons = new QVBoxLayout;
  buttons->addWidget(open);
  buttons->addWidget(save);
  buttons->addWidget(remove);
  buttons->addStretch(1);
  auto* layout = new QHBoxLayout(area);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(list_, 1);
  layout->addLayout(buttons);
  return area;
}

QWidget* ResultsWindow::buildBoundsTab() {
  auto* tab = new QWidget(this);
  boundsTable_->setObjectName(QStringLiteral("boundsTable"));
  boundsTable_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  boundsTable_->verticalHeader()->hide();
  boundsTable_->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
  boundsTableTitle_->setObjectName(QStringLiteral("boundsTableTitle"));
  boundsTableTitle_->setWordWrap(true);

  // The table of the current run, its name above it.
  auto* tableArea = new QWidget(tab);
  auto* tableLayout = new QVBoxLayout(tableArea);
  tableLayout->setContentsMargins(0, 0, 0, 0);
  tableLayout->addWidget(boundsTableTitle_);
  tableLayout->addWidget(boundsTable_, 1);
  boundsSplit_->addWidget(tableArea);
  boundsSplit_->addWidget(buildPlotArea(plot::Figure::Bounds, boundsView_, boundsLegend_));
  boundsSplit_->setStretchFactor(1, 1);
  boundsSplit_->setChildrenCollapsible(false);

  auto* layout = new QVBoxLayout(tab);
  layout->addWidget(boundsSplit_, 1);
  layout->addLayout(buildSaveButtons(plot::Figure::Bounds, tab));
  return tab;
}

QWidget* ResultsWindow::buildSpectrumTab() {
  auto* tab = new QWidget(this);
  spectrumSummary_->setObjectName(QStringLiteral("spectrumSummary"));
  spectrumSummary_->setWordWrap(true);
  spectrumSummary_->setTextInteractionFlags(Qt::TextSelectableByMouse);
  allWeights_->setObjectName(QStringLiteral("allWeights"));
  connect(allWeights_, &QCheckBox::toggled, this, &ResultsWindow::redrawCharts);

  QHBoxLayout* buttons = buildSaveButtons(plot::Figure::Spectrum, tab);
  buttons->insertWidget(0, allWeights_);
  auto* layout = new QVBoxLayout(tab);
  layout->addWidget(spectrumSummary_);
  layout->addWidget(buildPlotArea(plot::Figure::Spectrum, spectrumView_, spectrumLegend_), 1);
  layout->addLayout(buttons);
  return tab;
}

QHBoxLayout* ResultsWindow::buildSaveButtons(plot::Figure figure, QWidget* tab) {
  const bool bounds = figure == plot::Figure::Bounds;
  auto* savePlot =
      button(tr("Save &Plot..."), bounds ? "saveBoundsPlotButton" : "saveSpectrumPlotButton", tab);
  auto* saveTable = button(tr("Save &Table..."),
                           bounds ? "saveBoundsTableButton" : "saveSpectrumTableButton", tab);
  connect(savePlot, &QPushButton::clicked, this, [this, figure]() { savePlotAs(figure); });
  connect(saveTable, &QPushButton::clicked, this, [this, figure]() { saveTableAs(figure); });
  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(saveTable);
  buttons->addWidget(savePlot);
  return buttons;
}

QWidget* ResultsWindow::buildPlotArea(plot::Figure figure, QChartView* view,
                                      plot::LegendView* legend) {
  const bool bounds = figure == plot::Figure::Bounds;
  view->setObjectName(bounds ? QStringLiteral("boundsChart") : QStringLiteral("spectrumChart"));
  view->setRenderHint(QPainter::Antialiasing);
  legend->setObjectName(bounds ? QStringLiteral("boundsLegend") : QStringLiteral("spectrumLegend"));
  legend->setFixedWidth(static_cast<int>(plot::legendWidth(width())));
  // The plot and its legend, or the hint of how to get a plot while there is none.
  auto* plotPage = new QWidget(this);
  auto* row = new QHBoxLayout(plotPage);
  row->setContentsMargins(0, 0, 0, 0);
  row->setSpacing(0);
  row->addWidget(view, 1);
  row->addWidget(legend, 0, Qt::AlignTop);
  auto* hint = new QLabel(this);
  hint->setObjectName(bounds ? QStringLiteral("boundsHint") : QStringLiteral("spectrumHint"));
  hint->setAlignment(Qt::AlignCenter);
  hint->setWordWrap(true);
  QStackedWidget* pages = bounds ? boundsPages_ : spectrumPages_;
  pages->addWidget(plotPage);
  pages->addWidget(hint);
  return pages;
}

void ResultsWindow::addRun(std::shared_ptr<const RunRecord> record, const QString& resultsPath) {
  if (!record) {
    return;
  }
  const bool hasBounds = !record->bounds.columns.empty();
  addEntry(Entry{std::move(record), resultsPath, QFileInfo(resultsPath).lastModified()},
           resultsPath, true);
  tabs_->setCurrentIndex(hasBounds ? 0 : 1);
}

QString ResultsWindow::openRecordFile(const QString& path) {
  RecordReading reading = readRunRecordFile(QFile::encodeName(path).toStdString());
  if (!reading) {
    return fromStd(reading.error);
  }
  addEntry(Entry{std::make_shared<const RunRecord>(std::move(*reading.record)), QString(), {}},
           path, false);
  return {};
}

bool ResultsWindow::openRecordBeside(const QString& resultsPath) {
  // The names the exports of a run usually take: "results.json" or "results.txt.json".
  const QFileInfo results(resultsPath);
  const QString candidates[] = {
      results.dir().filePath(results.completeBaseName() + QStringLiteral(".json")),
      resultsPath + QStringLiteral(".json")};
  for (const QString& candidate : candidates) {
    if (candidate == resultsPath || !QFileInfo::exists(candidate)) {
      continue;
    }
    RecordReading reading = readRunRecordFile(QFile::encodeName(candidate).toStdString());
    // Only the record of this very file: its run named the same file.
    if (reading &&
        QFileInfo(fromStd(reading.record->inputs.resultsFile)).fileName() == results.fileName()) {
      addEntry(
          Entry{std::make_shared<const RunRecord>(std::move(*reading.record)), resultsPath, {}},
          candidate, true);
      return true;
    }
  }
  return false;
}

void ResultsWindow::addEntry(Entry entry, const QString& source, bool tickAlone) {
  updating_ = true;
  if (tickAlone) {
    for (int row = 0; row < list_->topLevelItemCount(); ++row) {
      list_->topLevelItem(row)->setCheckState(RunColumn, Qt::Unchecked);
    }
  }
  auto* item = new QTreeWidgetItem(list_);
  item->setText(RunColumn, fromStd(runLabel(*entry.record)));
  item->setText(BoundsColumn, boundNames(*entry.record));
  item->setText(SourceColumn, QFileInfo(source).fileName());
  item->setToolTip(SourceColumn, QFileInfo(source).absoluteFilePath());
  item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
  item->setCheckState(RunColumn, Qt::Checked);
  entries_.push_back(std::move(entry));
  list_->setCurrentItem(item);
  updating_ = false;
  showCurrentRun();
  redrawCharts();
}

void ResultsWindow::removeCurrent() {
  const int row = list_->indexOfTopLevelItem(list_->currentItem());
  if (row < 0) {
    return;
  }
  updating_ = true;
  delete list_->takeTopLevelItem(row);
  entries_.erase(entries_.begin() + row);
  updating_ = false;
  showCurrentRun();
  redrawCharts();
}

void ResultsWindow::showFile(const QString& path) {
  // The latest run of this file becomes current, so that list, table and file agree.
  const QString absolute = QFileInfo(path).absoluteFilePath();
  int row = -1;
  for (std::size_t i = 0; i < entries_.size(); ++i) {
    if (!entries_[i].resultsPath.isEmpty() &&
        QFileInfo(entries_[i].resultsPath).absoluteFilePath() == absolute) {
      row = static_cast<int>(i);
    }
  }
  if (row < 0 && !path.isEmpty() && openRecordBeside(path)) {
    row = runCount() - 1;
  }
  if (row >= 0) {
    setCurrentRun(row);
  }
  fileView_->showFile(path);
  if (row >= 0) {
    showEntryFile(entries_[static_cast<std::size_t>(row)]);
  }
  if (entries_.empty()) {
    tabs_->setCurrentWidget(fileView_);
  }
  show();
  raise();
  activateWindow();
}

const QString& ResultsWindow::path() const {
  return fileView_->path();
}

QString ResultsWindow::text() const {
  return fileView_->text();
}

std::vector<const RunRecord*> ResultsWindow::tickedRuns() const {
  std::vector<const RunRecord*> runs;
  for (int row = 0; row < list_->topLevelItemCount(); ++row) {
    if (list_->topLevelItem(row)->checkState(RunColumn) == Qt::Checked) {
      runs.push_back(entries_[static_cast<std::size_t>(row)].record.get());
    }
  }
  return runs;
}

const RunRecord* ResultsWindow::currentRun() const {
  const int row = list_->indexOfTopLevelItem(list_->currentItem());
  return row < 0 ? nullptr : entries_[static_cast<std::size_t>(row)].record.get();
}

void ResultsWindow::setTicked(int row, bool ticked) {
  list_->topLevelItem(row)->setCheckState(RunColumn, ticked ? Qt::Checked : Qt::Unchecked);
}

void ResultsWindow::setCurrentRun(int row) {
  list_->setCurrentItem(list_->topLevelItem(row));
}

QChart* ResultsWindow::chart(plot::Figure figure) const {
  return (figure == plot::Figure::Bounds ? boundsView_ : spectrumView_)->chart();
}

const plot::FigureLegend& ResultsWindow::legend(plot::Figure figure) const {
  return (figure == plot::Figure::Bounds ? boundsLegend_ : spectrumLegend_)->legend();
}

bool ResultsWindow::showsPlot(plot::Figure figure) const {
  return (figure == plot::Figure::Bounds ? boundsPages_ : spectrumPages_)->currentIndex() == 0;
}

void ResultsWindow::showCurrentRun() {
  const int row = list_->indexOfTopLevelItem(list_->currentItem());
  fillBoundsTable(currentRun());
  if (row >= 0 && !entries_[static_cast<std::size_t>(row)].resultsPath.isEmpty()) {
    fileView_->showFile(entries_[static_cast<std::size_t>(row)].resultsPath);
    showEntryFile(entries_[static_cast<std::size_t>(row)]);
  }
}

void ResultsWindow::showEntryFile(const Entry& entry) {
  // A later run (or an editor) may have written the file again since this run ended.
  const QFileInfo file(entry.resultsPath);
  QString note;
  if (!file.exists()) {
    note = tr("This run's file is gone.");
  } else if (entry.written.isValid() && file.lastModified() != entry.written) {
    note = tr("Changed since this run wrote it (%1): it may hold another run's results.")
               .arg(file.lastModified().toString(Qt::ISODate));
  }
  fileView_->setNote(note);
}

void ResultsWindow::fillBoundsTable(const RunRecord* record) {
  boundsTable_->clear();
  boundsTable_->setRowCount(0);
  boundsTable_->setColumnCount(0);
  if (record == nullptr) {
    boundsTableTitle_->clear();
    return;
  }
  // Name the table's run, and say so when the plot shows other runs than this one.
  const std::vector<const RunRecord*> plotted = tickedRuns();
  QString title = tr("Table: %1").arg(fromStd(runLabel(*record)));
  if (plotted.size() != 1 || plotted.front() != record) {
    title +=
        QLatin1Char('\n') +
        (std::find(plotted.begin(), plotted.end(), record) == plotted.end()
             ? tr("(not in the plot, which shows the %n ticked run(s))", "", int(plotted.size()))
             : tr("(the plot overlays %n ticked runs)", "", int(plotted.size())));
  }
  boundsTableTitle_->setText(title);
  const RecordBounds& bounds = record->bounds;
  QStringList heads{tr("Eb/N0 [dB]")};
  for (const BoundColumn& column : bounds.columns) {
    heads.append(fromStd(column.title) + (column.estimate ? tr(" (estimate)") : QString()));
  }
  boundsTable_->setColumnCount(static_cast<int>(heads.size()));
  boundsTable_->setHorizontalHeaderLabels(heads);
  boundsTable_->setRowCount(static_cast<int>(bounds.ebn0Db.size()));
  for (std::size_t j = 0; j < bounds.ebn0Db.size(); ++j) {
    const int row = static_cast<int>(j);
    // The texts of the results file: "%9.3f" without its blanks, and "%e".
    boundsTable_->setItem(row, 0,
                          new QTableWidgetItem(QString::asprintf("%.3f", bounds.ebn0Db[j])));
    for (std::size_t c = 0; c < bounds.columns.size(); ++c) {
      auto* item = new QTableWidgetItem(fromStd(scientificText(bounds.columns[c].values[j])));
      item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
      if (estimateBelowLowerBound(*record, bounds.columns[c], j)) {
        item->setText(item->text() + QStringLiteral(" *"));
        item->setForeground(QColor(0xB0, 0x00, 0x00));
        item->setToolTip(
            tr("Below the sphere-packing lower bound: no code of this length and "
               "rate reaches it, so the estimate does not hold here."));
      }
      boundsTable_->setItem(row, static_cast<int>(c) + 1, item);
    }
  }
  boundsTable_->resizeColumnsToContents();
  // The table as wide as its columns, the plot the rest; with many bounds the table scrolls
  // sideways rather than leaving the plot (and its legend) less than three quarters.
  int width =
      2 * boundsTable_->frameWidth() + boundsTable_->verticalScrollBar()->sizeHint().width();
  for (int c = 0; c < boundsTable_->columnCount(); ++c) {
    width += boundsTable_->columnWidth(c);
  }
  const int total = std::max(boundsSplit_->width(), 1100);
  width = std::min(width, total / 4);
  boundsSplit_->setSizes({width, total - width});
}

void ResultsWindow::fillSpectrumSummary() {
  QStringList lines;
  for (const RunRecord* run : tickedRuns()) {
    lines.append(spectrumWords(*run));
  }
  spectrumSummary_->setText(lines.isEmpty() ? tr("Tick a run in the list to draw it.")
                                            : lines.join(QLatin1Char('\n')));
}

void ResultsWindow::redrawCharts() {
  const std::vector<const RunRecord*> runs = tickedRuns();
  plot::ChartOptions options;
  options.range = allWeights_->isChecked() ? plot::SpectrumRange::AllWeights
                                           : plot::SpectrumRange::FirstWeights;
  for (const plot::Figure figure : {plot::Figure::Bounds, plot::Figure::Spectrum}) {
    const bool bounds = figure == plot::Figure::Bounds;
    QChartView* view = bounds ? boundsView_ : spectrumView_;
    QChart* previous = view->chart();
    view->setChart(plot::makeChart(figure, runs, options).release());
    // The view gives up the previous chart without deleting it.
    delete previous;
    (bounds ? boundsLegend_ : spectrumLegend_)
        ->setLegend(plot::figureLegend(plot::figureCurves(figure, runs, options)));
    // Empty axes say nothing: say how to get a plot instead.
    const bool noBounds = bounds && std::none_of(runs.begin(), runs.end(), [](const auto* run) {
                            return !run->bounds.columns.empty();
                          });
    QStackedWidget* pages = bounds ? boundsPages_ : spectrumPages_;
    auto* hint = static_cast<QLabel*>(pages->widget(1));
    if (entries_.empty()) {
      hint->setText(
          tr("No run to plot yet. Press \"Get it\" in the main window to compute one, "
             "or \"Open...\" a run saved as JSON."));
    } else if (runs.empty()) {
      hint->setText(tr("Tick a run in the list to draw it."));
    } else {
      hint->setText(
          tr("The ticked runs hold no bounds: choose them under \"Option\" (or "
             "Advanced Setup) and press \"Get it\" again."));
    }
    pages->setCurrentIndex(runs.empty() || noBounds ? 1 : 0);
  }
  fillSpectrumSummary();
  fillBoundsTable(currentRun());
}

QString ResultsWindow::savePlot(plot::Figure figure, const QString& path) const {
  const std::vector<const RunRecord*> runs = tickedRuns();
  plot::ChartOptions options;
  options.range = allWeights_->isChecked() ? plot::SpectrumRange::AllWeights
                                           : plot::SpectrumRange::FirstWeights;
  return plot::saveChart(plot::makeChart(figure, runs, options),
                         plot::figureLegend(plot::figureCurves(figure, runs, options)), path);
}

QString ResultsWindow::saveTable(plot::Figure figure, const QString& path) const {
  const RunRecord* record = currentRun();
  if (record == nullptr) {
    return tr("There is no run to save.");
  }
  const std::string csv =
      figure == plot::Figure::Bounds ? boundsCsv(*record) : spectrumCsv(*record);
  return fromStd(writeTextFile(QFile::encodeName(path).toStdString(), csv));
}

QString ResultsWindow::saveRecord(const QString& path) const {
  const RunRecord* record = currentRun();
  if (record == nullptr) {
    return tr("There is no run to save.");
  }
  return fromStd(writeTextFile(QFile::encodeName(path).toStdString(), runRecordJson(*record)));
}

void ResultsWindow::openRecords() {
  const QStringList paths = QFileDialog::getOpenFileNames(
      this, tr("Open Results"), QString(), tr("Brevandor results (*.json);;All Files (*)"));
  for (const QString& path : paths) {
    report(openRecordFile(path));
  }
}

void ResultsWindow::saveRecordAs() {
  QString filter = tr("Brevandor results (*.json)");
  const QString path = withSuffix(
      QFileDialog::getSaveFileName(this, tr("Save Results"), QString(), filter, &filter), filter);
  if (!path.isEmpty()) {
    report(saveRecord(path));
  }
}

void ResultsWindow::savePlotAs(plot::Figure figure) {
  QString filter = tr("PNG image (*.png)");
  const QString path = withSuffix(
      QFileDialog::getSaveFileName(this, tr("Save Plot"), plot::figureName(figure),
                                   tr("PNG image (*.png);;SVG drawing (*.svg)"), &filter),
      filter);
  if (!path.isEmpty()) {
    report(savePlot(figure, path));
  }
}

void ResultsWindow::saveTableAs(plot::Figure figure) {
  QString filter = tr("CSV table (*.csv)");
  const QString path =
      withSuffix(QFileDialog::getSaveFileName(this, tr("Save Table"), plot::figureName(figure),
                                              filter, &filter),
                 filter);
  if (!path.isEmpty()) {
    report(saveTable(figure, path));
  }
}

void ResultsWindow::report(const QString& failure) {
  if (!failure.isEmpty()) {
    QMessageBox::warning(this, tr("Brevandor"), failure);
  }
}

}  // namespace brevandor
