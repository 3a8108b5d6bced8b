#pragma once

#include <cstdint>

#include "progress/run_context.h"
#include "turbo/spectrum_output.h"
#include "turbo/turbo_code.h"

namespace brevandor {

// The low-weight part of the average distance spectrum over the uniform interleaver: both
// spectra for d = 0 … maxWeight only (maxWeight at most outputFrameLength), with the additions
// of the full spectrum stages in their order, so every entry is what the full stage gives for it.
//
// The constituents hold the cut tables of computeLowWeightCwef for `maxWeight`; the outer
// repetition code of the serial type needs none, its counts C(N, w) at weight r · w being
// known. Cell (0, 0) of every table is cleared: the all-zero word is left out. Progress and
// the cancel request go by input weight. The last weight, maxWeight; cancelled; or failed
// (nothing touched) when a table is missing or a spectrum has fewer than maxWeight + 1 entries.
StageResult<std::int32_t> computeLowWeightParallelSpectrum(TurboCode& turbo, std::int32_t maxWeight,
                                                           SpectrumOutput spectra,
                                                           const RunContext& context);
StageResult<std::int32_t> computeLowWeightSerialSpectrum(TurboCode& turbo, std::int32_t maxWeight,
                                                         SpectrumOutput spectra,
                                                         const RunContext& context);

}  // namespace brevandor
