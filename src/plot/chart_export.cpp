#include "plot/chart_export.h"

#include <QChart>
#include <QFileInfo>
#include <QGraphicsScene>
#include <QImage>
#include <QPainter>
#include <QRegularExpression>
#include <QSvgGenerator>

namespace brevandor::plot {

namespace {

constexpr double kLegendMargin = 10.0;

QString suffixOf(const QString& path) {
  return QFileInfo(path).suffix().toLower();
}

// Draws the chart's scene into the left part of `device` and the legend into the right.
void paintPicture(QGraphicsScene& scene, const FigureLegend& legend, QPaintDevice& device,
                  const QSize& size, double chartWidth) {
  QPainter painter(&device);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.fillRect(QRect(QPoint(0, 0), size), Qt::white);
  const QRectF chartArea(0.0, 0.0, chartWidth, size.height());
  scene.render(&painter, chartArea, chartArea);
  if (!legend.empty()) {
    paintLegend(painter,
                QRectF(chartWidth + kLegendMargin, 4.0 * kLegendMargin,
                       size.width() - chartWidth - 2.0 * kLegendMargin,
                       size.height() - 5.0 * kLegendMargin),
                legend);
  }
}

}  // namespace

bool isPictureName(const QString& path) {
  const QString suffix = suffixOf(path);
  return suffix == QLatin1String("png") || suffix == QLatin1String("svg");
}

std::optional<QSize> pictureSize(const QString& text) {
  static const QRegularExpression form(QStringLiteral("^(\\d{1,6})[xX](\\d{1,6})$"));
  const QRegularExpressionMatch match = form.match(text.trimmed());
  if (!match.hasMatch()) {
    return std::nullopt;
  }
  const QSize size(match.captured(1).toInt(), match.captured(2).toInt());
  const auto fits = [](int side) { return side >= kSmallestSide && side <= kLargestSide; };
  return fits(size.width()) && fits(size.height()) ? std::optional(size) : std::nullopt;
}

QString saveChart(std::unique_ptr<QChart> chart, const FigureLegend& legend, const QString& path,
                  const QSize& size) {
  if (!isPictureName(path)) {
    return QStringLiteral("cannot write '%1': name a .png or .svg file").arg(path);
  }
  const double chartWidth =
      legend.empty() ? size.width() : size.width() - legendWidth(size.width());
  // The scene owns the chart from here on and lays it out at its part of the picture.
  QGraphicsScene scene;
  QChart* owned = chart.release();
  scene.addItem(owned);
  owned->setGeometry(QRectF(0.0, 0.0, chartWidth, size.height()));
  scene.setSceneRect(QRectF(0.0, 0.0, chartWidth, size.height()));

  if (suffixOf(path) == QLatin1String("svg")) {
    QSvgGenerator svg;
    svg.setFileName(path);
    svg.setSize(size);
    svg.setViewBox(QRect(QPoint(0, 0), size));
    svg.setTitle(owned->title().isEmpty() ? QStringLiteral("Brevandor") : owned->title());
    paintPicture(scene, legend, svg, size, chartWidth);
    // The generator reports nothing when the file cannot be written; look for it.
    return QFileInfo(path).size() > 0 ? QString() : QStringLiteral("cannot write '%1'").arg(path);
  }
  QImage image(size, QImage::Format_ARGB32);
  paintPicture(scene, legend, image, size, chartWidth);
  return image.save(path, "PNG") ? QString() : QStringLiteral("cannot write '%1'").arg(path);
}

}  // namespace brevandor::plot
