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

constexpr std::array<FurtherBoundInfo, kFurtherBoundCount> kInfos = {{
    {UnionWordQ, "ub-word", "UB_Q_Word", "union bound, word error, Q function",
     "Word Union Bound (Q function)"},
    {UnionWordExp, "exp-word", "UB_Exp_Word", "union bound, word error, exponential form",
     "Word Union Bound (Exp)"},
    {TangentialSphereBit, "tsb", "TSB_Bit", "tangential-sphere bound, bit error",
     "Tangential-Sphere Bound (bit)"},
    {TangentialSphereWord, "tsb-word", "TSB_Word", "tangential-sphere bound, word error",
     "Tangential-Sphere Bound (word)"},
    {SimpleBit, "simple", "Simple_Bit", "simple bound, bit error", "Simple Bound (bit)"},
    {SimpleWord, "simple-word", "Simple_Word", "simple bound, word error", "Simple Bound (word)"},
    {SpherePackingWord, "sphere", "Sphere_Word",
     "sphere-packing lower bound, word error of any code with the same n and K",
     "Sphere-Packing Bound (word)"},
}};

std::size_t indexOf(FurtherBound bit) {
  std::size_t index = 0;
  while ((1 << index) != bit) {
    ++index;
  }
  return index;
}

}  // namespace

const std::array<FurtherBoundInfo, kFurtherBoundCount>& furtherBoundInfos() {
  return kInfos;
}

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

std::int32_t computeFurtherBounds(const FurtherBoundInputs& inputs, std::int32_t mask,
                                  const EbN0Grid& grid, const RunContext& context,
                                  FurtherBoundTables& tables) {
  const auto selected = [&](FurtherBound bit) { return (mask & bit) != 0; };
  std::unique_ptr<TangentialSphereBound> tsbWord;
  std::unique_ptr<TangentialSphereBound> tsbBit;
  if (selected(TangentialSphereWord)) {
    tsbWord = std::make_unique<TangentialSphereBound>(inputs.codewords, context.engine);
    tables.radiusWord = tsbWord->cone().radius;
  }
  if (selected(TangentialSphereBit)) {
    tsbBit = std::make_unique<TangentialSphereBound>(inputs.weighted, context.engine);
    tables.radiusBit = tsbBit->cone().radius;
  }
  const SpherePackingCone sphere = spherePackingCone(inputs.blockLength(), inputs.infoBits);
  const auto points = static_cast<std::size_t>(grid.count());
  for (const FurtherBoundInfo& info : kInfos) {
    tables.logValues[indexOf(info.bit)].assign(selected(info.bit) ? points : 0, 0.0);
  }
  const double rate = inputs.rate();
  return forEachSnrPoint(grid, context, [&](std::int32_t j, double snr) {
    const double c = rate * snr;
    const auto put = [&](FurtherBound bit, auto&& evaluate) {
      if (selected(bit)) {
        tables.logValues[indexOf(bit)][static_cast<std::size_t>(j)] = evaluate();
      }
    };
    put(UnionWordQ, [&] { return logUnionBoundQ(inputs.codewords, c); });
    put(UnionWordExp, [&] { return logUnionBoundExp(inputs.codewords, c); });
    put(TangentialSphereBit, [&] { return tsbBit->logBound(c); });
    put(TangentialSphereWord, [&] { return tsbWord->logBound(c); });
    put(SimpleBit, [&] { return logSimpleBound(inputs.weighted, c); });
    put(SimpleWord, [&] { return logSimpleBound(inputs.codewords, c); });
    put(SpherePackingWord, [&] { return logSpherePackingBound(sphere, c); });
  });
}

std::int32_t computeFurtherBoundSection(std::FILE* file, const FurtherBoundInputs& inputs,
                                        std::int32_t mask, const EbN0Grid& grid,
                                        const RunContext& context, FurtherBoundTables* written) {
  FurtherBoundTables tables;
  if (computeFurtherBounds(inputs, mask, grid, context, tables) != 0) {
    return -1;
  }
  writeFurtherBoundSection(file, inputs, mask, tables, grid);
  if (written != nullptr) {
    *written = std::move(tables);
  }
  return 0;
}

}  // namespace brevandor
