#include "bounds/error_floor_estimates.h"

#include <algorithm>
#include <utility>
#include <vector>

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

// Marks the rows where a selected bound has not settled.
std::vector<bool> unsettledRows(BerBoundSet bounds, const BoundTables& all,
                                const BoundTables& head) {
  const std::pair<BerBound, const std::vector<long double> BoundTables::*> columns[] = {
      {BerBound::UnionQ, &BoundTables::unionQ},
      {BerBound::UnionExp, &BoundTables::unionExp},
      {BerBound::Viterbi, &BoundTables::viterbi}};
  std::vector<bool> unsettled(all.unionQ.size(), false);
  for (std::size_t j = 0; j < unsettled.size(); ++j) {
    for (const auto& [bound, values] : columns) {
      if (bounds.contains(bound) && !sumSettled((all.*values)[j], (head.*values)[j])) {
        unsettled[j] = true;
      }
    }
  }
  return unsettled;
}

}  // namespace

std::optional<ErrorFloorEstimates> computeErrorFloorEstimates(
    double rate, std::span<const double> log10WeightedSpectrum, std::int32_t maxWeight,
    std::int32_t blockLength, BerBoundSet bounds, const RunContext& context, const EbN0Grid& grid) {
  // The sums without the last weights first, quietly; then the whole sums with progress.
  RunContext quiet = context;
  quiet.noticeTarget = nullptr;
  const std::optional<BoundTables> head =
      computeBoundTables(estimateSpectrum(log10WeightedSpectrum, maxWeight, blockLength,
                                          maxWeight - kSettlingWeights + 1),
                         rate, bounds, quiet, grid);
  if (!head) {
    return std::nullopt;
  }
  std::optional<BoundTables> all = computeBoundTables(
      estimateSpectrum(log10WeightedSpectrum, maxWeight, blockLength, maxWeight + 1), rate, bounds,
      context, grid);
  if (!all) {
    return std::nullopt;
  }
  std::vector<bool> unsettled = unsettledRows(bounds, *all, *head);
  return ErrorFloorEstimates{std::move(*all), std::move(unsettled), maxWeight, blockLength};
}

}  // namespace brevandor
