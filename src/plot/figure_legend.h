#pragma once

#include <QColor>
#include <QFont>
#include <QRectF>
#include <QString>
#include <vector>

#include "plot/curve_styles.h"

class QPainter;

namespace brevandor::plot {

// One line of a legend: a sample of the line (and marker) and its text, wrapped to the width.
struct LegendEntry {
  QString text;
  QColor colour;
  CurveStyle style;
  bool marker = true;  // draw the marker on the sample
};

// The legend of a figure in two parts: which colour is which run (full names), and which
// line and marker is which bound (in grey, as every run draws its bounds alike).
struct FigureLegend {
  std::vector<LegendEntry> runs;
  std::vector<LegendEntry> curves;
  bool empty() const { return runs.empty() && curves.empty(); }
};

// The height the legend needs at this width, with this font.
double legendHeight(const FigureLegend& legend, double width, const QFont& font);

// Paints the legend into `area`, top down; names wrap at word boundaries.
void paintLegend(QPainter& painter, const QRectF& area, const FigureLegend& legend);

// Paints one marker of `size` pixels centred at `centre`.
void paintMarker(QPainter& painter, MarkerShape shape, const QPointF& centre, double size,
                 const QColor& colour, bool filled);

// The width of a legend beside a plot `totalWidth` wide.
double legendWidth(double totalWidth);

}  // namespace brevandor::plot
