#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "code/trellis.h"
#include "decoding/decoder_settings.h"

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

// A soft-in soft-out BCJR decoder in the log domain for a rate-1/n trellis that starts in
// state 0 and ends in state 0 (terminated; tail sections carry a-priori 0) or anywhere
// (open). Its workspace is reused from frame to frame; one decoder per thread.
class SisoDecoder {
 public:
  SisoDecoder(const Trellis& forward, SisoAlgorithm algorithm, TrellisEnd end);

  // Runs the three passes over `sections` trellis sections and writes the a-posteriori
  // values.
  void decode(std::int32_t sections, const SisoInput& in, const SisoOutput& out);

 private:
  struct Branch {
    std::int32_t from = 0;
    std::int32_t to = 0;
    std::int32_t input = 0;
    std::int32_t output = 0;
  };

  template <SisoAlgorithm Algorithm>
  void run(std::int32_t sections, const SisoInput& in, const SisoOutput& out);
  void computeGamma(std::int32_t sections, const SisoInput& in);
  template <SisoAlgorithm Algorithm>
  void computeAlpha(std::int32_t sections);
  template <SisoAlgorithm Algorithm>
  void computeBeta(std::int32_t sections);
  template <SisoAlgorithm Algorithm>
  void computeInputApp(std::int32_t sections, std::span<double> app) const;
  template <SisoAlgorithm Algorithm>
  void computeCodeApp(std::int32_t sections, std::span<double> app) const;
  // α_t(from) + γ_t(branch) + β_{t+1}(to): the metric of every path through the branch.
  double pathMetric(std::int32_t t, std::size_t b) const;

  std::vector<Branch> branches_;  // every branch of one section, grouped by origin state
  std::int32_t states_ = 0;
  std::int32_t outputBits_ = 0;  // n
  SisoAlgorithm algorithm_;
  TrellisEnd end_;
  std::vector<double> gamma_;       // sections × branches
  std::vector<double> alpha_;       // (sections + 1) × states
  std::vector<double> beta_;        // (sections + 1) × states
  std::vector<double> wordMetric_;  // 2^n output-word metrics of one section
};

}  // namespace brevandor
