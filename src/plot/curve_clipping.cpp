#include "plot/curve_clipping.h"

#include <algorithm>
#include <cmath>

namespace brevandor::plot {

QList<QList<QPointF>> clipToBand(const QList<QPointF>& points, double low, double high,
                                 bool logarithmic) {
  const auto measure = [&](double y) { return logarithmic ? std::log10(y) : y; };
  const auto value = [&](double t) { return logarithmic ? std::pow(10.0, t) : t; };
  const double bottom = measure(low);
  const double top = measure(high);
  // A point at parameter s of the piece from (x0, t0) to (x1, t1), pinned to the edge it
  // reaches there.
  const auto at = [&](double x0, double t0, double x1, double t1, double s) {
    const double t = std::clamp(t0 + s * (t1 - t0), bottom, top);
    const double y = t == bottom ? low : t == top ? high : value(t);
    return QPointF(x0 + s * (x1 - x0), y);
  };

  QList<QList<QPointF>> pieces;
  QList<QPointF> current;
  const auto close = [&]() {
    if (!current.isEmpty()) {
      pieces.append(current);
      current.clear();
    }
  };
  for (qsizetype i = 0; i < points.size(); ++i) {
    const double t1 = measure(points[i].y());
    if (i == 0) {
      if (t1 >= bottom && t1 <= top) {
        current.append(points[i]);
      }
      continue;
    }
    const double x0 = points[i - 1].x();
    const double t0 = measure(points[i - 1].y());
    const double x1 = points[i].x();
    double enter = 0.0;
    double leave = 1.0;
    if (t1 == t0) {
      if (t0 < bottom || t0 > top) {
        close();
        continue;
      }
    } else {
      const double a = (bottom - t0) / (t1 - t0);
      const double b = (top - t0) / (t1 - t0);
      enter = std::max(0.0, std::min(a, b));
      leave = std::min(1.0, std::max(a, b));
      if (enter > leave) {
        close();
        continue;
      }
    }
    if (enter > 0.0 || current.isEmpty()) {
      close();
      current.append(at(x0, t0, x1, t1, enter));
    }
    current.append(leave < 1.0 ? at(x0, t0, x1, t1, leave) : points[i]);
    if (leave < 1.0) {
      close();
    }
  }
  close();
  return pieces;
}

}  // namespace brevandor::plot
