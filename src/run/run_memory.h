#pragma once

#include <cstdint>

#include "code/conv_code.h"
#include "progress/run_context.h"
#include "turbo/turbo_code.h"

namespace brevandor {

// The bytes one run holds at its peak, worked out from the configured turbo code before
// anything large is allocated.
struct RunMemoryPlan {
  std::uint64_t tables = 0;  // transfer matrices, CWEF tables and the two spectra
  std::uint64_t work = 0;    // the largest work storage of any one stage
  std::uint64_t peak() const { return tables + work; }
};

// Whether the run keeps one CWEF table for both parallel constituents (the fast engine reads
// only the first) instead of copying it into the second: only when the tables are equal.
bool sharesParallelTable(const TurboCode& turbo, Engine engine);

// The bytes of the run on the context's engine (and, for the fast engine, its threads).
RunMemoryPlan planRunMemory(const TurboCode& turbo, const RunContext& context);

// The bytes of a low-weight run to the weight limit `limit`: the constituents' cut tables, the
// largest cut CWEF's work, and spectra of limit + 1 entries.
RunMemoryPlan planLowWeightMemory(const TurboCode& turbo, std::int32_t limit);

}  // namespace brevandor
