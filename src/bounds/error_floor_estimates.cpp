#include "bounds/error_floor_estimates.h"

#include <algorithm>
#include <string>
#include <vector>

#include "bounds/ber_bounds.h"
#include "bounds/bound_section.h"
#include "bounds/union/bound_engines.h"
#include "logmath/log_domain.h"

namespace brevandor {

namespace {

// The spectrum as the bounds read it, with the entries from `firstLeftOut` on taken as zero.
BoundSpectrum estimateSpectrum(std::span<const double> log10Values, std::int32_t maxWeight,
                               std::int32_t blockLength, std::int32_t firstLeftOut) {
  std::vector<double> values(log10Values.begin(), log10Values.begin() + maxWeight + 1);
  std::fill(values.begin() + std::max(firstLeftOut, 0), values.end(), LogZero);
  BoundSpectrum spectrum = boundSpectrumFromLog10(values, maxWeight);
  spectrum.blockLength = blockLength;
  return spectrum;
}

std::string heading(std::int32_t maxWeight, std::int32_t blockLength) {
  const std::int32_t firstSettling = std::max(maxWeight - kSettlingWeights + 1, 0);
  return "\n   *NOTE : Sums over the low-weight terms d <= " + std::to_string(maxWeight) +
         " only (the code has weights up to " + std::to_string(blockLength) +
         "):\n           estimates of the error floor, not upper bounds." + "\n           \"" +
         kUnsettledMark +
         "\" : the terms of the last four weights, d = " + std::to_string(firstSettling) + " ... " +
         std::to_string(maxWeight) +
         ", still add\n           more than 1 % to a sum of that row.\n";
}

// Marks the rows where a selected bound has not settled.
void markUnsettled(std::int32_t mask, const BoundTables& all, const BoundTables& head,
                   BoundSectionNotes& notes) {
  const std::pair<std::int32_t, const std::vector<long double> BoundTables::*> columns[] = {
      {UnionBoundQ, &BoundTables::unionQ},
      {UnionBoundExp, &BoundTables::unionExp},
      {ViterbiBound, &BoundTables::viterbi}};
  for (std::size_t j = 0; j < notes.unsettled.size(); ++j) {
    for (const auto& [bit, values] : columns) {
      if ((mask & bit) != 0 && !sumSettled((all.*values)[j], (head.*values)[j])) {
        notes.unsettled[j] = true;
      }
    }
  }
}

}  // namespace

std::int32_t computeErrorFloorEstimates(std::FILE* file, double rate,
                                        std::span<const double> log10WeightedSpectrum,
                                        std::int32_t maxWeight, std::int32_t blockLength,
                                        std::int32_t mask, const RunContext& context,
                                        const EbN0Grid& grid, BoundTables* written) {
  // The sums without the last weights first, quietly; then the whole sums with progress.
  RunContext quiet = context;
  quiet.noticeTarget = nullptr;
  BoundTables head;
  if (computeBoundTables(estimateSpectrum(log10WeightedSpectrum, maxWeight, blockLength,
                                          maxWeight - kSettlingWeights + 1),
                         rate, mask, quiet, head, grid) != 0) {
    return -1;
  }
  BoundTables all;
  if (computeBoundTables(
          estimateSpectrum(log10WeightedSpectrum, maxWeight, blockLength, maxWeight + 1), rate,
          mask, context, all, grid) != 0) {
    return -1;
  }
  BoundSectionNotes notes;
  notes.heading = heading(maxWeight, blockLength);
  notes.unsettled.assign(static_cast<std::size_t>(grid.count()), false);
  markUnsettled(mask, all, head, notes);
  writeBoundSection(file, rate, mask, all, grid, &notes);
  if (written != nullptr) {
    *written = all;
  }
  return 0;
}

}  // namespace brevandor
