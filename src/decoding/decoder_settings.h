#pragma once

#include <algorithm>
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

namespace brevandor {

// How a soft-in soft-out decoder combines path metrics.
enum class SisoAlgorithm {
  LogMap,     // the exact Jacobian logarithm: a-posteriori values of the whole trellis
  MaxLogMap,  // the largest term only: the best path's values
};

// The name the user writes for an algorithm: "log-map" or "max-log-map".
constexpr std::string_view sisoAlgorithmName(SisoAlgorithm algorithm) {
  return algorithm == SisoAlgorithm::LogMap ? "log-map" : "max-log-map";
}

// The arithmetic of a soft-in soft-out decoder.
enum class SisoArithmetic {
  Exact,  // doubles, one state at a time: the a-posteriori values to about 1e-12
  Fast,   // floats, the states in the lanes of a vector register (where the trellis fits)
};

// How a trellis ends: in state zero after its tail, or in any state.
enum class TrellisEnd { Terminated, Open };

// The settings of an iterative decoder.
struct DecoderSettings {
  static constexpr std::int32_t kMaxIterations = 100;

  SisoAlgorithm algorithm = SisoAlgorithm::MaxLogMap;
  // Factor on the extrinsic values a max-log-MAP decoder passes on, which the largest-term
  // approximation makes too confident; log-MAP passes them unscaled.
  double extrinsicScale = 0.7;
  std::int32_t iterations = 8;  // 1 … kMaxIterations
  // Stop once an iteration leaves every hard decision as the one before left it.
  bool earlyStop = false;
  // The SISO decoders' arithmetic; the simulation's reference engine asks for the exact one.
  SisoArithmetic arithmetic = SisoArithmetic::Fast;

  // The factor applied to extrinsic values under these settings.
  double appliedScale() const {
    return algorithm == SisoAlgorithm::MaxLogMap ? extrinsicScale : 1.0;
  }
};

// Whether an iterative decoder stops after `iteration` (counted from 1): with early stopping,
// from the second iteration on, once the hard decisions equal the previous iteration's.
// Otherwise keeps these decisions in `previous` for the next comparison.
inline bool decisionsSettled(const DecoderSettings& settings, std::int32_t iteration,
                             std::span<const std::uint8_t> decisions,
                             std::vector<std::uint8_t>& previous) {
  if (settings.earlyStop && iteration > 1 &&
      std::equal(decisions.begin(), decisions.end(), previous.begin())) {
    return true;
  }
  std::copy(decisions.begin(), decisions.end(), previous.begin());
  return false;
}

}  // namespace brevandor
