#include "bounds/union/bound_engines.h"

#include <limits>

#include "bounds/union/union_bounds.h"

namespace brevandor {

std::optional<BoundTables> fillBoundTables(const BoundSpectrum& spectrum, double rate,
                                           BerBoundSet bounds, const RunContext& context,
                                           const EbN0Grid& grid, ViterbiBoundAt viterbiAt) {
  const auto points = static_cast<std::size_t>(grid.count());
  const std::vector<long double> zeros(points, 0.0L);
  const std::vector<long double> logZeros(points, -std::numeric_limits<long double>::infinity());
  BoundTables tables{zeros, zeros, zeros, logZeros, logZeros, logZeros};
  const bool evaluated = forEachSnrPoint(grid, context, [&](std::int32_t j, double snr) {
    const auto point = static_cast<std::size_t>(j);
    const auto put = [point](const BoundValue& bound, std::vector<long double>& values,
                             std::vector<long double>& logs) {
      values[point] = bound.value;
      logs[point] = bound.logValue;
    };
    if (bounds.contains(BerBound::UnionQ)) {
      put(unionQBound(spectrum, rate, snr), tables.unionQ, tables.logUnionQ);
    }
    if (bounds.contains(BerBound::UnionExp)) {
      put(unionExpBound(spectrum, rate, snr), tables.unionExp, tables.logUnionExp);
    }
    if (bounds.contains(BerBound::Viterbi)) {
      put(viterbiAt(spectrum, rate, snr), tables.viterbi, tables.logViterbi);
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
