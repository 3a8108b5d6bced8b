#include "decoding/siso_decoder.h"

#include <algorithm>

#include "decoding/jacobian_log.h"

namespace brevandor {

SisoDecoder::SisoDecoder(const Trellis& forward, SisoAlgorithm algorithm, TrellisEnd end)
    : states_(forward.stateCount), outputBits_(forward.n), algorithm_(algorithm), end_(end) {
  for (std::int32_t from = 0; from < forward.stateCount; ++from) {
    for (const TrellisBranch& branch : forward.row(from)) {
      branches_.push_back(Branch{from, branch.state, branch.input, branch.output});
    }
  }
  wordMetric_.resize(std::size_t{1} << outputBits_);
}

void SisoDecoder::decode(std::int32_t sections, const SisoInput& in, const SisoOutput& out) {
  if (algorithm_ == SisoAlgorithm::LogMap) {
    run<SisoAlgorithm::LogMap>(sections, in, out);
  } else {
    run<SisoAlgorithm::MaxLogMap>(sections, in, out);
  }
}

template <SisoAlgorithm Algorithm>
void SisoDecoder::run(std::int32_t sections, const SisoInput& in, const SisoOutput& out) {
  computeGamma(sections, in);
  computeAlpha<Algorithm>(sections);
  computeBeta<Algorithm>(sections);
  computeInputApp<Algorithm>(sections, out.input);
  if (!out.code.empty()) {
    computeCodeApp<Algorithm>(sections, out.code);
  }
}

void SisoDecoder::computeGamma(std::int32_t sections, const SisoInput& in) {
  // A branch's metric is half the sum of ±L over its bits (+ for a 0 bit): the log of its
  // likelihood up to a factor common to all branches of the section, which cancels in every
  // ratio the decoder forms.
  const std::size_t n = static_cast<std::size_t>(outputBits_);
  gamma_.resize(static_cast<std::size_t>(sections) * branches_.size());
  for (std::size_t t = 0; t < static_cast<std::size_t>(sections); ++t) {
    const double* channel = in.channel.data() + t * n;
    for (std::size_t word = 0; word < wordMetric_.size(); ++word) {
      double metric = 0.0;
      for (std::size_t i = 0; i < n; ++i) {
        metric += ((word >> i) & 1u) != 0 ? -channel[i] : channel[i];
      }
      wordMetric_[word] = 0.5 * metric;
    }
    const double apriori = 0.5 * in.apriori[t];
    double* gamma = gamma_.data() + t * branches_.size();
    for (std::size_t b = 0; b < branches_.size(); ++b) {
      const Branch& branch = branches_[b];
      gamma[b] = wordMetric_[static_cast<std::size_t>(branch.output)] +
                 (branch.input != 0 ? -apriori : apriori);
    }
  }
}

namespace {

// Subtracts the largest value from every entry: the metrics of a step only matter relative
// to each other, and this keeps them near zero over long frames.
void normalise(double* metrics, std::size_t count) {
  const double largest = *std::max_element(metrics, metrics + count);
  if (largest == kNoPath) {
    return;
  }
  for (std::size_t s = 0; s < count; ++s) {
    metrics[s] -= largest;
  }
}

}  // namespace

template <SisoAlgorithm Algorithm>
void SisoDecoder::computeAlpha(std::int32_t sections) {
  const auto states = static_cast<std::size_t>(states_);
  alpha_.assign((static_cast<std::size_t>(sections) + 1) * states, kNoPath);
  alpha_[0] = 0.0;  // every frame starts in state 0
  for (std::size_t t = 0; t < static_cast<std::size_t>(sections); ++t) {
    const double* now = alpha_.data() + t * states;
    double* next = alpha_.data() + (t + 1) * states;
    const double* gamma = gamma_.data() + t * branches_.size();
    for (std::size_t b = 0; b < branches_.size(); ++b) {
      const Branch& branch = branches_[b];
      double& target = next[branch.to];
      target = combine<Algorithm>(target, now[branch.from] + gamma[b]);
    }
    normalise(next, states);
  }
}

template <SisoAlgorithm Algorithm>
void SisoDecoder::computeBeta(std::int32_t sections) {
  const auto states = static_cast<std::size_t>(states_);
  beta_.assign((static_cast<std::size_t>(sections) + 1) * states, kNoPath);
  double* last = beta_.data() + static_cast<std::size_t>(sections) * states;
  if (end_ == TrellisEnd::Terminated) {
    last[0] = 0.0;
  } else {
    std::fill(last, last + states, 0.0);
  }
  for (std::size_t t = static_cast<std::size_t>(sections); t-- > 0;) {
    const double* later = beta_.data() + (t + 1) * states;
    double* now = beta_.data() + t * states;
    const double* gamma = gamma_.data() + t * branches_.size();
    for (std::size_t b = 0; b < branches_.size(); ++b) {
      const Branch& branch = branches_[b];
      double& target = now[branch.from];
      target = combine<Algorithm>(target, gamma[b] + later[branch.to]);
    }
    normalise(now, states);
  }
}

double SisoDecoder::pathMetric(std::int32_t t, std::size_t b) const {
  const auto states = static_cast<std::size_t>(states_);
  const auto section = static_cast<std::size_t>(t);
  const Branch& branch = branches_[b];
  return alpha_[section * states + static_cast<std::size_t>(branch.from)] +
         gamma_[section * branches_.size() + b] +
         beta_[(section + 1) * states + static_cast<std::size_t>(branch.to)];
}

template <SisoAlgorithm Algorithm>
void SisoDecoder::computeInputApp(std::int32_t sections, std::span<double> app) const {
  for (std::int32_t t = 0; t < sections; ++t) {
    double zero = kNoPath;
    double one = kNoPath;
    for (std::size_t b = 0; b < branches_.size(); ++b) {
      double& side = branches_[b].input != 0 ? one : zero;
      side = combine<Algorithm>(side, pathMetric(t, b));
    }
    app[static_cast<std::size_t>(t)] = zero - one;
  }
}

template <SisoAlgorithm Algorithm>
void SisoDecoder::computeCodeApp(std::int32_t sections, std::span<double> app) const {
  const auto n = static_cast<std::size_t>(outputBits_);
  std::vector<double> zero(n);
  std::vector<double> one(n);
  for (std::int32_t t = 0; t < sections; ++t) {
    std::fill(zero.begin(), zero.end(), kNoPath);
    std::fill(one.begin(), one.end(), kNoPath);
    for (std::size_t b = 0; b < branches_.size(); ++b) {
      const double metric = pathMetric(t, b);
      for (std::size_t i = 0; i < n; ++i) {
        double& side = ((branches_[b].output >> i) & 1) != 0 ? one[i] : zero[i];
        side = combine<Algorithm>(side, metric);
      }
    }
    for (std::size_t i = 0; i < n; ++i) {
      app[static_cast<std::size_t>(t) * n + i] = zero[i] - one[i];
    }
  }
}

}  // namespace brevandor
