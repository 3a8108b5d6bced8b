#include "plot/curve_styles.h"

#include <QHashFunctions>
#include <array>

#include "bounds/bound_catalogue.h"
#include "bounds/further_bounds.h"

namespace brevandor::plot {

namespace {

constexpr std::array<const char*, kRunColours> kOkabeIto{
    "#0072B2", "#D55E00", "#009E73", "#CC79A7", "#E69F00", "#56B4E9", "#000000", "#F0E442"};

// Dashes are left out: they mark estimates (and dash-dot-dot a given permutation).
constexpr std::array<Qt::PenStyle, 3> kLines{Qt::SolidLine, Qt::DotLine, Qt::DashDotLine};
constexpr std::array<MarkerShape, 6> kMarkers{MarkerShape::Circle,   MarkerShape::Square,
                                              MarkerShape::Triangle, MarkerShape::Diamond,
                                              MarkerShape::Star,     MarkerShape::Pentagon};

CurveStyle styleAt(std::size_t index) {
  return CurveStyle{kLines[index % kLines.size()], kMarkers[index % kMarkers.size()],
                    index / kMarkers.size() % 2 == 0};
}

// The position of a bound among all bounds: the "BER Bounds" columns, then the further ones.
std::size_t boundIndex(const QString& head) {
  std::size_t index = 0;
  for (const auto& bound : kBoundCatalogue) {
    if (head == QLatin1String(bound.column.data(), static_cast<qsizetype>(bound.column.size()))) {
      return index;
    }
    ++index;
  }
  for (const FurtherBoundInfo& bound : furtherBoundInfos()) {
    if (head == QLatin1String(bound.column.data(), static_cast<qsizetype>(bound.column.size()))) {
      return index;
    }
    ++index;
  }
  return index + static_cast<std::size_t>(qHash(head)) % kMarkers.size();
}

}  // namespace

QColor runColour(std::size_t index) {
  return QColor(QLatin1String(kOkabeIto[index % kOkabeIto.size()]));
}

CurveStyle boundStyle(const QString& head) {
  return styleAt(boundIndex(head));
}

CurveStyle givenPermutationStyle(CurveStyle average) {
  return CurveStyle{kGivenPermutationLine, average.marker, false};
}

CurveStyle spectrumStyle(bool weighted) {
  return weighted ? CurveStyle{Qt::DotLine, MarkerShape::Square, false}
                  : CurveStyle{Qt::SolidLine, MarkerShape::Circle, true};
}

}  // namespace brevandor::plot
