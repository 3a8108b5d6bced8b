#pragma once

#include <QList>
#include <QPointF>
#include <QString>
#include <QStringList>
#include <memory>
#include <vector>

#include "report/run_record.h"

class QChart;

namespace brevandor::plot {

// The two pictures of a run, or of several runs overlaid.
enum class Figure {
  Bounds,    // each bound against Eb/N0, logarithmic y axis
  Spectrum,  // A_d and B_d against d, logarithmic y axis
};

// How much of the spectrum to draw: the first weights that hold codewords, or all of them.
enum class SpectrumRange { FirstWeights, AllWeights };
inline constexpr int kFirstWeights = 50;

// The bounds are drawn up to this value; larger ones leave the plot at its top.
inline constexpr double kBoundsTop = 0.5;

// One curve of a figure: its legend name and its points.
struct Curve {
  QString name;
  QList<QPointF> points;
  // For the spectrum: the y values are log10 counts (counts beyond a double's range),
  // not the counts themselves.
  bool log10Values = false;
  // Values of one given permutation (drawn dashed) rather than of the uniform-interleaver
  // average (drawn solid): the one rule of every picture.
  bool givenPermutation = false;
};

struct ChartOptions {
  QString title;
  SpectrumRange range = SpectrumRange::FirstWeights;
  // The bounds to draw, by column name ("UB_Q") or command-line name ("q"); empty for all.
  QStringList bounds;
};

// The legend goes below the plot for at most this many curves with names of at most
// kShortName characters, else beside it, one name a line (a row below does not wrap).
inline constexpr std::size_t kCurvesBelow = 3;
inline constexpr qsizetype kShortName = 28;

// The curves of a figure for the given runs, in legend order. Bounds: one curve per run and
// bound (points that are not positive are left out, as a logarithmic axis cannot show them);
// spectrum: A_d and B_d of each run. A single run's curves are named after the bound or
// "A_d" / "B_d"; several runs' after the run ("PCCC (1, 1+D+D^2 / 1+D^2), N = 1000"), with
// the bound or count added when a run has more than one curve.
std::vector<Curve> figureCurves(Figure figure, const std::vector<const RunRecord*>& runs,
                                const ChartOptions& options = {});

// Whether a bound column is among `names` (column names or command-line names; all when empty).
bool boundSelected(const BoundColumn& column, const QStringList& names);

// A chart of the figure: the curves with legend, grid, axis titles and a logarithmic y axis.
std::unique_ptr<QChart> makeChart(Figure figure, const std::vector<const RunRecord*>& runs,
                                  const ChartOptions& options);

// The figure's name for titles and messages: "bounds" or "spectrum".
QString figureName(Figure figure);

}  // namespace brevandor::plot
