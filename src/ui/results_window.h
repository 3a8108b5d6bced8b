#pragma once

#include <QDateTime>
#include <QString>
#include <QWidget>
#include <memory>
#include <vector>

#include "plot/run_charts.h"
#include "report/run_record.h"

class QChart;
class QChartView;
class QStackedWidget;
class QCheckBox;
class QHBoxLayout;
class QLabel;
class QSplitter;
class QTabWidget;
class QTableWidget;
class QTreeWidget;
class QTreeWidgetItem;

namespace brevandor {

namespace plot {
class LegendView;
}
class ResultsFileView;

// The window that opens after a run and on "View Results". A list of the session's runs and
// of records opened from JSON files; the ticked ones are overlaid in the plots of the tabs
// Bounds (table and plot) and Spectrum (A_d and B_d, the first weights in words), and the
// File tab shows the results file as text. Plots, tables and records export as PNG, SVG, CSV
// and JSON. Non-modal; it starts no other program.
class ResultsWindow : public QWidget {
  Q_OBJECT

 public:
  explicit ResultsWindow(QWidget* parent = nullptr);

  // A completed run joins the list, ticked alone and current, and the tab that shows it best
  // comes forward; `resultsPath` is the file it wrote. A run without a record is left out.
  void addRun(std::shared_ptr<const RunRecord> record, const QString& resultsPath);
  // Reads a record saved as JSON into the list, ticked beside the runs already ticked, and
  // makes it current. Returns an empty text, or the message that refuses the file; a refused
  // file changes nothing in the list.
  QString openRecordFile(const QString& path);

  // Shows the results file at `path` in the File tab (read afresh) and brings the window to
  // the front. Without any run in the list the File tab comes forward.
  void showFile(const QString& path);
  // The path and the text the File tab shows.
  const QString& path() const;
  QString text() const;

  int runCount() const { return static_cast<int>(entries_.size()); }
  // The runs drawn in the plots, in list order.
  std::vector<const RunRecord*> tickedRuns() const;
  // The run whose table and words are shown; null when the list is empty.
  const RunRecord* currentRun() const;
  void setTicked(int row, bool ticked);
  void setCurrentRun(int row);

  // The chart on show in the tab of `figure`, and its legend.
  QChart* chart(plot::Figure figure) const;
  const plot::FigureLegend& legend(plot::Figure figure) const;
  // Whether the tab of `figure` shows its plot rather than the hint of how to get one.
  bool showsPlot(plot::Figure figure) const;
  // Exports, each returning an empty text or why nothing was written: the figure's plot as
  // PNG or SVG (by the name's suffix), the current run's table as CSV (bound table or
  // spectrum), the current run's record as JSON.
  QString savePlot(plot::Figure figure, const QString& path) const;
  QString saveTable(plot::Figure figure, const QString& path) const;
  QString saveRecord(const QString& path) const;

 private:
  struct Entry {
    std::shared_ptr<const RunRecord> record;
    QString resultsPath;  // the run's results file; empty for an opened record
    QDateTime written;    // when that file was last written as the run ended
  };

  void buildLayout();
  QWidget* buildListArea();
  QWidget* buildBoundsTab();
  QWidget* buildSpectrumTab();
  QWidget* buildPlotArea(plot::Figure figure, QChartView* view, plot::LegendView* legend);
  // The figure's "Save Table..." and "Save Plot..." buttons, right-aligned in a row.
  QHBoxLayout* buildSaveButtons(plot::Figure figure, QWidget* tab);
  bool openRecordBeside(const QString& resultsPath);
  void showEntryFile(const Entry& entry);
  void addEntry(Entry entry, const QString& source, bool tickAlone);
  void removeCurrent();
  void openRecords();
  void saveRecordAs();
  void savePlotAs(plot::Figure figure);
  void saveTableAs(plot::Figure figure);
  void showCurrentRun();
  void redrawCharts();
  void fillBoundsTable(const RunRecord* record);
  void fillSpectrumSummary();
  void report(const QString& failure);

  std::vector<Entry> entries_;  // in list order
  bool updating_ = false;       // set while the list is changed by the program
  QTreeWidget* list_;
  QTabWidget* tabs_;
  QSplitter* boundsSplit_;
  QLabel* boundsTableTitle_;
  QTableWidget* boundsTable_;
  QChartView* boundsView_;
  plot::LegendView* boundsLegend_;
  QStackedWidget* boundsPages_;
  QLabel* spectrumSummary_;
  QCheckBox* allWeights_;
  QChartView* spectrumView_;
  plot::LegendView* spectrumLegend_;
  QStackedWidget* spectrumPages_;
  ResultsFileView* fileView_;
};

}  // namespace brevandor
