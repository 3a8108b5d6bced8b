#include "plot/chart_export.h"

#include <QChart>
#include <QFileInfo>
#include <QGraphicsScene>
#include <QImage>
#include <QPainter>
#include <QSvgGenerator>

namespace brevandor::plot {

namespace {

QString suffixOf(const QString& path) {
  return QFileInfo(path).suffix().toLower();
}

// Draws the scene into `device`, which is `size` large.
void paintScene(QGraphicsScene& scene, QPaintDevice& device, const QSize& size) {
  QPainter painter(&device);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.fillRect(QRect(QPoint(0, 0), size), Qt::white);
  scene.render(&painter, QRectF(QPoint(0, 0), size), QRectF(QPoint(0, 0), size));
}

}  // namespace

bool isPictureName(const QString& path) {
  const QString suffix = suffixOf(path);
  return suffix == QLatin1String("png") || suffix == QLatin1String("svg");
}

QString saveChart(std::unique_ptr<QChart> chart, const QString& path, const QSize& size) {
  if (!isPictureName(path)) {
    return QStringLiteral("cannot write '%1': name a .png or .svg file").arg(path);
  }
  // The scene owns the chart from here on and lays it out at the picture's size.
  QGraphicsScene scene;
  QChart* owned = chart.release();
  scene.addItem(owned);
  owned->setGeometry(QRectF(QPoint(0, 0), size));
  scene.setSceneRect(QRectF(QPoint(0, 0), size));

  if (suffixOf(path) == QLatin1String("svg")) {
    QSvgGenerator svg;
    svg.setFileName(path);
    svg.setSize(size);
    svg.setViewBox(QRect(QPoint(0, 0), size));
    svg.setTitle(owned->title().isEmpty() ? QStringLiteral("Brevandor") : owned->title());
    paintScene(scene, svg, size);
    // The generator reports nothing when the file cannot be written; look for it.
    return QFileInfo(path).size() > 0 ? QString() : QStringLiteral("cannot write '%1'").arg(path);
  }
  QImage image(size, QImage::Format_ARGB32);
  paintScene(scene, image, size);
  return image.save(path, "PNG") ? QString() : QStringLiteral("cannot write '%1'").arg(path);
}

}  // namespace brevandor::plot
