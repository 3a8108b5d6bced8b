#pragma once

#include <cstdint>

#include "decoding/decoder_settings.h"
#include "interleavers/interleaver_spec.h"

namespace brevandor {

// When a point of the sweep stops.
struct SimulationLimits {
  std::int64_t minFrameErrors = 100;  // stop once this many frames were decoded wrongly
  std::int64_t maxFrames = 1000000;   // … or this many frames were sent
  double maxSeconds = 0.0;            // … or this much wall time passed (0: no limit)
  // A window of frame indices [framesFrom, framesTo) for splitting one point over many
  // machines: every frame of the window is simulated, and no point stops the sweep, so the
  // counts of windows add up to those of their union. framesTo < 0: no window.
  std::int64_t framesFrom = 0;
  std::int64_t framesTo = -1;

  bool hasWindow() const { return framesTo >= 0; }
};

// Everything a simulation needs besides the code and the Eb/N0 grid.
struct SimulationSettings {
  DecoderSettings decoder;
  InterleaverSpec interleaver;  // default: a new random permutation per frame
  std::uint64_t seed = 1;
  SimulationLimits limits;
  // Test switch: send the input bits uncoded (rate 1) and decide each by its sign, whose
  // error rate is Q(√(2·Eb/N0)).
  bool uncoded = false;
};

}  // namespace brevandor
