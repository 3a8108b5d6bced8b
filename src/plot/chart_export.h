#pragma once

#include <QSize>
#include <QString>
#include <memory>

class QChart;

namespace brevandor::plot {

// The size of exported pictures, in pixels (PNG) or user units (SVG).
inline const QSize kExportSize(960, 640);

// Writes the chart as a picture, PNG or SVG as the path's suffix says (".png", ".svg", any
// case). Returns an empty text, or why nothing was written. Needs a QApplication; works on
// the offscreen platform.
QString saveChart(std::unique_ptr<QChart> chart, const QString& path,
                  const QSize& size = kExportSize);

// Whether saveChart can write a picture of this name's suffix.
bool isPictureName(const QString& path);

}  // namespace brevandor::plot
