#include "plot/simulated_curves.h"

#include <algorithm>

namespace brevandor::plot {

namespace {

// Markers alone tell the simulated points from the bounds, which are all drawn as lines; the
// open markers of one given permutation match its curves elsewhere.
CurveStyle simulatedStyle(bool frames, bool ensemble) {
  return CurveStyle{Qt::NoPen, frames ? MarkerShape::Square : MarkerShape::Circle, ensemble};
}

QString interleaverWords(const RecordSimulation& simulation) {
  return simulation.interleaver == "random"
             ? QStringLiteral("a new permutation every frame")
             : QStringLiteral("permutation %1").arg(QString::fromStdString(simulation.interleaver));
}

Curve simulatedCurve(const RunRecord& record, std::size_t runIndex, bool frames) {
  const RecordSimulation& simulation = *record.simulation;
  const bool ensemble = simulation.interleaver == "random";
  Curve curve{QStringLiteral("Simulated %1 (iterative decoding, %2)")
                  .arg(frames ? QStringLiteral("FER") : QStringLiteral("BER"),
                       interleaverWords(simulation)),
              QString::fromStdString(runLabel(record)), runIndex, simulatedStyle(frames, ensemble)};
  curve.simulated = true;
  curve.givenPermutation = !ensemble;
  for (const SimulatedPoint& point : simulation.points) {
    const double rate = frames ? point.fer : point.ber;
    if (rate > 0.0) {
      curve.points.append(QPointF(point.ebn0Db, rate));
      curve.intervals.append(frames ? point.ferInterval : point.berInterval);
    }
  }
  return curve;
}

}  // namespace

void addSimulatedCurves(const RunRecord& record, std::size_t runIndex, std::vector<Curve>& curves) {
  if (!record.simulation) {
    return;
  }
  for (const bool frames : {false, true}) {
    Curve curve = simulatedCurve(record, runIndex, frames);
    if (!curve.points.isEmpty()) {
      curves.push_back(std::move(curve));
    }
  }
}

QList<QList<QPointF>> errorBarLines(const Curve& curve, const DataFrame& frame,
                                    double capHalfWidth) {
  QList<QList<QPointF>> lines;
  for (qsizetype i = 0; i < curve.points.size() && i < curve.intervals.size(); ++i) {
    const double x = curve.points[i].x();
    const auto [from, to] = curve.intervals[i];
    if (to < frame.low || from > frame.high || x < frame.left || x > frame.right) {
      continue;
    }
    const double bottom = std::max(from, frame.low);
    const double top = std::min(to, frame.high);
    const double capFrom = std::max(x - capHalfWidth, frame.left);
    const double capTo = std::min(x + capHalfWidth, frame.right);
    QList<QPointF> bar;
    if (from >= frame.low) {
      bar << QPointF(capFrom, bottom) << QPointF(capTo, bottom);
    }
    bar << QPointF(x, bottom) << QPointF(x, top);
    if (to <= frame.high) {
      bar << QPointF(capFrom, top) << QPointF(capTo, top);
    }
    lines.append(bar);
  }
  return lines;
}

}  // namespace brevandor::plot
