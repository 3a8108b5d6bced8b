#include "plot/chart_export.h"

#include <QBuffer>
#include <QChart>
#include <QFile>
#include <QFileInfo>
#include <QGraphicsScene>
#include <QImage>
#include <QPainter>
#include <QRegularExpression>
#include <QSvgGenerator>

#include "report/record_files.h"

namespace brevandor::plot {

namespace {

constexpr double kLegendMargin = 10.0;

QString suffixOf(const QString& path) {
  return QFileInfo(path).suffix().toLower();
}

// Where the chart and the legend go in a picture: the chart on the left, the legend beside it.
struct PictureLayout {
  QSize size;
  double chartWidth;
};

// Draws the chart's scene into the left part of `device` and the legend into the right.
void paintPicture(QGraphicsScene& scene, const FigureLegend& legend, QPaintDevice& device,
                  const PictureLayout& layout) {
  QPainter painter(&device);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.fillRect(QRect(QPoint(0, 0), layout.size), Qt::white);
  const QRectF chartArea(0.0, 0.0, layout.chartWidth, layout.size.height());
  scene.render(&painter, chartArea, chartArea);
  if (!legend.empty()) {
    paintLegend(painter,
                QRectF(layout.chartWidth + kLegendMargin, 4.0 * kLegendMargin,
                       layout.size.width() - layout.chartWidth - 2.0 * kLegendMargin,
                       layout.size.height() - 5.0 * kLegendMargin),
                legend);
  }
}

// The picture's bytes, drawn in memory; empty when it could not be drawn.
QByteArray pictureBytes(QGraphicsScene& scene, const FigureLegend& legend, const QString& title,
                        bool svg, const PictureLayout& layout) {
  QBuffer buffer;
  buffer.open(QIODevice::WriteOnly);
  if (svg) {
    QSvgGenerator generator;
    generator.setOutputDevice(&buffer);
    generator.setSize(layout.size);
    generator.setViewBox(QRect(QPoint(0, 0), layout.size));
    generator.setTitle(title.isEmpty() ? QStringLiteral("Brevandor") : title);
    paintPicture(scene, legend, generator, layout);
  } else {
    QImage image(layout.size, QImage::Format_ARGB32);
    paintPicture(scene, legend, image, layout);
    if (!image.save(&buffer, "PNG")) {
      return {};
    }
  }
  return buffer.data();
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
  const PictureLayout layout{
      size, legend.empty() ? size.width() : size.width() - legendWidth(size.width())};
  // The scene owns the chart from here on and lays it out at its part of the picture.
  QGraphicsScene scene;
  QChart* owned = chart.release();
  scene.addItem(owned);
  owned->setGeometry(QRectF(0.0, 0.0, layout.chartWidth, size.height()));
  scene.setSceneRect(QRectF(0.0, 0.0, layout.chartWidth, size.height()));

  const QByteArray bytes =
      pictureBytes(scene, legend, owned->title(), suffixOf(path) == QLatin1String("svg"), layout);
  if (bytes.isEmpty()) {
    return QStringLiteral("cannot draw '%1'").arg(path);
  }
  // Through the results file's writer: a temporary file renamed over the target once every
  // byte is written, flushed and closed, so a failed write leaves the earlier picture whole.
  const std::string failure = writeTextFile(QFile::encodeName(path).toStdString(),
                                            std::string_view(bytes.constData(), bytes.size()));
  return QString::fromStdString(failure);
}

}  // namespace brevandor::plot
