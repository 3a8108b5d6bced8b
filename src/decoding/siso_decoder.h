#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <vector>

#include "code/trellis.h"
#include "decoding/decoder_settings.h"
#include "decoding/siso_lanes.h"

namespace brevandor {

// The soft values of one constituent frame: log-likelihood ratios L = log P(0) / P(1)
// (positive favours 0, which BPSK sends as +1), 0 where nothing is known.
struct SisoInput {
  std::span<const double> channel;  // sections × n: output bit i of section t at t·n + i,
                                    // bit i as the trellis packs its output word
  std::span<const double> apriori;  // one per section: the section's input bit
};

// Where a SISO run writes: the a-posteriori LLRs of the input bits, and of the output bits
// when `code` is not empty (sections × n, laid out like SisoInput::channel).
struct SisoOutput {
  std::span<double> input;
  std::span<double> code;
};

// Whether a SISO run's channel values are those of the decoder's previous run (the same frame
// in a later iteration), so that the lane kernels reuse their part of the branch metrics.
enum class SisoChannel { New, AsBefore };

// A soft-in soft-out BCJR decoder in the log domain for a rate-1/n trellis that starts in
// state 0 and ends in state 0 (terminated; tail sections carry a-priori 0) or anywhere
// (open). Its workspace is reused from frame to frame; one decoder per thread. With the fast
// arithmetic, a trellis of at most 16 states and 2^(n+1) ≤ 16 branch labels runs in the lane
// kernels (siso_lanes.h, single precision); any other runs the exact passes.
class SisoDecoder {
 public:
  SisoDecoder(const Trellis& forward, SisoAlgorithm algorithm, TrellisEnd end,
              SisoArithmetic arithmetic = SisoArithmetic::Exact);

  // Whether this decoder runs the lane kernels.
  bool runsLanes() const { return lanes_ != nullptr; }
  // Runs these kernels (of the decoder's lane width) from now on instead of the processor's
  // best: how tests hold the vector kernels to the portable ones.
  void useLaneKernels(const LaneSisoKernels& kernels) { lanes_ = kernels.of(algorithm_); }
  // The lanes of the kernels this decoder runs (8 or 16), where it runs them.
  std::int32_t laneWidth() const { return laneTrellis_.lanes; }

  // Runs the passes over `sections` trellis sections and writes the a-posteriori values.
  // SisoChannel::AsBefore promises the same channel values and sections as the previous run.
  void decode(std::int32_t sections, const SisoInput& in, const SisoOutput& out,
              SisoChannel channel = SisoChannel::New);

 private:
  // A branch as the recursions read it: its other end and the label (input bit and output
  // word, `input << n | output`) that picks its metric among the section's 2^(n+1).
  struct Step {
    std::int32_t state = 0;
    std::int32_t label = 0;
  };
  struct Branch {
    std::int32_t from = 0;
    std::int32_t to = 0;
    std::int32_t label = 0;
  };

  template <SisoAlgorithm Algorithm>
  void run(std::int32_t sections, const SisoInput& in, const SisoOutput& out);
  void computeLabelMetrics(std::int32_t sections, const SisoInput& in);
  // The trellis as the lane kernels read it, and the kernels, where it fits them.
  void prepareLanes(std::int32_t stateCount);
  void runLanes(std::int32_t sections, const SisoInput& in, const SisoOutput& out,
                SisoChannel channel);
  // One section of either recursion: state s takes the combination, over its steps at
  // [start[s], start[s + 1]) (the branches entering it going forward, leaving it going
  // backward), of `from` at the step's other end plus the step's branch metric.
  template <SisoAlgorithm Algorithm>
  void recurse(const std::vector<Step>& steps, const std::vector<std::int32_t>& start,
               const double* from, const double* metric, double* to) const;
  template <SisoAlgorithm Algorithm>
  void computeAlpha(std::int32_t sections);
  // The backward recursion, with the a-posteriori values of each section worked out as soon
  // as the β of its end is known, so that only two rows of β are ever held.
  template <SisoAlgorithm Algorithm>
  void computeBetaAndApp(std::int32_t sections, const SisoOutput& out);
  template <SisoAlgorithm Algorithm>
  void writeApp(std::size_t t, const double* later, const SisoOutput& out);

  std::vector<Branch> branches_;  // every branch of one section, those of input 0 first
  std::array<std::size_t, 3> byInputStart_{};  // input b's branches at [start[b], start[b + 1])
  // The branches by the state they enter and by the state they leave: those of state s at
  // [start[s], start[s + 1]).
  std::vector<Step> entering_, leaving_;
  std::vector<std::int32_t> enteringStart_, leavingStart_;
  bool twoEach_ = false;  // exactly two branches enter and leave every state
  std::int32_t states_ = 0;
  std::int32_t outputBits_ = 0;  // n
  std::int32_t labels_ = 0;      // 2^(n+1)
  SisoAlgorithm algorithm_;
  TrellisEnd end_;
  std::vector<double> labelMetric_;  // sections × labels
  std::vector<double> alpha_;        // (sections + 1) × states
  std::vector<double> beta_;         // two rows of states
  // The lane kernels' trellis, kernel and workspace: label metrics padded to the lanes and
  // their channel part, α, β.
  LaneTrellis laneTrellis_;
  LaneSisoKernel lanes_ = nullptr;
  std::vector<float> laneMetric_, laneChannel_, laneAlpha_, laneBeta_;
  std::int32_t channelSections_ = -1;  // the sections of the channel part laneChannel_ holds
};

}  // namespace brevandor
