#include <array>
#include <cmath>

#include "bounds/union/bound_engines.h"
#include "bounds/union/bound_formulas.h"
#include "bounds/union/union_sum.h"

namespace brevandor {

namespace {

// The integrals of the improved bound at one point for every ρ that the search can pick:
// they do not depend on the spectrum entry, so one table serves every weight d.
class ExponentTable {
 public:
  explicit ExponentTable(double c) {
    fallback_ = viterbiIntegralLogs(kFallbackRho, c);
    for (std::int32_t i = 1; i <= kRhoGridPoints; ++i) {
      grid_[static_cast<std::size_t>(i)] = viterbiIntegralLogs(kRhoStep * i, c);
    }
  }

  // The exponent at the ρ that optimalRho picks for (δ, r): the same grid search, on the
  // cached integrals, with the same comparisons and tie rule.
  double optimalExponent(double delta, double r) const {
    double best = exponentFromIntegrals(kRhoStep, delta, r, grid_[1]);
    std::int32_t bestIndex = 0;
    for (std::int32_t i = 2; i <= kRhoGridPoints; ++i) {
      const double exponent =
          exponentFromIntegrals(kRhoStep * i, delta, r, grid_[static_cast<std::size_t>(i)]);
      if (exponent > best) {
        best = exponent;
        bestIndex = i;
      }
    }
    return bestIndex == 0 ? exponentFromIntegrals(kFallbackRho, delta, r, fallback_) : best;
  }

 private:
  ViterbiIntegralLogs fallback_;
  std::array<ViterbiIntegralLogs, kRhoGridPoints + 1> grid_{};  // entry 0 unused
};

// The improved bound of the true spectrum from one table of integrals.
BoundValue viterbiBoundFast(const BoundSpectrum& spectrum, double rate, double snr) {
  const double n = spectrum.blockLength;
  const ExponentTable table(snr * rate);
  if (spectrum.literal()) {
    double sum = 0.0;
    for (std::int32_t d = 0; d <= spectrum.maxWeight; ++d) {
      const double b = spectrum.scaled[static_cast<std::size_t>(d)];
      if (b > 0.0) {
        sum += std::exp(-n * table.optimalExponent(d / n, std::log(b) / n));
      }
    }
    if (literalSumHolds(sum)) {
      return literalBound(sum);
    }
  }
  return logDomainBound(unionTermSum(spectrum, 0, [&](std::int32_t d) {
    return -n * table.optimalExponent(d / n, spectrum.logPerSymbol(d));
  }));
}

}  // namespace

std::optional<BoundTables> computeBoundTablesFast(const BoundSpectrum& spectrum, double rate,
                                                  BerBoundSet bounds, const RunContext& context,
                                                  const EbN0Grid& grid) {
  return fillBoundTables(spectrum, rate, bounds, context, grid, viterbiBoundFast);
}

}  // namespace brevandor
