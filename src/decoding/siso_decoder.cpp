#include "decoding/siso_decoder.h"

#include <algorithm>

#include "decoding/jacobian_log.h"

namespace brevandor {

namespace {

// The branches grouped by one of their ends: `end(branch)` names the group, `other(branch)`
// the state the step reaches. Fills `steps` and the groups' starts.
template <typename Branch, typename End, typename Other>
void groupSteps(const std::vector<Branch>& branches, std::int32_t states, End end, Other other,
                auto& steps, std::vector<std::int32_t>& start) {
  start.assign(static_cast<std::size_t>(states) + 1, 0);
  for (const Branch& branch : branches) {
    ++start[static_cast<std::size_t>(end(branch)) + 1];
  }
  for (std::size_t s = 0; s < static_cast<std::size_t>(states); ++s) {
    start[s + 1] += start[s];
  }
  steps.resize(branches.size());
  std::vector<std::int32_t> filled(start.begin(), start.end() - 1);
  for (const Branch& branch : branches) {
    auto& slot = filled[static_cast<std::size_t>(end(branch))];
    steps[static_cast<std::size_t>(slot++)] = {other(branch), branch.label};
  }
}

}  // namespace

SisoDecoder::SisoDecoder(const Trellis& forward, SisoAlgorithm algorithm, TrellisEnd end,
                         SisoArithmetic arithmetic)
    : states_(forward.stateCount),
      outputBits_(forward.n),
      labels_(2 << forward.n),
      algorithm_(algorithm),
      end_(end) {
  for (std::int32_t from = 0; from < forward.stateCount; ++from) {
    for (const TrellisBranch& branch : forward.row(from)) {
      branches_.push_back(Branch{from, branch.state, (branch.input << forward.n) | branch.output});
    }
  }
  // The branches of input bit 0 first, those of input bit 1 after them.
  std::stable_sort(branches_.begin(), branches_.end(), [&](const Branch& a, const Branch& b) {
    return (a.label >> outputBits_) < (b.label >> outputBits_);
  });
  const auto ones = std::find_if(branches_.begin(), branches_.end(),
                                 [&](const Branch& b) { return (b.label >> outputBits_) != 0; });
  byInputStart_ = {0, static_cast<std::size_t>(ones - branches_.begin()), branches_.size()};
  groupSteps(
      branches_, states_, [](const Branch& b) { return b.to; },
      [](const Branch& b) { return b.from; }, entering_, enteringStart_);
  groupSteps(
      branches_, states_, [](const Branch& b) { return b.from; },
      [](const Branch& b) { return b.to; }, leaving_, leavingStart_);
  twoEach_ = true;
  for (std::size_t s = 0; s < static_cast<std::size_t>(states_); ++s) {
    twoEach_ = twoEach_ && enteringStart_[s + 1] - enteringStart_[s] == 2 &&
               leavingStart_[s + 1] - leavingStart_[s] == 2;
  }
  if (arithmetic == SisoArithmetic::Fast) {
    prepareLanes(forward.stateCount);
  }
}

void SisoDecoder::prepareLanes(std::int32_t stateCount) {
  if (!twoEach_ || stateCount > kMostSisoLanes || labels_ > kMostSisoLanes) {
    return;
  }
  LaneTrellis& trellis = laneTrellis_;
  trellis.lanes = stateCount <= 8 && labels_ <= 8 ? 8 : kMostSisoLanes;
  trellis.states = stateCount;
  trellis.outputBits = outputBits_;
  for (std::size_t j = 0; j < 2; ++j) {
    for (std::size_t s = 0; s < static_cast<std::size_t>(trellis.lanes); ++s) {
      const auto self = static_cast<std::int32_t>(s);
      if (s >= static_cast<std::size_t>(stateCount)) {
        // A lane past the last state stays on itself; it has no branches to read.
        trellis.enteringFrom[j][s] = self;
        trellis.enteringLabel[j][s] = 0;
        trellis.next[j][s] = self;
        trellis.leavingLabel[j][s] = static_cast<std::int32_t>(j) << outputBits_;
        continue;
      }
      const Step& entering = entering_[2 * s + j];
      trellis.enteringFrom[j][s] = entering.state;
      trellis.enteringLabel[j][s] = entering.label;
      // The branches leaving a state, by input bit.
      const Step& leaving =
          leaving_[2 * s + ((leaving_[2 * s].label >> outputBits_) == 0 ? j : 1 - j)];
      trellis.next[j][s] = leaving.state;
      trellis.leavingLabel[j][s] = leaving.label;
    }
  }
  lanes_ = laneSisoKernels(trellis.lanes).of(algorithm_);
}

void SisoDecoder::runLanes(std::int32_t sections, const SisoInput& in, const SisoOutput& out,
                           SisoChannel channel) {
  const auto width = static_cast<std::size_t>(laneTrellis_.lanes);
  const auto count = static_cast<std::size_t>(sections);
  laneMetric_.resize(count * width);
  laneChannel_.resize(count * width);
  laneAlpha_.resize((count + 1) * width);
  laneBeta_.resize((count + 1) * width);
  const bool channelKnown = channel == SisoChannel::AsBefore && channelSections_ == sections;
  channelSections_ = sections;
  lanes_(laneTrellis_,
         LaneJob{sections, end_ == TrellisEnd::Terminated, channelKnown, in.channel.data(),
                 in.apriori.data(), laneChannel_.data(), laneMetric_.data(), laneAlpha_.data(),
                 laneBeta_.data(), out.input.data(), out.code.empty() ? nullptr : out.code.data()});
}

void SisoDecoder::decode(std::int32_t sections, const SisoInput& in, const SisoOutput& out,
                         SisoChannel channel) {
  if (lanes_ != nullptr) {
    runLanes(sections, in, out, channel);
  } else if (algorithm_ == SisoAlgorithm::LogMap) {
    run<SisoAlgorithm::LogMap>(sections, in, out);
  } else {
    run<SisoAlgorithm::MaxLogMap>(sections, in, out);
  }
}

template <SisoAlgorithm Algorithm>
void SisoDecoder::run(std::int32_t sections, const SisoInput& in, const SisoOutput& out) {
  computeLabelMetrics(sections, in);
  computeAlpha<Algorithm>(sections);
  computeBetaAndApp<Algorithm>(sections, out);
}

void SisoDecoder::computeLabelMetrics(std::int32_t sections, const SisoInput& in) {
  // A branch's metric is half the sum of ±L over its bits (+ for a 0 bit): the log of its
  // likelihood up to a factor common to all branches of the section, which cancels in every
  // ratio the decoder forms. It depends on the branch's label alone, so each section holds
  // the 2^(n+1) label metrics rather than one per branch.
  const auto n = static_cast<std::size_t>(outputBits_);
  const std::size_t words = std::size_t{1} << n;
  const auto labels = static_cast<std::size_t>(labels_);
  labelMetric_.resize(static_cast<std::size_t>(sections) * labels);
  for (std::size_t t = 0; t < static_cast<std::size_t>(sections); ++t) {
    const double* channel = in.channel.data() + t * n;
    const double apriori = 0.5 * in.apriori[t];
    double* metric = labelMetric_.data() + t * labels;
    for (std::size_t word = 0; word < words; ++word) {
      double sum = 0.0;
      for (std::size_t i = 0; i < n; ++i) {
        sum += ((word >> i) & 1u) != 0 ? -channel[i] : channel[i];
      }
      metric[word] = 0.5 * sum + apriori;
      metric[words + word] = 0.5 * sum - apriori;
    }
  }
}

namespace {

// The recursions normalise their metrics once every so many sections: between two
// normalisations a metric moves by at most the sections' summed |LLR|, far inside a double's
// range, and its rounding relative to the others stays far below 1e-9.
constexpr std::size_t kNormaliseEvery = 8;

// Subtracts state 0's metric from every entry (the largest one's where state 0 has no path):
// the metrics of a step only matter relative to each other, and this keeps them near zero
// over long frames. State 0 lies on the all-zero path, so it almost always has one.
inline void normalise(double* metrics, std::size_t count) {
  double reference = metrics[0];
  if (reference == kNoPath) {
    reference = *std::max_element(metrics, metrics + count);
    if (reference == kNoPath) {
      return;
    }
  }
  for (std::size_t s = 0; s < count; ++s) {
    metrics[s] -= reference;
  }
}

}  // namespace

template <SisoAlgorithm Algorithm>
void SisoDecoder::recurse(const std::vector<Step>& steps, const std::vector<std::int32_t>& start,
                          const double* from, const double* metric, double* to) const {
  const auto states = static_cast<std::size_t>(states_);
  if (twoEach_) {  // a rate-1/n trellis: exactly two branches enter and leave every state
    for (std::size_t s = 0; s < states; ++s) {
      const Step& first = steps[2 * s];
      const Step& second = steps[2 * s + 1];
      to[s] = combine<Algorithm>(from[first.state] + metric[first.label],
                                 from[second.state] + metric[second.label]);
    }
    return;
  }
  for (std::size_t s = 0; s < states; ++s) {
    double best = kNoPath;
    for (auto j = start[s]; j < start[s + 1]; ++j) {
      const Step& step = steps[static_cast<std::size_t>(j)];
      best = combine<Algorithm>(best, from[step.state] + metric[step.label]);
    }
    to[s] = best;
  }
}

template <SisoAlgorithm Algorithm>
void SisoDecoder::computeAlpha(std::int32_t sections) {
  const auto states = static_cast<std::size_t>(states_);
  const auto labels = static_cast<std::size_t>(labels_);
  alpha_.resize((static_cast<std::size_t>(sections) + 1) * states);
  std::fill(alpha_.begin(), alpha_.begin() + static_cast<std::ptrdiff_t>(states), kNoPath);
  alpha_[0] = 0.0;  // every frame starts in state 0
  for (std::size_t t = 0; t < static_cast<std::size_t>(sections); ++t) {
    const double* now = alpha_.data() + t * states;
    double* next = alpha_.data() + (t + 1) * states;
    const double* metric = labelMetric_.data() + t * labels;
    recurse<Algorithm>(entering_, enteringStart_, now, metric, next);
    if (t % kNormaliseEvery == 0) {
      normalise(next, states);
    }
  }
}

template <SisoAlgorithm Algorithm>
void SisoDecoder::computeBetaAndApp(std::int32_t sections, const SisoOutput& out) {
  const auto states = static_cast<std::size_t>(states_);
  const auto labels = static_cast<std::size_t>(labels_);
  beta_.resize(2 * states);
  double* later = beta_.data();
  double* now = beta_.data() + states;
  if (end_ == TrellisEnd::Terminated) {
    std::fill(later, later + states, kNoPath);
    later[0] = 0.0;
  } else {
    std::fill(later, later + states, 0.0);
  }
  for (std::size_t t = static_cast<std::size_t>(sections); t-- > 0;) {
    writeApp<Algorithm>(t, later, out);
    const double* metric = labelMetric_.data() + t * labels;
    recurse<Algorithm>(leaving_, leavingStart_, later, metric, now);
    if (t % kNormaliseEvery == 0) {
      normalise(now, states);
    }
    std::swap(now, later);
  }
}

template <SisoAlgorithm Algorithm>
void SisoDecoder::writeApp(std::size_t t, const double* later, const SisoOutput& out) {
  // α_t(from) + γ_t(branch) + β_{t+1}(to): the metric of every path through the branch,
  // combined over the branches of each input bit (the branches of input 0 come first, so
  // each side is one plain loop) and, where asked, of each output bit.
  const auto states = static_cast<std::size_t>(states_);
  const double* alpha = alpha_.data() + t * states;
  const double* metric = labelMetric_.data() + t * static_cast<std::size_t>(labels_);
  const auto path = [&](const Branch& branch) {
    return alpha[branch.from] + metric[branch.label] + later[branch.to];
  };
  double side[2] = {kNoPath, kNoPath};
  for (std::size_t input = 0; input < 2; ++input) {
    for (std::size_t b = byInputStart_[input]; b < byInputStart_[input + 1]; ++b) {
      side[input] = combine<Algorithm>(side[input], path(branches_[b]));
    }
  }
  out.input[t] = side[0] - side[1];
  if (out.code.empty()) {
    return;
  }
  const auto n = static_cast<std::size_t>(outputBits_);
  constexpr std::size_t kMostOutputBits = 32;
  double codeSide[2][kMostOutputBits];
  std::fill(codeSide[0], codeSide[0] + n, kNoPath);
  std::fill(codeSide[1], codeSide[1] + n, kNoPath);
  for (const Branch& branch : branches_) {
    const double through = path(branch);
    for (std::size_t i = 0; i < n; ++i) {
      double& bit = codeSide[(branch.label >> i) & 1][i];
      bit = combine<Algorithm>(bit, through);
    }
  }
  for (std::size_t i = 0; i < n; ++i) {
    out.code[t * n + i] = codeSide[0][i] - codeSide[1][i];
  }
}

}  // namespace brevandor
