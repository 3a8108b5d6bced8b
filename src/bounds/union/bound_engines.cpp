#include "bounds/union/bound_engines.h"

#include "bounds/union/union_bounds.h"

namespace brevandor {

std::optional<BoundTables> fillBoundTables(const BoundSpectrum& spectrum, double rate,
                                           BerBoundSet bounds, const RunContext& context,
                                           const EbN0Grid& grid, ViterbiBoundAt viterbiAt) {
  const auto points = static_cast<std::size_t>(grid.count());
  BoundTables tables{std::vector<long double>(points, 0.0L), std::vector<long double>(points, 0.0L),
                     std::vector<long double>(points, 0.0L)};
  const bool evaluated = forEachSnrPoint(grid, context, [&](std::int32_t j, double snr) {
    const auto point = static_cast<std::size_t>(j);
    if (bounds.contains(BerBound::UnionQ)) {
      tables.unionQ[point] = unionQBound(spectrum, rate, snr);
    }
    if (bounds.contains(BerBound::UnionExp)) {
      tables.unionExp[point] = unionExpBound(spectrum, rate, snr);
    }
    if (bounds.contains(BerBound::Viterbi)) {
      tables.viterbi[point] = viterbiAt(spectrum, rate, snr);
    }
  });
  if (!evaluated) {
    return std::nullopt;
  }
  return tables;
}

std::optional<BoundTables> computeBoundTables(const BoundSpectrum& spectrum, double rate,
                                              BerBoundSet bounds, const RunContext& context,
                                              const EbN0Grid& grid) {
  return context.engine == Engine::Reference
             ? computeBoundTablesReference(spectrum, rate, bounds, context, grid)
             : computeBoundTablesFast(spectrum, rate, bounds, context, grid);
}

}  // namespace brevandor
