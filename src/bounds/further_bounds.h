#pragma once

#include <array>
#include <cstdint>
#include <cstdio>
#include <span>
#include <string_view>
#include <vector>

#include "bounds/bound_spectrum.h"
#include "bounds/ebn0_grid.h"
#include "progress/run_context.h"

namespace brevandor {

// The bounds of the "Further Bounds" section, by bit of the selection mask. Word-error bounds
// read the codeword spectrum A_d, bit-error bounds the weighted spectrum B_d.
enum FurtherBound : std::int32_t {
  UnionWordQ = 1,            // "ub-word": union bound with the Q function
  UnionWordExp = 2,          // "exp-word": its exponential form
  TangentialSphereBit = 4,   // "tsb"
  TangentialSphereWord = 8,  // "tsb-word"
  SimpleBit = 16,            // "simple"
  SimpleWord = 32,           // "simple-word"
  SpherePackingWord = 64,    // "sphere": lower bound for any code with the same n and K
};
inline constexpr std::int32_t kFurtherBoundCount = 7;

// One bound's option name, column head, one-line description and title in legends.
struct FurtherBoundInfo {
  FurtherBound bit;
  std::string_view name;
  std::string_view head;
  std::string_view meaning;
  std::string_view title;
};

// All bounds in the order of their bits (and of the section's columns).
const std::array<FurtherBoundInfo, kFurtherBoundCount>& furtherBoundInfos();

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

// Evaluates the bounds selected in `mask` point by point, with the remaining-time estimate
// after each point and the cancel request tested once per point. The tangential-sphere cones
// and the sphere-packing cone are solved once, before the first point. Returns 0, or −1 when
// cancelled.
std::int32_t computeFurtherBounds(const FurtherBoundInputs& inputs, std::int32_t mask,
                                  const EbN0Grid& grid, const RunContext& context,
                                  FurtherBoundTables& tables);

// Appends the "Further Bounds" section: the rate line, n and K, one line naming each selected
// bound, and one row per point with one column per bound, in the layout of "BER Bounds".
// Upper bounds above 1 are shown as 1. Flushes the file.
void writeFurtherBoundSection(std::FILE* file, const FurtherBoundInputs& inputs, std::int32_t mask,
                              const FurtherBoundTables& tables, const EbN0Grid& grid);

// Both: the stage as the run calls it. Returns 0, or −1 when cancelled (nothing written).
// When `written` is given, it receives the tables the section shows.
std::int32_t computeFurtherBoundSection(std::FILE* file, const FurtherBoundInputs& inputs,
                                        std::int32_t mask, const EbN0Grid& grid,
                                        const RunContext& context,
                                        FurtherBoundTables* written = nullptr);

// The inputs from the log10 spectra (LogZero for zero) of the weights 0 … maxWeight of a code
// of length blockLength.
FurtherBoundInputs furtherBoundInputsFromLog10(std::span<const double> log10Codewords,
                                               std::span<const double> log10Weighted,
                                               std::int32_t maxWeight, std::int32_t blockLength,
                                               std::int32_t infoBits);

}  // namespace brevandor
