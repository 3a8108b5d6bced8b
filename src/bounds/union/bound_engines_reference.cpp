#include <cmath>

#include "bounds/ber_bounds.h"
#include "bounds/union/bound_engines.h"
#include "bounds/union/bound_formulas.h"
#include "bounds/union/union_bounds.h"
#include "logmath/log_sum.h"

namespace brevandor {

namespace {

// The improved bound of the true spectrum, each exponent evaluated afresh.
long double viterbiBoundReference(const BoundSpectrum& spectrum, double rate, double snr) {
  // The literal formula takes its block length from the last entry.
  if (spectrum.literal() && spectrum.blockLength == spectrum.maxWeight) {
    const double sum = boundViterbi(spectrum.scaled, spectrum.maxWeight, rate, snr);
    if (std::isfinite(sum)) {
      return sum;
    }
  }
  const double n = spectrum.blockLength;
  const double c = snr * rate;
  LogSum sum;
  for (std::int32_t d = 0; d <= spectrum.maxWeight; ++d) {
    if (spectrum.positive(d)) {
      const double delta = d / n;
      const double r = spectrum.logPerSymbol(d);
      const double rho = optimalRho(delta, r, c);
      sum.add(-n * viterbiExponent(rho, delta, r, c));
    }
  }
  return sum.clippedValue();
}

}  // namespace

std::int32_t computeBoundTablesReference(const BoundSpectrum& spectrum, double rate,
                                         std::int32_t mask, const RunContext& context,
                                         BoundTables& tables, const EbN0Grid& grid) {
  sizeBoundTables(tables, grid);
  return forEachSnrPoint(grid, context, [&](std::int32_t j, double snr) {
    const auto point = static_cast<std::size_t>(j);
    if ((mask & UnionBoundQ) != 0) {
      tables.unionQ[point] = unionQBound(spectrum, rate, snr);
    }
    if ((mask & UnionBoundExp) != 0) {
      tables.unionExp[point] = unionExpBound(spectrum, rate, snr);
    }
    if ((mask & ViterbiBound) != 0) {
      tables.viterbi[point] = viterbiBoundReference(spectrum, rate, snr);
    }
  });
}

std::int32_t computeBoundTables(const BoundSpectrum& spectrum, double rate, std::int32_t mask,
                                const RunContext& context, BoundTables& tables,
                                const EbN0Grid& grid) {
  return context.engine == Engine::Reference
             ? computeBoundTablesReference(spectrum, rate, mask, context, tables, grid)
             : computeBoundTablesFast(spectrum, rate, mask, context, tables, grid);
}

void sizeBoundTables(BoundTables& tables, const EbN0Grid& grid) {
  const auto points = static_cast<std::size_t>(grid.count());
  tables.unionQ.assign(points, 0.0L);
  tables.unionExp.assign(points, 0.0L);
  tables.viterbi.assign(points, 0.0L);
}

}  // namespace brevandor
