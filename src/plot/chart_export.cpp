#include "plot/chart_export.h"

#include <QBuffer>
#include <QChart>
#include <QFile>
#include <QFileInfo>
#include <QGraphicsScene>
#include <QImage>
#include <QPainter>
#include <QSvgGenerator>

#include "report/record_files.h"

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

// The picture's bytes, drawn in memory; empty when it could not be drawn.
QByteArray pictureBytes(QGraphicsScene& scene, const QString& title, bool svg, const QSize& size) {
  QBuffer buffer;
  buffer.open(QIODevice::WriteOnly);
  if (svg) {
    QSvgGenerator generator;
    generator.setOutputDevice(&buffer);
    generator.setSize(size);
    generator.setViewBox(QRect(QPoint(0, 0), size));
    generator.setTitle(title.isEmpty() ? QStringLiteral("Brevandor") : title);
    paintScene(scene, generator, size);
  } else {
    QImage image(size, QImage::Format_ARGB32);
    paintScene(scene, image, size);
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

  const QByteArray bytes =
      pictureBytes(scene, owned->title(), suffixOf(path) == QLatin1String("svg"), size);
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
