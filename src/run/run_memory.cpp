#include "run/run_memory.h"

#include <algorithm>

#include "enumerators/cwef_engines.h"
#include "enumerators/log_table.h"
#include "enumerators/low_weight/low_weight_cwef.h"
#include "turbo/low_weight_cuts.h"
#include "turbo/spectrum_engines.h"

namespace brevandor {

bool sharesParallelTable(const TurboCode& turbo, Engine engine) {
  if (turbo.concatenationType != ConcatenationType::Parallel ||
      !parallelSpectrumReadsFirstTableOnly(engine)) {
    return false;
  }
  for (std::int32_t c = 1; c < turbo.constituentCount; ++c) {
    if (!turbo.sameTableAsFirst(c)) {
      return false;  // a second code or another pattern: every table is computed and read
    }
  }
  return true;
}

RunMemoryPlan planRunMemory(const TurboCode& turbo, const RunContext& context) {
  RunMemoryPlan plan;
  const auto count = static_cast<std::size_t>(turbo.constituentCount);
  const bool fast = context.engine == Engine::Fast;
  const bool shared = sharesParallelTable(turbo, context.engine);
  const bool wide = tablePrecision(turbo) == TablePrecision::Double;
  for (std::size_t c = 0; c < count; ++c) {
    const WeightEnumerator& enumerator = *turbo.enumerators[c];
    const ConvCode& code = *turbo.codes[c];
    if (c == 0 || !shared) {
      plan.tables += enumerator.tableBytes(code);
    }
    // The repetition code needs no work layers; the reference CWEF holds two while it runs,
    // the fast one a single layer of the cells that can hold counts.
    if (enumerator.repetitionFactor == 0) {
      plan.work = std::max(plan.work, fast ? fastCwefWorkBytes(enumerator, code, context)
                                           : enumerator.layerBytes(code));
    }
  }
  const auto spectrumEntries = static_cast<std::uint64_t>(turbo.outputFrameLength) + 1;
  plan.tables += 4 * spectrumEntries * sizeof(double);  // two spectra and their log copies
  if (fast) {
    plan.work = std::max(plan.work, turbo.concatenationType == ConcatenationType::Parallel
                                        ? fastParallelSpectrumWorkBytes(turbo, context)
                                        : fastSerialSpectrumWorkBytes(turbo));
  } else if (turbo.concatenationType == ConcatenationType::Parallel) {
    plan.work = std::max<std::uint64_t>(plan.work, 2 * spectrumEntries * (wide ? 8 : 4));
  } else {
    // Two matrices of D + 1 rows over the outer input weights.
    const std::int32_t rows = turbo.outputFrameLength + 1;
    const std::int32_t columns = turbo.frameLengths[0] + 1;
    plan.work = std::max(plan.work, 2 * (wide ? LogTableDouble::bytesFor(1, rows, columns)
                                              : LogTable::bytesFor(1, rows, columns)));
  }
  return plan;
}

RunMemoryPlan planLowWeightMemory(const TurboCode& turbo, std::int32_t limit) {
  RunMemoryPlan plan;
  std::uint64_t binomials = 0;
  for (std::size_t c = 0; c < static_cast<std::size_t>(turbo.constituentCount); ++c) {
    const WeightEnumerator& enumerator = *turbo.enumerators[c];
    // The spectrum stage's binomial logarithms, looked up over each constituent's frame.
    binomials += (static_cast<std::uint64_t>(turbo.frameLengths[c]) + 1) *
                 (sizeof(long double) + sizeof(double));
    if (enumerator.repetitionFactor != 0) {
      continue;  // the repetition code's counts are known; it has no table
    }
    const LowWeightCut cut = lowWeightCutOf(turbo, static_cast<std::int32_t>(c), limit);
    plan.tables += lowWeightTableBytes(*turbo.codes[c], cut, enumerator.precision);
    plan.work = std::max(plan.work, lowWeightWorkBytes(*turbo.codes[c], cut, enumerator.precision,
                                                       enumerator.ending.tailBiting));
  }
  // Two spectra and their log copies (the bounds and the report read them).
  plan.tables += 4 * (static_cast<std::uint64_t>(limit) + 1) * sizeof(double);
  plan.work = std::max(plan.work, binomials);
  return plan;
}

}  // namespace brevandor
