#include "plot/run_charts.h"

#include <QChart>
#include <QLegend>
#include <QLineSeries>
#include <QLogValueAxis>
#include <QPen>
#include <QValueAxis>
#include <algorithm>
#include <array>
#include <cmath>
#include <span>

#include "bounds/bound_catalogue.h"
#include "bounds/further_bounds.h"
#include "logmath/log_domain.h"

namespace brevandor::plot {

namespace {

// A logarithmic axis spans at most this many decades; below that curves leave the plot at its
// bottom, and a spectrum wider than that is drawn as log10 values on a linear axis.
constexpr double kMostDecades = 40.0;
// The bounds' axis spans fewer: their labels must fit one per decade, and error rates far
// below this (the sphere-packing bound reaches 10^-200) interest nobody.
constexpr double kMostBoundDecades = 20.0;
// Counts whose log10 lies within ± this are drawn as counts on a logarithmic axis.
constexpr double kLargestLog10 = 300.0;
// The colours of the curves, in order.
constexpr std::array<const char*, 10> kPalette{"#1f77b4", "#d62728", "#2ca02c", "#ff7f0e",
                                               "#9467bd", "#8c564b", "#e377c2", "#7f7f7f",
                                               "#bcbd22", "#17becf"};

QString label(const RunRecord& record) {
  return QString::fromStdString(runLabel(record));
}

// The name of one curve: what it shows alone, prefixed by its run when runs are overlaid.
QString curveName(const RunRecord& record, const QString& what, std::size_t runCount,
                  std::size_t curvesPerRun) {
  if (runCount == 1) {
    return what;
  }
  return curvesPerRun == 1 ? label(record) : label(record) + QStringLiteral(": ") + what;
}

// What a curve of the average shows: its name, and with a given permutation beside it in the
// same run, which of the two it is.
QString averageName(const RunRecord& record, const QString& what) {
  return record.givenInterleaver ? what + QStringLiteral(" (uniform-interleaver average)") : what;
}

QString givenName(const QString& what) {
  return what + QStringLiteral(" (given permutation)");
}

}  // namespace

bool boundSelected(const BoundColumn& column, const QStringList& names) {
  if (names.isEmpty() || names.contains(QString::fromStdString(column.name))) {
    return true;
  }
  for (const BoundNames& bound : kBoundCatalogue) {
    if (bound.column == column.name && names.contains(QLatin1String(bound.option))) {
      return true;
    }
  }
  for (const FurtherBoundInfo& bound : furtherBoundInfos()) {
    const QString option =
        QString::fromUtf8(bound.name.data(), static_cast<qsizetype>(bound.name.size()));
    if (bound.head == column.name && names.contains(option)) {
      return true;
    }
  }
  return false;
}

namespace {

// The given permutation's error-floor estimate, where the record has one.
void addGivenEstimateCurve(const RunRecord& record, std::size_t runCount, std::size_t curvesPerRun,
                           std::vector<Curve>& curves) {
  const auto& given = record.givenInterleaver;
  if (!given || given->bitErrorEstimates.size() != record.bounds.ebn0Db.size()) {
    return;
  }
  Curve curve;
  curve.givenPermutation = true;
  curve.name = curveName(
      record,
      givenName(
          QStringLiteral("Union Bound (Q function), d <= %1, estimate").arg(given->maxWeight)),
      runCount, curvesPerRun);
  for (std::size_t j = 0; j < record.bounds.ebn0Db.size(); ++j) {
    const long double value = given->bitErrorEstimates[j];
    if (value > 0.0L) {
      curve.points.append(QPointF(record.bounds.ebn0Db[j],
                                  static_cast<double>(std::clamp(value, 1e-300L, 1e300L))));
    }
  }
  curves.push_back(std::move(curve));
}

void addBoundCurves(const RunRecord& record, std::size_t runCount, const QStringList& names,
                    std::vector<Curve>& curves) {
  const RecordBounds& bounds = record.bounds;
  std::vector<const BoundColumn*> shown;
  for (const BoundColumn& column : bounds.columns) {
    if (boundSelected(column, names)) {
      shown.push_back(&column);
    }
  }
  for (const BoundColumn* shownColumn : shown) {
    const BoundColumn& column = *shownColumn;
    Curve curve;
    curve.name = curveName(record, averageName(record, QString::fromStdString(column.title)),
                           runCount, shown.size());
    for (std::size_t j = 0; j < bounds.ebn0Db.size(); ++j) {
      // Values beyond a double's range (sums far above 1, sphere-packing probabilities far
      // below the smallest double) lie far beyond the plot's top or bottom: drawn clipped
      // there. A value that became 0 as a double would hide the whole curve.
      const long double value = column.values[j];
      if (value > 0.0L) {
        curve.points.append(
            QPointF(bounds.ebn0Db[j], static_cast<double>(std::clamp(value, 1e-300L, 1e300L))));
      }
    }
    curves.push_back(std::move(curve));
  }
  addGivenEstimateCurve(record, runCount, shown.size() + 1, curves);
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
        if (value > LogZero) {
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

void addSpectrumCurves(const RunRecord& record, std::size_t runCount, SpectrumRange range,
                       bool log10Values, std::vector<Curve>& curves) {
  const std::size_t perRun = record.givenInterleaver ? 4 : 2;
  Curve codewords{curveName(record, averageName(record, QStringLiteral("A_d")), runCount, perRun),
                  {},
                  log10Values};
  Curve weighted{curveName(record, averageName(record, QStringLiteral("B_d")), runCount, perRun),
                 {},
                 log10Values};
  for (const SpectrumLine& line : shownLines(record, range)) {
    const auto point = [&](double log10Value) {
      return QPointF(line.weight, log10Values ? log10Value : std::pow(10.0, log10Value));
    };
    codewords.points.append(point(line.log10Codewords));
    if (line.log10Weighted > LogZero) {
      weighted.points.append(point(line.log10Weighted));
    }
  }
  curves.push_back(std::move(codewords));
  curves.push_back(std::move(weighted));
  if (record.givenInterleaver) {
    // The exact counts of the given permutation, on the same axis as the average's.
    Curve given{curveName(record, givenName(QStringLiteral("A_d")), runCount, perRun),
                {},
                log10Values,
                true};
    Curve givenWeighted{curveName(record, givenName(QStringLiteral("B_d")), runCount, perRun),
                        {},
                        log10Values,
                        true};
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

// The smallest and largest y of all curves; (1e-10, 1) when there are none.
std::pair<double, double> yRange(const std::vector<Curve>& curves) {
  double low = 0.0;
  double high = 0.0;
  bool any = false;
  for (const Curve& curve : curves) {
    for (const QPointF& point : curve.points) {
      low = any ? std::min(low, point.y()) : point.y();
      high = any ? std::max(high, point.y()) : point.y();
      any = true;
    }
  }
  return any ? std::pair{low, high} : std::pair{1e-10, 1.0};
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

// A logarithmic axis from the power of ten at or below `low` up to `top`, or up to the power
// of ten at or above `high` when no top is given; at most `mostDecades` wide.
QLogValueAxis* logAxis(double low, double high, const QString& title, double top = 0.0,
                       double mostDecades = kMostDecades) {
  auto* axis = new QLogValueAxis;
  axis->setBase(10.0);
  axis->setLabelFormat(QStringLiteral("%.0e"));
  axis->setTitleText(title);
  const double upper = top > 0.0 ? top : std::pow(10.0, std::ceil(std::log10(high) - 1e-9));
  const double decades = std::ceil(std::log10(upper) - 1e-9);
  const double bottom = std::max(std::floor(std::log10(low)), decades - mostDecades);
  axis->setRange(std::pow(10.0, std::min(bottom, decades - 1.0)), upper);
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
    for (const BoundColumn& column : run->bounds.columns) {
      const bool textBound =
          std::any_of(kBoundCatalogue.begin(), kBoundCatalogue.end(),
                      [&](const BoundNames& bound) { return bound.column == column.name; });
      if (!textBound && boundSelected(column, names)) {
        return QStringLiteral("Error probability (bit or word, as the legend says)");
      }
    }
  }
  return QStringLiteral("Bit error probability (upper bound)");
}

}  // namespace

QString figureName(Figure figure) {
  return figure == Figure::Bounds ? QStringLiteral("bounds") : QStringLiteral("spectrum");
}

std::vector<Curve> figureCurves(Figure figure, const std::vector<const RunRecord*>& runs,
                                const ChartOptions& options) {
  std::vector<Curve> curves;
  const bool log10Values = figure == Figure::Spectrum && !countsFitAnAxis(runs, options.range);
  for (const RunRecord* run : runs) {
    if (figure == Figure::Bounds) {
      addBoundCurves(*run, runs.size(), options.bounds, curves);
    } else {
      addSpectrumCurves(*run, runs.size(), options.range, log10Values, curves);
    }
  }
  return curves;
}

std::unique_ptr<QChart> makeChart(Figure figure, const std::vector<const RunRecord*>& runs,
                                  const ChartOptions& options) {
  const std::vector<Curve> curves = figureCurves(figure, runs, options);
  auto chart = std::make_unique<QChart>();
  chart->setTitle(options.title);
  const bool fitsBelow = curves.size() <= kCurvesBelow &&
                         std::all_of(curves.begin(), curves.end(), [](const Curve& curve) {
                           return curve.name.size() <= kShortName;
                         });
  chart->legend()->setAlignment(fitsBelow ? Qt::AlignBottom : Qt::AlignRight);

  QAbstractAxis* y = nullptr;
  QValueAxis* x = nullptr;
  const auto [low, high] = yRange(curves);
  if (figure == Figure::Bounds) {
    x = linearAxis(xRange(curves), QStringLiteral("Eb/N0 [dB]"), QStringLiteral("%.1f"));
    y = logAxis(low, high, boundAxisTitle(runs, options.bounds), kBoundsTop, kMostBoundDecades);
  } else {
    x = linearAxis(xRange(curves), QStringLiteral("Codeword weight d"), QStringLiteral("%.0f"));
    const QString title = QStringLiteral("Codewords A_d, weighted B_d");
    y = !curves.empty() && curves.front().log10Values
            ? static_cast<QAbstractAxis*>(powerAxis(low, high, title))
            : logAxis(low, high, title);
  }
  chart->addAxis(x, Qt::AlignBottom);
  chart->addAxis(y, Qt::AlignLeft);

  for (std::size_t i = 0; i < curves.size(); ++i) {
    const Curve& curve = curves[i];
    auto* series = new QLineSeries;
    series->setName(curve.name);
    // Ten colours that stay apart, then the same ones dotted; a given permutation's curves are
    // dashed, the uniform-interleaver average's solid.
    QPen pen(QColor(QLatin1String(kPalette[i % kPalette.size()])), 2.0);
    pen.setStyle(curve.givenPermutation ? Qt::DashLine
                 : i < kPalette.size()  ? Qt::SolidLine
                                        : Qt::DotLine);
    series->setPen(pen);
    series->append(curve.points);
    series->setPointsVisible(curve.points.size() <= kFirstWeights);
    chart->addSeries(series);
    series->attachAxis(x);
    series->attachAxis(y);
  }
  return chart;
}

}  // namespace brevandor::plot
