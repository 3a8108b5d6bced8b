#pragma once

#include <cstdint>
#include <span>
#include <utility>

#include "enumerators/weight_enumerator.h"
#include "logmath/log_domain.h"
#include "logmath/table_precision.h"
#include "progress/run_context.h"
#include "turbo/spectrum_output.h"
#include "turbo/turbo_code.h"

namespace brevandor {

// The two implementations of each spectrum stage behind TurboCode::computeParallelSpectrum
// and TurboCode::computeSerialSpectrum. Each returns outputFrameLength, or a cancelled result.

// The precision of the constituents' weight tables, which the stages work in (a run gives
// every constituent the same; the first one's is taken).
TablePrecision tablePrecision(const TurboCode& turbo);

// Whether the parallel spectrum of this engine reads the first constituent's CWEF table for
// every constituent whose table equals it (same code, frame length and pattern), so that the
// run need not hold a copy of it for those.
bool parallelSpectrumReadsFirstTableOnly(Engine engine);

StageResult<std::int32_t> computeParallelSpectrumReference(TurboCode& turbo, SpectrumOutput spectra,
                                                           const RunContext& context);
// The fast parallel spectrum: the reference's additions in the reference's order, reading
// the first constituent's table for every constituent whose table equals it, leaving out
// terms too small to change a rounded cell, with vector kernels and all worker threads.
StageResult<std::int32_t> computeParallelSpectrumFast(TurboCode& turbo, SpectrumOutput spectra,
                                                      const RunContext& context);
// The bytes of work storage computeParallelSpectrumFast allocates for this turbo code.
std::uint64_t fastParallelSpectrumWorkBytes(const TurboCode& turbo, const RunContext& context);

StageResult<std::int32_t> computeSerialSpectrumReference(TurboCode& turbo, SpectrumOutput spectra,
                                                         const RunContext& context);
// The fast serial spectrum: the reference's additions in the reference's order, visiting only
// the cells that can hold counts, reading the outer table in place, on all worker threads.
StageResult<std::int32_t> computeSerialSpectrumFast(TurboCode& turbo, SpectrumOutput spectra,
                                                    const RunContext& context);
// The bytes of work storage computeSerialSpectrumFast allocates for this turbo code.
std::uint64_t fastSerialSpectrumWorkBytes(const TurboCode& turbo);

// What every engine does first: both spectra set to LogZero for d = 0 … maxWeight, and the
// all-zero codeword left out, cell (0, 0) cleared in every table there is (the change stays).
template <typename Cell>
void clearSpectraAndZeroWord(TurboCode& turbo, std::int32_t maxWeight, SpectrumOutput spectra) {
  for (std::int32_t d = 0; d <= maxWeight; ++d) {
    spectra.codeword[static_cast<std::size_t>(d)] = LogZero;
    spectra.weighted[static_cast<std::size_t>(d)] = LogZero;
  }
  for (std::int32_t c = 0; c < turbo.constituentCount; ++c) {
    WeightEnumerator* enumerator = turbo.enumerators[static_cast<std::size_t>(c)];
    if (enumerator != nullptr && resultTable<Cell>(*enumerator).exists()) {
      resultTable<Cell>(*enumerator).at(0, 0) = kLogZeroCell<Cell>;
    }
  }
}

// Calls `inDouble` or `inFloat` (a stage's two instantiations) with `arguments`, as the
// constituents' tables hold double or float cells.
template <typename Stage, typename... Arguments>
auto onTableCells(const TurboCode& turbo, Stage inFloat, Stage inDouble, Arguments&&... arguments) {
  return (tablePrecision(turbo) == TablePrecision::Double ? inDouble : inFloat)(
      std::forward<Arguments>(arguments)...);
}

// The steps of a serial stage's progress: the input weights of every constituent after the
// first.
inline std::int32_t serialProgressSteps(const TurboCode& turbo) {
  std::int32_t steps = 0;
  for (std::int32_t c = 1; c < turbo.constituentCount; ++c) {
    steps += turbo.frameLengths[static_cast<std::size_t>(c)];
  }
  return steps;
}

}  // namespace brevandor
