#pragma once

#include <cstdint>
#include <optional>
#include <span>

#include "progress/run_context.h"
#include "turbo/turbo_code.h"

namespace brevandor {

// The stages of a low-weight run (maxWeight > 0): A_d and B_d for d ≤ D only, from cut
// constituent tables, each value what the whole spectrum holds for it.

// The weight limit a low-weight run works to: D, or the output frame length where D passes
// it; 0 for a run of the whole spectrum.
std::int32_t lowWeightLimit(const TurboCode& turbo, std::int32_t maxWeight);

// The "TM" and "CWEF" stages with the log lines of the whole run: every constituent's cut
// table (parallel constituents of one code and frame share the first table, copied).
// Ends Cancelled when cancelled.
StageEnd runLowWeightEnumeratorStages(TurboCode& turbo, std::int32_t limit,
                                      const RunContext& context);

// The "TWEF" stage: both spectra for d = 0 … limit, in the log10 domain. The last weight,
// limit; cancelled; or failed when a table is missing.
StageResult<std::int32_t> computeLowWeightSpectrum(TurboCode& turbo, std::int32_t limit,
                                                   std::span<double> codewordSpectrum,
                                                   std::span<double> weightedSpectrum,
                                                   const RunContext& context);

// The input-weight limit of a low-weight run whose patterns leave input bits unsent, as the
// growth of the sent weight sets it (turbo/low_weight_cuts.h); none where every input bit is
// sent or the run is not in low-weight mode (limit 0).
std::optional<std::int32_t> derivedInputWeightLimit(const TurboCode& turbo, std::int32_t limit);

}  // namespace brevandor
