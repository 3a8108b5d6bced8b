#pragma once

#include <QList>
#include <QPointF>
#include <cstddef>
#include <vector>

#include "plot/run_charts.h"

namespace brevandor::plot {

// The simulated BER and FER of a run as curves of the bounds figure: markers without a line,
// each point with its 95 % interval, named for what the interleaver was (a new permutation
// every frame, or one given permutation). Points at a rate of 0 are left out, as a
// logarithmic axis cannot show them. Nothing when the run simulated nothing.
void addSimulatedCurves(const RunRecord& record, std::size_t runIndex, std::vector<Curve>& curves);

// The plot's frame in data coordinates: left ≤ x ≤ right, low ≤ y ≤ high.
struct DataFrame {
  double left;
  double right;
  double low;
  double high;
};

// The error bars of a simulated curve as polylines in data coordinates, inside `frame`: a
// vertical line from each interval's low end to its high end, with a cap `capHalfWidth` wide
// either side where that end lies inside the frame (a cut end has none, so the bar reads as
// running on; a cap is cut at the frame's sides). Bars wholly outside the frame give nothing.
QList<QList<QPointF>> errorBarLines(const Curve& curve, const DataFrame& frame,
                                    double capHalfWidth);

}  // namespace brevandor::plot
