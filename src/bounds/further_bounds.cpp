#include "bounds/further_bounds.h"

#include <cmath>
#include <memory>
#include <utility>

#include "bounds/simple/simple_bound.h"
#include "bounds/snr_points.h"
#include "bounds/sphere_packing/sphere_packing_bound.h"
#include "bounds/tangential_sphere/tangential_sphere_bound.h"
#include "bounds/union/union_word_bound.h"

namespace brevandor {

namespace {

std::size_t indexOf(FurtherBound bit) {
  std::size_t index = 0;
  while ((1U << index) != static_cast<std::uint32_t>(bit)) {
    ++index;
  }
  return index;
}

}  // namespace

long double shownFurtherBound(double logValue) {
  // A value that a double holds is the double result; smaller ones keep extended precision.
  constexpr double kLogSmallestNormal = -708.0;
  if (logValue >= 0.0) {
    return 1.0L;
  }
  return logValue > kLogSmallestNormal ? std::exp(logValue)
                                       : std::exp(static_cast<long double>(logValue));
}

FurtherBoundInputs furtherBoundInputsFromLog10(std::span<const double> log10Codewords,
                                               std::span<const double> log10Weighted,
                                               std::int32_t maxWeight, std::int32_t blockLength,
                                               std::int32_t infoBits) {
  FurtherBoundInputs inputs{boundSpectrumFromLog10(log10Codewords, maxWeight),
                            boundSpectrumFromLog10(log10Weighted, maxWeight), infoBits};
  inputs.codewords.blockLength = blockLength;
  inputs.weighted.blockLength = blockLength;
  return inputs;
}

std::optional<FurtherBoundTables> computeFurtherBounds(const FurtherBoundInputs& inputs,
                                                       FurtherBoundSet bounds, const EbN0Grid& grid,
                                                       const RunContext& context) {
  const auto selected = [&](FurtherBound bound) { return bounds.contains(bound); };
  FurtherBoundTables tables;
  std::unique_ptr<TangentialSphereBound> tsbWord;
  std::unique_ptr<TangentialSphereBound> tsbBit;
  if (selected(FurtherBound::TangentialSphereWord)) {
    tsbWord = std::make_unique<TangentialSphereBound>(inputs.codewords, context.engine);
    tables.radiusWord = tsbWord->cone().radius;
  }
  if (selected(FurtherBound::TangentialSphereBit)) {
    tsbBit = std::make_unique<TangentialSphereBound>(inputs.weighted, context.engine);
    tables.radiusBit = tsbBit->cone().radius;
  }
  const SpherePackingCone sphere = spherePackingCone(inputs.blockLength(), inputs.infoBits);
  const auto points = static_cast<std::size_t>(grid.count());
  for (const FurtherBoundInfo& info : kFurtherBoundCatalogue) {
    tables.logValues[indexOf(info.bit)].assign(selected(info.bit) ? points : 0, 0.0);
  }
  const double rate = inputs.rate();
  const bool evaluated = forEachSnrPoint(grid, context, [&](std::int32_t j, double snr) {
    const double c = rate * snr;
    const auto put = [&](FurtherBound bit, auto&& evaluate) {
      if (selected(bit)) {
        tables.logValues[indexOf(bit)][static_cast<std::size_t>(j)] = evaluate();
      }
    };
    put(FurtherBound::UnionWordQ, [&] { return logUnionBoundQ(inputs.codewords, c); });
    put(FurtherBound::UnionWordExp, [&] { return logUnionBoundExp(inputs.codewords, c); });
    put(FurtherBound::TangentialSphereBit, [&] { return tsbBit->logBound(c); });
    put(FurtherBound::TangentialSphereWord, [&] { return tsbWord->logBound(c); });
    put(FurtherBound::SimpleBit, [&] { return logSimpleBound(inputs.weighted, c); });
    put(FurtherBound::SimpleWord, [&] { return logSimpleBound(inputs.codewords, c); });
    put(FurtherBound::SpherePackingWord, [&] { return logSpherePackingBound(sphere, c); });
  });
  if (!evaluated) {
    return std::nullopt;
  }
  return tables;
}

}  // namespace brevandor
