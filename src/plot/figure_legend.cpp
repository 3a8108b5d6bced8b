#include "plot/figure_legend.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPolygonF>
#include <algorithm>
#include <cmath>
#include <numbers>

namespace brevandor::plot {

namespace {

constexpr double kSampleWidth = 34.0;  // the line sample before each text
constexpr double kGap = 6.0;
constexpr double kMarkerSize = 8.0;
constexpr double kLineWidth = 2.0;

QFont headingFont(QFont font) {
  font.setBold(true);
  return font;
}

QRectF textRect(const QFont& font, double width, const QString& text) {
  return QFontMetricsF(font).boundingRect(QRectF(0, 0, width, 1e6),
                                          Qt::TextWordWrap | Qt::AlignLeft, text);
}

// Calls `each(heading, entries)` for the legend's two parts that hold entries.
template <typename Each>
void forParts(const FigureLegend& legend, Each each) {
  if (!legend.runs.empty()) {
    each(QStringLiteral("Runs"), legend.runs);
  }
  if (!legend.curves.empty()) {
    each(QStringLiteral("Curves"), legend.curves);
  }
}

double entryHeight(const LegendEntry& entry, double textWidth, const QFont& font) {
  return std::max(textRect(font, textWidth, entry.text).height(), kMarkerSize + 2.0);
}

}  // namespace

double legendWidth(double totalWidth) {
  return std::clamp(totalWidth * 0.28, 170.0, 340.0);
}

void paintMarker(QPainter& painter, MarkerShape shape, const QPointF& centre, double size,
                 const QColor& colour, bool filled) {
  painter.save();
  painter.setPen(QPen(colour, 1.5));
  painter.setBrush(filled ? QBrush(colour) : QBrush(Qt::white));
  const double r = size / 2.0;
  const auto polygon = [&](int corners, double turn, double inner) {
    QPolygonF points;
    const int steps = inner > 0.0 ? 2 * corners : corners;
    for (int i = 0; i < steps; ++i) {
      const double angle = turn + 2.0 * std::numbers::pi * i / steps;
      const double radius = inner > 0.0 && i % 2 == 1 ? r * inner : r;
      points.append(centre + QPointF(radius * std::sin(angle), -radius * std::cos(angle)));
    }
    painter.drawPolygon(points);
  };
  switch (shape) {
    case MarkerShape::Circle:
      painter.drawEllipse(centre, r, r);
      break;
    case MarkerShape::Square:
      painter.drawRect(QRectF(centre.x() - r * 0.85, centre.y() - r * 0.85, r * 1.7, r * 1.7));
      break;
    case MarkerShape::Triangle:
      polygon(3, 0.0, 0.0);
      break;
    case MarkerShape::Diamond:
      polygon(4, 0.0, 0.0);
      break;
    case MarkerShape::Star:
      polygon(5, 0.0, 0.45);
      break;
    case MarkerShape::Pentagon:
      polygon(5, 0.0, 0.0);
      break;
  }
  painter.restore();
}

double legendHeight(const FigureLegend& legend, double width, const QFont& font) {
  const double textWidth = std::max(width - kSampleWidth - kGap, 20.0);
  double height = 0.0;
  forParts(legend, [&](const QString& heading, const std::vector<LegendEntry>& entries) {
    height += textRect(headingFont(font), width, heading).height() + kGap / 2.0;
    for (const LegendEntry& entry : entries) {
      height += entryHeight(entry, textWidth, font) + kGap / 2.0;
    }
    height += kGap;
  });
  return height;
}

void paintLegend(QPainter& painter, const QRectF& area, const FigureLegend& legend) {
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing);
  const QFont font = painter.font();
  const double textWidth = std::max(area.width() - kSampleWidth - kGap, 20.0);
  double y = area.top();
  forParts(legend, [&](const QString& heading, const std::vector<LegendEntry>& entries) {
    painter.setFont(headingFont(font));
    painter.setPen(Qt::black);
    const QRectF headingRect = textRect(painter.font(), area.width(), heading);
    painter.drawText(QRectF(area.left(), y, area.width(), headingRect.height()),
                     Qt::AlignLeft | Qt::TextWordWrap, heading);
    y += headingRect.height() + kGap / 2.0;
    painter.setFont(font);
    for (const LegendEntry& entry : entries) {
      const double height = entryHeight(entry, textWidth, font);
      const double middle = y + QFontMetricsF(font).height() / 2.0;
      QPen pen(entry.colour, kLineWidth);
      pen.setStyle(entry.style.line);
      painter.setPen(pen);
      painter.drawLine(QPointF(area.left(), middle), QPointF(area.left() + kSampleWidth, middle));
      if (entry.marker) {
        paintMarker(painter, entry.style.marker, QPointF(area.left() + kSampleWidth / 2.0, middle),
                    kMarkerSize, entry.colour, entry.style.filled);
      }
      painter.setPen(Qt::black);
      painter.drawText(QRectF(area.left() + kSampleWidth + kGap, y, textWidth, height),
                       Qt::AlignLeft | Qt::TextWordWrap, entry.text);
      y += height + kGap / 2.0;
    }
    y += kGap;
  });
  painter.restore();
}

}  // namespace brevandor::plot
