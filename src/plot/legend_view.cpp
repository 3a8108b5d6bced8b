#include "plot/legend_view.h"

#include <QPainter>
#include <cmath>
#include <utility>

namespace brevandor::plot {

LegendView::LegendView(QWidget* parent) : QWidget(parent) {
  setAutoFillBackground(true);
  QPalette colours = palette();
  colours.setColor(QPalette::Window, Qt::white);
  setPalette(colours);
}

void LegendView::setLegend(FigureLegend legend) {
  legend_ = std::move(legend);
  updateGeometry();
  update();
}

int LegendView::heightForWidth(int width) const {
  return static_cast<int>(std::ceil(legendHeight(legend_, width - 8, font()))) + 8;
}

void LegendView::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.setFont(font());
  paintLegend(painter, QRectF(rect()).adjusted(4, 4, -4, -4), legend_);
}

}  // namespace brevandor::plot
