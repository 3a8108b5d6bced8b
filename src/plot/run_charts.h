#pragma once

#include <QList>
#include <QPointF>
#include <QString>
#include <QStringList>
#include <array>
#include <memory>
#include <vector>

#include "plot/curve_styles.h"
#include "plot/figure_legend.h"
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

// One curve of a figure: what it shows, for which run, and its points.
struct Curve {
  QString name;              // the bound's title ("Union Bound (Q function)") or "A_d" / "B_d"
  QString run;               // the run's label, as in the run legend
  std::size_t runIndex = 0;  // the run's place in the overlay, which picks its colour
  CurveStyle style;          // the bound's line and marker (dashed for an estimate)
  QList<QPointF> points{};
  // For the spectrum: the y values are log10 counts (counts beyond a double's range),
  // not the counts themselves.
  bool log10Values = false;
  bool estimate = false;             // a low-weight sum, not a bound
  bool lowerBound = false;           // the sphere-packing bound: not among what sets the range
  QList<QPointF> belowLowerBound{};  // an estimate's points that no code can reach
  bool givenPermutation = false;     // one given permutation's values, not the average's
  // Simulated rates: markers without a line, each point with its 95 % interval [low, high]
  // drawn as an error bar.
  bool simulated = false;
  QList<std::array<double, 2>> intervals{};
};

struct ChartOptions {
  QString title;  // empty: the run's name, or how many runs are overlaid
  SpectrumRange range = SpectrumRange::FirstWeights;
  // The bounds to draw, by column name ("UB_Q") or command-line name ("q"); empty for all.
  QStringList bounds;
};

// The curves of a figure for the given runs, in order of runs and then of columns. Bounds:
// one curve per run and bound (points that are not positive are left out, as a logarithmic
// axis cannot show them), then the run's simulated BER and FER; spectrum: A_d and B_d of each
// run.
std::vector<Curve> figureCurves(Figure figure, const std::vector<const RunRecord*>& runs,
                                const ChartOptions& options = {});

// The legend of those curves: each run's colour with its full name, and each kind of curve's
// line and marker (estimates dashed, points below the lower bound marked).
FigureLegend figureLegend(const std::vector<Curve>& curves);

// Whether a bound column is among `names` (column names or command-line names; all when empty).
bool boundSelected(const BoundColumn& column, const QStringList& names);

// A chart of the figure: the curves, grid, title, axis titles and a logarithmic y axis; its own
// legend hidden (figureLegend is drawn beside it). Every line is cut at the plot's frame, so no
// point of a picture lies outside it. The bounds' range runs from 1 down to a decade or more
// below the lowest upper bound drawn.
std::unique_ptr<QChart> makeChart(Figure figure, const std::vector<const RunRecord*>& runs,
                                  const ChartOptions& options);

// The title above a figure: the options' title, else the run's name or the runs' count.
QString figureTitle(const std::vector<const RunRecord*>& runs, const ChartOptions& options);

// The figure's name for titles and messages: "bounds" or "spectrum".
QString figureName(Figure figure);

}  // namespace brevandor::plot
