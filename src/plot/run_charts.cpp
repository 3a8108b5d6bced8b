#include "plot/run_charts.h"

#include <QChart>
#include <QLegend>
#include <QLineSeries>
#include <QLogValueAxis>
#include <QPen>
#include <QScatterSeries>
#include <QValueAxis>
#include <algorithm>
#include <cmath>
#include <optional>
#include <span>

#include "bounds/bound_catalogue.h"
#include "bounds/further_bounds.h"
#include "logmath/log_domain.h"
#include "plot/curve_clipping.h"
#include "plot/simulated_curves.h"

namespace brevandor::plot {

namespace {

// A logarithmic axis of the spectrum spans at most this many decades; a spectrum wider than
// that is drawn as log10 values on a linear axis.
constexpr double kMostDecades = 40.0;
// Counts whose log10 lies within ± this are drawn as counts on a logarithmic axis.
constexpr double kLargestLog10 = 300.0;
// The bounds' axis: from 1 down to this many decades below the lowest upper bound drawn.
constexpr double kDecadesBelowLowest = 1.0;
constexpr double kFewestBoundDecades = 2.0;
// … labelled at most this many times (one label every so many decades beyond that).
constexpr double kMostAxisLabels = 12.0;
// Markers on at most this many points of a curve.
constexpr qsizetype kMostMarkers = 25;
constexpr double kMarkerSize = 8.0;
// The caps of an error bar reach this share of the x axis's width either side; the bar is
// drawn thinner than the curves.
constexpr double kErrorBarCap = 0.006;
constexpr double kErrorBarWidth = 1.5;
// Curves legend samples, and the mark of estimates that do not hold, in grey.
const QColor kStyleGrey(0x44, 0x44, 0x44);
const QColor kNotHolding(0xB0, 0x00, 0x00);

QString label(const RunRecord& record) {
  return QString::fromStdString(runLabel(record));
}

// The name of an average's curve: with a given permutation in the same run, it says which of
// the two it is.
QString averageName(const RunRecord& record, QString what) {
  return record.givenInterleaver ? what + QStringLiteral(" (uniform-interleaver average)") : what;
}

// A curve of the given permutation's values, in the given permutation's style.
Curve givenCurve(const RunRecord& record, std::size_t runIndex, const QString& what,
                 CurveStyle average) {
  Curve curve{what + QStringLiteral(" (given permutation)"), label(record), runIndex,
              givenPermutationStyle(average)};
  curve.givenPermutation = true;
  return curve;
}

}  // namespace

bool boundSelected(const BoundColumn& column, const QStringList& names) {
  if (names.isEmpty() || names.contains(QString::fromStdString(column.name))) {
    return true;
  }
  for (const auto& bound : kBoundCatalogue) {
    if (bound.column == column.name && names.contains(QLatin1String(bound.option))) {
      return true;
    }
  }
  for (const FurtherBoundInfo& bound : furtherBoundInfos()) {
    const QString option =
        QString::fromUtf8(bound.option.data(), static_cast<qsizetype>(bound.option.size()));
    if (bound.column == column.name && names.contains(option)) {
      return true;
    }
  }
  return false;
}

namespace {

// The given permutation's error-floor estimate (union bound over d <= D), where the record
// has one.
void addGivenEstimateCurve(const RunRecord& record, std::size_t runIndex,
                           std::vector<Curve>& curves) {
  const auto& given = record.givenInterleaver;
  if (!given || given->bitErrorEstimates.empty() ||
      given->bitErrorEstimates.size() != record.bounds.ebn0Db.size()) {
    return;
  }
  Curve curve = givenCurve(
      record, runIndex,
      QStringLiteral("Union Bound (Q function), d <= %1, estimate").arg(given->maxWeight),
      boundStyle(QStringLiteral("UB_Q")));
  for (std::size_t j = 0; j < record.bounds.ebn0Db.size(); ++j) {
    const long double value = given->bitErrorEstimates[j];
    if (value > 0.0L) {
      curve.points.append(QPointF(record.bounds.ebn0Db[j],
                                  static_cast<double>(std::clamp(value, 1e-300L, 1e300L))));
    }
  }
  curves.push_back(std::move(curve));
}

void addBoundCurves(const RunRecord& record, std::size_t runIndex, const QStringList& names,
                    std::vector<Curve>& curves) {
  const RecordBounds& bounds = record.bounds;
  const BoundColumn* lower = lowerBoundColumn(bounds);
  for (const BoundColumn& column : bounds.columns) {
    if (!boundSelected(column, names)) {
      continue;
    }
    Curve curve{averageName(record, QString::fromStdString(column.title)), label(record), runIndex,
                boundStyle(QString::fromStdString(column.name))};
    curve.estimate = column.estimate;
    curve.lowerBound = &column == lower;
    if (curve.estimate) {
      curve.name += QStringLiteral(" (estimate)");
      curve.style.line = kEstimateLine;
    }
    for (std::size_t j = 0; j < bounds.ebn0Db.size(); ++j) {
      // Values beyond a double's range (sums far above 1, sphere-packing probabilities far
      // below the smallest double) lie far beyond the plot's top or bottom: drawn clipped
      // there. A value that became 0 as a double would hide the whole curve.
      const long double value = column.values[j];
      if (value > 0.0L) {
        const QPointF point(bounds.ebn0Db[j],
                            static_cast<double>(std::clamp(value, 1e-300L, 1e300L)));
        curve.points.append(point);
        if (estimateBelowLowerBound(record, column, j)) {
          curve.belowLowerBound.append(point);
        }
      }
    }
    curves.push_back(std::move(curve));
  }
  addGivenEstimateCurve(record, runIndex, curves);
}

std::span<const SpectrumLine> shownLines(const RunRecord& record, SpectrumRange range) {
  std::span<const SpectrumLine> lines(record.spectrum.lines);
  if (range == SpectrumRange::FirstWeights && lines.size() > kFirstWeights) {
    return lines.first(kFirstWeights);
  }
  return lines;
}

// Whether every count shown fits a logarithmic axis as a plain number.
bool countsFitAnAxis(const std::vector<const RunRecord*>& runs, SpectrumRange range) {
  double lowest = 0.0;
  double highest = 0.0;
  bool any = false;
  for (const RunRecord* run : runs) {
    for (const SpectrumLine& line : shownLines(*run, range)) {
      for (const double value : {line.log10Codewords, line.log10Weighted}) {
        if (!isLogZero(value)) {
          lowest = any ? std::min(lowest, value) : value;
          highest = any ? std::max(highest, value) : value;
          any = true;
        }
      }
    }
  }
  return !any ||
         (lowest > -kLargestLog10 && highest < kLargestLog10 && highest - lowest <= kMostDecades);
}

void addSpectrumCurves(const RunRecord& record, std::size_t runIndex, SpectrumRange range,
                       bool log10Values, std::vector<Curve>& curves) {
  Curve codewords{averageName(record, QStringLiteral("A_d")), label(record), runIndex,
                  spectrumStyle(false)};
  Curve weighted{averageName(record, QStringLiteral("B_d")), label(record), runIndex,
                 spectrumStyle(true)};
  codewords.log10Values = weighted.log10Values = log10Values;
  for (const SpectrumLine& line : shownLines(record, range)) {
    const auto point = [&](double log10Value) {
      return QPointF(line.weight, log10Values ? log10Value : std::pow(10.0, log10Value));
    };
    codewords.points.append(point(line.log10Codewords));
    if (!isLogZero(line.log10Weighted)) {
      weighted.points.append(point(line.log10Weighted));
    }
  }
  curves.push_back(std::move(codewords));
  curves.push_back(std::move(weighted));
  if (record.givenInterleaver) {
    // The exact counts of the given permutation, on the same axis as the average's.
    Curve given = givenCurve(record, runIndex, QStringLiteral("A_d"), spectrumStyle(false));
    Curve givenWeighted = givenCurve(record, runIndex, QStringLiteral("B_d"), spectrumStyle(true));
    given.log10Values = givenWeighted.log10Values = log10Values;
    for (const GivenSpectrumLine& line : record.givenInterleaver->lines) {
      const auto point = [&](double value) {
        return QPointF(line.weight, log10Values ? std::log10(value) : value);
      };
      given.points.append(point(static_cast<double>(line.codewords)));
      givenWeighted.points.append(point(line.bitMultiplicity));
    }
    curves.push_back(std::move(given));
    curves.push_back(std::move(givenWeighted));
  }
}

// The smallest and largest y of the curves `counted` picks; nothing when it picks no point.
template <typename Counted>
std::optional<std::pair<double, double>> yRange(const std::vector<Curve>& curves, Counted counted) {
  std::optional<std::pair<double, double>> range;
  for (const Curve& curve : curves) {
    if (!counted(curve)) {
      continue;
    }
    for (const QPointF& point : curve.points) {
      range = range
                  ? std::pair{std::min(range->first, point.y()), std::max(range->second, point.y())}
                  : std::pair{point.y(), point.y()};
    }
  }
  return range;
}

std::pair<double, double> xRange(const std::vector<Curve>& curves) {
  double low = 0.0;
  double high = 1.0;
  bool any = false;
  for (const Curve& curve : curves) {
    for (const QPointF& point : curve.points) {
      low = any ? std::min(low, point.x()) : point.x();
      high = any ? std::max(high, point.x()) : point.x();
      any = true;
    }
  }
  return {low, high > low ? high : low + 1.0};
}

// The y axis of the bounds: from 1 down to a decade below the lowest upper bound or estimate
// drawn (the sphere-packing lower bound falls much further and would squeeze every other curve
// into the top of the plot), labelled every decade or, for wide ranges, every few decades.
QLogValueAxis* boundsAxis(const std::vector<Curve>& curves, const QString& title) {
  auto range = yRange(curves, [](const Curve& curve) { return !curve.lowerBound; });
  if (!range) {
    range = yRange(curves, [](const Curve&) { return true; });
  }
  const double lowest = range ? range->first : 1e-10;
  const double wanted =
      std::max(-std::floor(std::log10(lowest)) + kDecadesBelowLowest, kFewestBoundDecades);
  const double decades = std::min(wanted, kLargestLog10);
  const double step = std::ceil(decades / kMostAxisLabels);
  auto* axis = new QLogValueAxis;
  axis->setBase(std::pow(10.0, step));
  axis->setLabelFormat(QStringLiteral("%.0e"));
  axis->setTitleText(title);
  axis->setRange(std::pow(10.0, -step * std::ceil(decades / step)), 1.0);
  return axis;
}

// A logarithmic axis of counts from the power of ten at or below `low` up to the one at or
// above `high`, at most kMostDecades wide.
QLogValueAxis* countAxis(double low, double high, const QString& title) {
  auto* axis = new QLogValueAxis;
  axis->setBase(10.0);
  axis->setLabelFormat(QStringLiteral("%.0e"));
  axis->setTitleText(title);
  const double top = std::ceil(std::log10(high) - 1e-9);
  const double bottom = std::max(std::floor(std::log10(low)), top - kMostDecades);
  axis->setRange(std::pow(10.0, std::min(bottom, top - 1.0)), std::pow(10.0, top));
  return axis;
}

// A linear axis of log10 values labelled as powers of ten, at round steps.
QValueAxis* powerAxis(double low, double high, const QString& title) {
  auto* axis = new QValueAxis;
  axis->setTitleText(title);
  axis->setLabelFormat(QStringLiteral("1e%.0f"));
  const double bottom = std::floor(low);
  const double top = std::max(std::ceil(high), bottom + 1.0);
  double step = 1.0;
  for (const double candidate : {1.0, 2.0, 5.0, 10.0, 20.0, 50.0, 100.0, 200.0, 500.0, 1000.0}) {
    step = candidate;
    if ((top - bottom) / candidate <= 10.0) {
      break;
    }
  }
  axis->setTickType(QValueAxis::TicksDynamic);
  axis->setTickAnchor(0.0);
  axis->setTickInterval(step);
  axis->setRange(bottom, top);
  return axis;
}

QValueAxis* linearAxis(std::pair<double, double> range, const QString& title,
                       const QString& format) {
  auto* axis = new QValueAxis;
  axis->setTitleText(title);
  axis->setRange(range.first, range.second);
  axis->applyNiceNumbers();
  axis->setLabelFormat(format);
  return axis;
}

// The y axis of the bounds: the bit-error upper bounds' own title while only they are drawn.
QString boundAxisTitle(const std::vector<const RunRecord*>& runs, const QStringList& names) {
  for (const RunRecord* run : runs) {
    if (run->simulation) {  // its frame error rate shares the axis
      return QStringLiteral("Error probability (bit or word, as the legend says)");
    }
    for (const BoundColumn& column : run->bounds.columns) {
      const bool textBound =
          std::any_of(kBoundCatalogue.begin(), kBoundCatalogue.end(),
                      [&](const auto& bound) { return bound.column == column.name; });
      if (!textBound && boundSelected(column, names)) {
        return QStringLiteral("Error probability (bit or word, as the legend says)");
      }
    }
  }
  return QStringLiteral("Bit error probability (upper bound)");
}

// The axis's band as (low, high, logarithmic).
struct Band {
  double low;
  double high;
  bool logarithmic;
};

Band bandOf(const QAbstractAxis* axis) {
  if (const auto* log = qobject_cast<const QLogValueAxis*>(axis)) {
    return {log->min(), log->max(), true};
  }
  const auto* linear = static_cast<const QValueAxis*>(axis);
  return {linear->min(), linear->max(), false};
}

void attach(QChart& chart, QXYSeries* series, QAbstractAxis* x, QAbstractAxis* y) {
  chart.addSeries(series);
  series->attachAxis(x);
  series->attachAxis(y);
}

QScatterSeries::MarkerShape scatterShape(MarkerShape shape) {
  switch (shape) {
    case MarkerShape::Circle:
      return QScatterSeries::MarkerShapeCircle;
    case MarkerShape::Square:
      return QScatterSeries::MarkerShapeRectangle;
    case MarkerShape::Triangle:
      return QScatterSeries::MarkerShapeTriangle;
    case MarkerShape::Diamond:
      return QScatterSeries::MarkerShapeRotatedRectangle;
    case MarkerShape::Star:
      return QScatterSeries::MarkerShapeStar;
    case MarkerShape::Pentagon:
      return QScatterSeries::MarkerShapePentagon;
  }
  return QScatterSeries::MarkerShapeCircle;
}

// Markers on a thinned set of the points inside the band.
QScatterSeries* markersOf(const Curve& curve, const Band& band, const QColor& colour) {
  auto* markers = new QScatterSeries;
  markers->setName(curve.name);
  markers->setMarkerShape(scatterShape(curve.style.marker));
  markers->setMarkerSize(kMarkerSize);
  markers->setColor(curve.style.filled ? colour : QColor(Qt::white));
  markers->setBorderColor(colour);
  const qsizetype every = (curve.points.size() + kMostMarkers - 1) / kMostMarkers;
  for (qsizetype i = 0; i < curve.points.size(); i += std::max<qsizetype>(every, 1)) {
    const double y = curve.points[i].y();
    if (y >= band.low && y <= band.high) {
      markers->append(curve.points[i]);
    }
  }
  return markers;
}

// The simulated points' intervals as bars in the run's colour, cut at the plot's frame.
void addErrorBars(QChart& chart, const Curve& curve, QAbstractAxis* x, QAbstractAxis* y) {
  const Band band = bandOf(y);
  const Band across = bandOf(x);
  const double capHalfWidth = kErrorBarCap * (across.high - across.low);
  const DataFrame frame{across.low, across.high, band.low, band.high};
  for (const QList<QPointF>& line : errorBarLines(curve, frame, capHalfWidth)) {
    auto* series = new QLineSeries;
    series->setName(curve.name + QStringLiteral(", 95 % interval"));
    series->setPen(QPen(runColour(curve.runIndex), kErrorBarWidth));
    series->append(line);
    attach(chart, series, x, y);
  }
}

void addCurve(QChart& chart, const Curve& curve, QAbstractAxis* x, QAbstractAxis* y) {
  const Band band = bandOf(y);
  const QColor colour = runColour(curve.runIndex);
  QPen pen(colour, 2.0);
  pen.setStyle(curve.style.line);
  for (const QList<QPointF>& piece :
       curve.style.line == Qt::NoPen
           ? QList<QList<QPointF>>()
           : clipToBand(curve.points, band.low, band.high, band.logarithmic)) {
    auto* series = new QLineSeries;
    series->setName(curve.name);
    series->setPen(pen);
    series->append(piece);
    attach(chart, series, x, y);
  }
  if (curve.simulated) {
    addErrorBars(chart, curve, x, y);
  }
  attach(chart, markersOf(curve, band, colour), x, y);
  if (!curve.belowLowerBound.isEmpty()) {
    auto* failing = new QScatterSeries;
    failing->setName(QStringLiteral("below the lower bound"));
    failing->setMarkerShape(QScatterSeries::MarkerShapeStar);
    failing->setMarkerSize(2.0 * kMarkerSize);
    failing->setColor(Qt::transparent);
    failing->setBorderColor(kNotHolding);
    for (const QPointF& point : curve.belowLowerBound) {
      if (point.y() >= band.low && point.y() <= band.high) {
        failing->append(point);
      }
    }
    attach(chart, failing, x, y);
  }
}

}  // namespace

QString figureName(Figure figure) {
  return figure == Figure::Bounds ? QStringLiteral("bounds") : QStringLiteral("spectrum");
}

QString figureTitle(const std::vector<const RunRecord*>& runs, const ChartOptions& options) {
  if (!options.title.isEmpty()) {
    return options.title;
  }
  if (runs.size() == 1) {
    return label(*runs.front());
  }
  return runs.empty() ? QString()
                      : QStringLiteral("%1 runs overlaid (colour: run; line and marker: curve)")
                            .arg(runs.size());
}

std::vector<Curve> figureCurves(Figure figure, const std::vector<const RunRecord*>& runs,
                                const ChartOptions& options) {
  std::vector<Curve> curves;
  const bool log10Values = figure == Figure::Spectrum && !countsFitAnAxis(runs, options.range);
  for (std::size_t r = 0; r < runs.size(); ++r) {
    if (figure == Figure::Bounds) {
      addBoundCurves(*runs[r], r, options.bounds, curves);
      addSimulatedCurves(*runs[r], r, curves);
    } else {
      addSpectrumCurves(*runs[r], r, options.range, log10Values, curves);
    }
  }
  return curves;
}

FigureLegend figureLegend(const std::vector<Curve>& curves) {
  FigureLegend legend;
  bool estimates = false;
  bool notHolding = false;
  bool givenPermutation = false;
  bool simulated = false;
  for (const Curve& curve : curves) {
    if (legend.runs.size() <= curve.runIndex) {
      legend.runs.push_back(
          LegendEntry{curve.run, runColour(curve.runIndex), CurveStyle{Qt::SolidLine}, false});
    }
    const bool known =
        std::any_of(legend.curves.begin(), legend.curves.end(),
                    [&](const LegendEntry& entry) { return entry.text == curve.name; });
    if (!known) {
      legend.curves.push_back(LegendEntry{curve.name, kStyleGrey, curve.style, true});
    }
    estimates = estimates || curve.estimate;
    givenPermutation = givenPermutation || (curve.givenPermutation && !curve.simulated);
    simulated = simulated || curve.simulated;
    notHolding = notHolding || !curve.belowLowerBound.isEmpty();
  }
  if (estimates) {
    legend.curves.push_back(
        LegendEntry{QStringLiteral("dashed: an estimate from the low weights only, not a bound"),
                    kStyleGrey, CurveStyle{kEstimateLine}, false});
  }
  if (givenPermutation) {
    legend.curves.push_back(LegendEntry{
        QStringLiteral("dash-dot-dot, open markers: one given permutation; the others: the "
                       "uniform-interleaver average"),
        kStyleGrey, CurveStyle{kGivenPermutationLine}, false});
  }
  if (simulated) {
    legend.curves.push_back(
        LegendEntry{QStringLiteral("bars: the simulated rates' 95 % intervals (Clopper-Pearson)"),
                    kStyleGrey, CurveStyle{Qt::NoPen}, false});
  }
  if (notHolding) {
    legend.curves.push_back(
        LegendEntry{QStringLiteral("estimate below the sphere-packing lower bound: it does not "
                                   "hold there"),
                    kNotHolding, CurveStyle{Qt::NoPen, MarkerShape::Star, false}, true});
  }
  return legend;
}

std::unique_ptr<QChart> makeChart(Figure figure, const std::vector<const RunRecord*>& runs,
                                  const ChartOptions& options) {
  const std::vector<Curve> curves = figureCurves(figure, runs, options);
  auto chart = std::make_unique<QChart>();
  chart->setTitle(figureTitle(runs, options));
  chart->legend()->hide();

  QAbstractAxis* y = nullptr;
  QValueAxis* x = nullptr;
  if (figure == Figure::Bounds) {
    x = linearAxis(xRange(curves), QStringLiteral("Eb/N0 [dB]"), QStringLiteral("%.1f"));
    y = boundsAxis(curves, boundAxisTitle(runs, options.bounds));
  } else {
    x = linearAxis(xRange(curves), QStringLiteral("Codeword weight d"), QStringLiteral("%.0f"));
    const QString title = QStringLiteral("Codewords A_d, weighted B_d");
    const auto [low, high] =
        yRange(curves, [](const Curve&) { return true; }).value_or(std::pair{1e-10, 1.0});
    y = !curves.empty() && curves.front().log10Values
            ? static_cast<QAbstractAxis*>(powerAxis(low, high, title))
            : countAxis(low, high, title);
  }
  chart->addAxis(x, Qt::AlignBottom);
  chart->addAxis(y, Qt::AlignLeft);
  for (const Curve& curve : curves) {
    addCurve(*chart, curve, x, y);
  }
  return chart;
}

}  // namespace brevandor::plot
