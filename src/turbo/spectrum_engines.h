#pragma once

#include <cstdint>
#include <span>

#include "progress/run_context.h"
#include "turbo/turbo_code.h"

namespace brevandor {

// The two implementations of each spectrum stage behind TurboCode::computeParallelSpectrum
// and TurboCode::computeSerialSpectrum. Each returns outputFrameLength, or −1 when cancelled.

// Whether the parallel spectrum of this engine reads only the first constituent's CWEF table
// (all parallel constituents share code and frame length), so that the run need not hold a
// copy of it for the others.
bool parallelSpectrumReadsFirstTableOnly(Engine engine);

std::int32_t computeParallelSpectrumReference(TurboCode& turbo, std::span<double> codewordSpectrum,
                                              std::span<double> weightedSpectrum,
                                              const RunContext& context);
std::int32_t computeParallelSpectrumFast(TurboCode& turbo, std::span<double> codewordSpectrum,
                                         std::span<double> weightedSpectrum,
                                         const RunContext& context);

std::int32_t computeSerialSpectrumReference(TurboCode& turbo, std::span<double> codewordSpectrum,
                                            std::span<double> weightedSpectrum,
                                            const RunContext& context);
std::int32_t computeSerialSpectrumFast(TurboCode& turbo, std::span<double> codewordSpectrum,
                                       std::span<double> weightedSpectrum,
                                       const RunContext& context);

}  // namespace brevandor
