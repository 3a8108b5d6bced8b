#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace brevandor {

// The weighted spectrum as the bounds read it. `scaled` holds B[d] / 10^scale, as the
// distance-spectrum section prints it; `logTrue` holds ln of the true B[d] (−∞ for entries
// that are zero), so that terms of long frames can be worked in the log domain.
struct BoundSpectrum {
  std::int32_t maxWeight = 0;  // D, the last entry
  // n of the improved bound, the code's output frame length: D unless the spectrum stops
  // short of the heaviest codeword (low-weight mode).
  std::int32_t blockLength = 0;
  double scale = 0.0;  // e: the true values are the scaled ones times 10^e
  std::vector<double> scaled;
  std::vector<long double> logTrue;

  // With e = 0 the bounds are first evaluated literally in double precision.
  bool literal() const { return scale == 0.0; }
  // Whether the true B[d] is positive.
  bool positive(std::int32_t d) const;
  // ln B[d] / n of the improved bound: from the plain value when literal, else from the log.
  double logPerSymbol(std::int32_t d) const;
};

// The spectrum from values that scaleSpectrum divided by 10^scale. Entries that are zero or
// negative count as zero in the log domain.
BoundSpectrum boundSpectrumFromScaled(std::span<const double> scaled, std::int32_t maxWeight,
                                      double scale);

// The spectrum from log10 values (LogZero for zero). The scaled values and the scale are what
// scaleSpectrum makes of them; the log values keep entries that scaling would underflow.
BoundSpectrum boundSpectrumFromLog10(std::span<const double> log10Values, std::int32_t maxWeight);

}  // namespace brevandor
