#pragma once

#include <array>
#include <cstdint>
#include <string_view>

#include "decoding/decoder_settings.h"

namespace brevandor {

// The fast BCJR keeps one trellis state per lane of a vector register of floats: a section's
// forward step is two lane permutations, two additions and one combination, whatever the
// number of states up to the register's width. Each instruction set runs the same sequence of
// single-precision operations in the same order (no fused multiply-add), so a frame decodes to
// the same bits on every processor and the simulation's counts do not depend on which kernel
// the processor picked.

// The most lanes a kernel has: sixteen floats, one AVX-512 register.
inline constexpr std::int32_t kMostSisoLanes = 16;

// Per lane (state), an index of another lane or a branch label; lanes past the trellis's
// states point to themselves.
using LaneIndices = std::array<std::int32_t, kMostSisoLanes>;

// A rate-1/n trellis of two branches into and out of every state, as the lane kernels read
// it: lane s is state s, lanes from `states` on hold no state.
struct LaneTrellis {
  std::int32_t lanes = 8;  // 8 or 16
  std::int32_t states = 0;
  std::int32_t outputBits = 0;                 // n
  std::array<LaneIndices, 2> enteringFrom{};   // state s's entering branch j leaves this state
  std::array<LaneIndices, 2> enteringLabel{};  // … with this label
  std::array<LaneIndices, 2> next{};           // input b leads state s there
  std::array<LaneIndices, 2> leavingLabel{};   // … with this label (b << n | output)
};

// One run of a lane kernel over the channel values (sections × n) and a-priori values (one per
// section) of SisoInput. `labelMetric` and `channelMetric` are room for sections × lanes floats
// each (the label metrics, padded, and their channel part), `alpha` and `beta` for
// (sections + 1) × lanes each. Writes the a-posteriori LLRs of the input bits, and of the output
// bits when `codeApp` is not null (sections × n). With `channelKnown`, `channelMetric` already
// holds the channel part of these channel values (an earlier run of the same frame wrote it), and
// `channel` is not read.
struct LaneJob {
  std::int32_t sections = 0;
  bool terminated = true;
  bool channelKnown = false;
  const double* channel = nullptr;
  const double* apriori = nullptr;
  float* channelMetric = nullptr;
  float* labelMetric = nullptr;
  float* alpha = nullptr;
  float* beta = nullptr;
  double* inputApp = nullptr;
  double* codeApp = nullptr;
};

// One kernel: the whole forward-backward pass of one frame.
using LaneSisoKernel = void (*)(const LaneTrellis&, const LaneJob&);

// The kernels of one instruction set and register width, for each algorithm.
struct LaneSisoKernels {
  std::string_view name;  // "avx2", "avx512" or "portable"
  std::int32_t lanes = 8;
  LaneSisoKernel maxLogMap = nullptr;
  LaneSisoKernel logMap = nullptr;

  LaneSisoKernel of(SisoAlgorithm algorithm) const {
    return algorithm == SisoAlgorithm::LogMap ? logMap : maxLogMap;
  }
};

// The kernels of `lanes` lanes (8 or 16) that this processor runs best, chosen once.
const LaneSisoKernels& laneSisoKernels(std::int32_t lanes);

// The portable kernels of `lanes` lanes (plain loops), which every processor runs: what the
// vector kernels are held to bit for bit.
const LaneSisoKernels& portableLaneSisoKernels(std::int32_t lanes);

// The vector kernels of `lanes` lanes where this build has them and this processor runs them,
// else null.
const LaneSisoKernels* vectorLaneSisoKernels(std::int32_t lanes);

}  // namespace brevandor
