#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "bounds/bound_catalogue.h"
#include "bounds/bound_kinds.h"
#include "bounds/bound_spectrum.h"
#include "bounds/ebn0_grid.h"
#include "progress/run_context.h"

namespace brevandor {

// What the further bounds read: both spectra of a code of length n = blockLength with K
// information bits (rate K / n), for the weights up to maxWeight (n, unless the low-weight
// mode stopped the spectrum short: then the sums are estimates, not bounds).
struct FurtherBoundInputs {
  BoundSpectrum codewords;  // A_d
  BoundSpectrum weighted;   // B_d
  std::int32_t infoBits = 0;

  std::int32_t blockLength() const { return codewords.blockLength; }
  bool truncated() const { return codewords.maxWeight < codewords.blockLength; }
  double rate() const { return static_cast<double>(infoBits) / blockLength(); }
};

// Natural logs of the selected bounds at every point of the grid (one column per bound, in
// bit order; unselected columns empty), and the tangential-sphere cones' radii.
struct FurtherBoundTables {
  std::array<std::vector<double>, kFurtherBoundCount> logValues;
  double radiusWord = 0.0;
  double radiusBit = 0.0;
};

// A bound's value as the section shows it: e^logValue, upper bounds above 1 shown as 1.
long double shownFurtherBound(double logValue);

// Evaluates the selected bounds point by point, with the remaining-time estimate after each
// point and the cancel request tested once per point. The tangential-sphere cones and the
// sphere-packing cone are solved once, before the first point. Nothing when cancelled.
std::optional<FurtherBoundTables> computeFurtherBounds(const FurtherBoundInputs& inputs,
                                                       FurtherBoundSet bounds, const EbN0Grid& grid,
                                                       const RunContext& context);

// The inputs from the log10 spectra (LogZero for zero) of the weights 0 … maxWeight of a code
// of length blockLength.
FurtherBoundInputs furtherBoundInputsFromLog10(std::span<const double> log10Codewords,
                                               std::span<const double> log10Weighted,
                                               std::int32_t maxWeight, std::int32_t blockLength,
                                               std::int32_t infoBits);

}  // namespace brevandor
