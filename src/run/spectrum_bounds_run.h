#pragma once

#include <cstdint>
#include <string>

#include "bounds/ebn0_grid.h"
#include "bounds/spectrum_file.h"
#include "progress/run_context.h"
#include "run/calculation_run.h"

namespace brevandor {

// A calculation of the bounds alone, for a spectrum read from a file rather than computed.
struct SpectrumBoundsInputs {
  std::string spectrumPath;      // as given, for the results file's first section
  SpectrumFile spectrum;         // already read and checked
  std::int32_t codeLength = 0;   // n
  std::int32_t infoBits = 0;     // K
  std::int32_t boundSelection = 0;  // BoundMask bits: "BER Bounds" from B_d
  std::int32_t furtherBounds = 0;   // FurtherBound bits: "Further Bounds"
  EbN0Grid ebn0Grid;
  std::string resultsFileName;
};

// Writes the results file: a short section naming the spectrum file, n, K and the rate, then
// the "BER Bounds" section (when any of its bounds is selected) and the "Further Bounds"
// section (likewise), with the log lines of a calculation run. No exception leaves it.
RunResult runSpectrumBounds(const SpectrumBoundsInputs& inputs, const RunContext& context);

}  // namespace brevandor
