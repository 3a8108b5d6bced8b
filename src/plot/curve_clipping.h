#pragma once

#include <QList>
#include <QPointF>

namespace brevandor::plot {

// Cuts a polyline at the horizontal band low ≤ y ≤ high, in the axis's own measure (log10 y
// on a logarithmic axis, y itself on a linear one). Returns the pieces inside the band, each a
// polyline that starts and ends on the band's edge where it crosses it; the crossings are
// interpolated in that measure, so they lie where the drawn line meets the frame.
QList<QList<QPointF>> clipToBand(const QList<QPointF>& points, double low, double high,
                                 bool logarithmic);

}  // namespace brevandor::plot
