#pragma once

#include <QSize>
#include <QString>
#include <memory>
#include <optional>

#include "plot/figure_legend.h"

class QChart;

namespace brevandor::plot {

// The size of exported pictures, in pixels (PNG) or user units (SVG).
inline const QSize kExportSize(960, 640);
// The smallest and largest picture an export draws.
inline constexpr int kSmallestSide = 200;
inline constexpr int kLargestSide = 10000;

// Writes the chart as a picture, PNG or SVG as the path's suffix says (".png", ".svg", any
// case), with the legend to the right of the plot. Returns an empty text, or why nothing was
// written. Needs a QApplication; works on the offscreen platform.
QString saveChart(std::unique_ptr<QChart> chart, const FigureLegend& legend, const QString& path,
                  const QSize& size = kExportSize);

// Whether saveChart can write a picture of this name's suffix.
bool isPictureName(const QString& path);

// A picture size from "WxH" ("1200x800"), each side kSmallestSide … kLargestSide; nothing when
// the text is not one.
std::optional<QSize> pictureSize(const QString& text);

}  // namespace brevandor::plot
