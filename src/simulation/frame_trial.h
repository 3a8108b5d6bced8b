#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "decoding/parallel_decoder.h"
#include "decoding/serial_decoder.h"
#include "decoding/turbo_frame.h"
#include "interleavers/permutation.h"
#include "interleavers/random_bits.h"
#include "simulation/simulation_settings.h"
#include "simulation/turbo_encoder.h"

namespace brevandor {

// What one simulated frame gave.
struct FrameOutcome {
  std::int32_t bitErrors = 0;
  bool frameError = false;
  std::int32_t iterations = 0;
};

// The seed of one frame: from the run's seed, the point's Eb/N0 and the frame's index alone,
// so that every frame is the same whichever thread, machine or window simulates it.
std::uint64_t frameSeed(std::uint64_t seed, double ebn0Db, std::int64_t frame);

// The bytes one thread's FrameTrial holds for this frame: the two SISO decoders' branch
// metrics, forward and backward state metrics, and the frame's buffers of channel values.
std::uint64_t frameTrialBytes(const TurboFrame& frame);

// One thread's encoder, decoder and buffers; simulates frames one at a time. The frame and
// the fixed permutation (none for the ensemble) must outlive it.
class FrameTrial {
 public:
  FrameTrial(const TurboFrame& frame, const SimulationSettings& settings,
             const Permutation* fixedPermutation);

  // Draws the frame's input bits (and, for the ensemble, its permutation) and noise from
  // `seed`, sends it at noise deviation σ and decodes it.
  FrameOutcome run(std::uint64_t seed, double deviation);

 private:
  FrameOutcome runUncoded(RandomBits& bits, double deviation);

  const TurboFrame& frame_;
  const SimulationSettings& settings_;
  const Permutation* fixed_;
  TurboEncoder encoder_;
  std::unique_ptr<ParallelDecoder> parallel_;
  std::unique_ptr<SerialDecoder> serial_;
  Permutation drawn_;
  std::vector<std::uint8_t> input_, decisions_;
  EncodedFrame encoded_;
  ReceivedFrame received_;
  std::vector<std::uint32_t> sentFirst_, sentSecond_;  // each constituent's sent-bit masks
};

}  // namespace brevandor
