#include "ui/app_icon.h"

#include <QPainter>
#include <QPixmap>
#include <array>

namespace brevandor {

QPixmap applicationIconPixmap(int size) {
  QPixmap pixmap(size, size);
  pixmap.fill(Qt::transparent);
  QPainter painter(&pixmap);
  painter.setRenderHint(QPainter::Antialiasing);
  const qreal unit = size / 16.0;
  painter.setPen(Qt::NoPen);
  painter.setBrush(QColor(0x1f, 0x4e, 0x8c));
  painter.drawRoundedRect(QRectF(0, 0, size, size), 3 * unit, 3 * unit);

  // Three trellis sections between four columns of two states each.
  const std::array<qreal, 4> columns{3 * unit, 6.3 * unit, 9.7 * unit, 13 * unit};
  const std::array<qreal, 2> rows{5 * unit, 11 * unit};
  painter.setPen(QPen(QColor(0xe8, 0xf0, 0xfa), unit * 0.9));
  for (std::size_t c = 0; c + 1 < columns.size(); ++c) {
    for (qreal from : rows) {
      for (qreal to : rows) {
        painter.drawLine(QPointF(columns[c], from), QPointF(columns[c + 1], to));
      }
    }
  }
  painter.setPen(Qt::NoPen);
  painter.setBrush(QColor(0xff, 0xc8, 0x3d));
  for (qreal x : columns) {
    for (qreal y : rows) {
      painter.drawEllipse(QPointF(x, y), 1.3 * unit, 1.3 * unit);
    }
  }
  return pixmap;
}

QIcon applicationIcon() {
  QIcon icon;
  for (int size : {16, 32, 48, 64}) {
    icon.addPixmap(applicationIconPixmap(size));
  }
  return icon;
}

}  // namespace brevandor
