#pragma once

#include <QColor>
#include <QString>
#include <Qt>
#include <cstddef>

namespace brevandor::plot {

// How one kind of curve looks apart from its colour: the line and the marker on its points.
enum class MarkerShape { Circle, Square, Triangle, Diamond, Star, Pentagon };
struct CurveStyle {
  Qt::PenStyle line = Qt::SolidLine;
  MarkerShape marker = MarkerShape::Circle;
  bool filled = true;  // a filled marker, or its outline only
};

// Estimates (sums over the first weights only) are drawn dashed, whatever their bound.
inline constexpr Qt::PenStyle kEstimateLine = Qt::DashLine;

// The curves of one given permutation (not the uniform-interleaver average) are drawn
// dash-dot-dot with open markers, in every picture; the average's keep their styles.
inline constexpr Qt::PenStyle kGivenPermutationLine = Qt::DashDotDotLine;
// The style of a given permutation's curve of the kind drawn in `average`'s style.
CurveStyle givenPermutationStyle(CurveStyle average);

// The colour of the run at `index` in an overlay: eight colours that readers with any common
// colour-vision deficiency tell apart (the Okabe-Ito set, yellow last as it is faint on white),
// then again from the first.
QColor runColour(std::size_t index);
inline constexpr std::size_t kRunColours = 8;

// The style of a bound by its column head ("UB_Q", "TSB_Bit", …): fixed per bound, so that a
// bound looks the same in every picture. Heads not known here get styles after the known ones.
CurveStyle boundStyle(const QString& head);
// The style of the spectrum's two curves.
CurveStyle spectrumStyle(bool weighted);

}  // namespace brevandor::plot
