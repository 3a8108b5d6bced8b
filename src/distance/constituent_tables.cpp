#include "distance/constituent_tables.h"

#include <algorithm>
#include <bit>

namespace brevandor {

namespace {

// Exact stretches are kept for lengths up to this many cells of S² entries in all.
constexpr std::int64_t kStretchCells = std::int64_t{1} << 18;
constexpr std::int32_t kShortestStretchLimit = 16;

std::int32_t stretchLimitFor(std::int32_t states, std::int32_t sections) {
  const std::int64_t byCells = kStretchCells / (std::int64_t{states} * states);
  return static_cast<std::int32_t>(
      std::min<std::int64_t>(sections, std::max<std::int64_t>(kShortestStretchLimit, byCells)));
}

std::int32_t addWeights(std::int32_t a, std::int32_t b) {
  return std::min(a + b, kUnreachableWeight);
}

}  // namespace

ConstituentTables::ConstituentTables(const WeightedConstituent& constituent,
                                     std::int32_t freeInputCost)
    : states_(constituent.code->stateCount),
      sections_(constituent.frameLength),
      outputBits_(constituent.code->n),
      freeInputCost_(freeInputCost) {
  buildBranches(constituent);
  buildTail(constituent);
  buildPathTables();
  buildZeroJumps();
  buildStretches();
}

std::uint64_t ConstituentTables::bytesFor(std::int32_t states, std::int32_t sections,
                                          std::int32_t period) {
  const auto s = static_cast<std::uint64_t>(states);
  const auto rows = static_cast<std::uint64_t>(sections) + 1;
  const auto limit = static_cast<std::uint64_t>(stretchLimitFor(states, sections)) + 1;
  const auto levels = static_cast<std::uint64_t>(std::bit_width(rows)) + 1;
  const std::uint64_t cells = 3 * rows * s + rows + levels * s + (limit + 1) * s * s +
                              static_cast<std::uint64_t>(period) * 2 * s + 6 * s;
  return cells * sizeof(std::int32_t);
}

std::uint32_t ConstituentTables::sentBits(std::int32_t section) const {
  return masks_[static_cast<std::size_t>(section % period_)];
}

void ConstituentTables::buildBranches(const WeightedConstituent& constituent) {
  const ConvCode& code = *constituent.code;
  const auto allBits = static_cast<std::uint32_t>((1u << code.n) - 1u);
  period_ = constituent.puncturing.period();
  for (std::int32_t phase = 0; phase < period_; ++phase) {
    masks_.push_back(constituent.puncturing.sentBits(phase, allBits));
  }
  next_.assign(static_cast<std::size_t>(states_) * 2, 0);
  output_.assign(next_.size(), 0);
  for (std::int32_t s = 0; s < states_; ++s) {
    for (const TrellisBranch& branch : code.forwardTrellis.row(s)) {
      next_[index(s, branch.input)] = branch.state;
      output_[index(s, branch.input)] = branch.output;
    }
  }
  // A branch counts the output bits its section sends; without the input bits, the sent
  // systematic bit (which the masks keep then) is taken off again.
  weights_.assign(static_cast<std::size_t>(period_) * next_.size(), 0);
  for (std::int32_t phase = 0; phase < period_; ++phase) {
    for (std::int32_t s = 0; s < states_; ++s) {
      for (std::int32_t u = 0; u < 2; ++u) {
        const std::uint32_t sent = static_cast<std::uint32_t>(output(s, u)) & masks_[ustate(phase)];
        weights_[static_cast<std::size_t>(phase) * next_.size() + index(s, u)] =
            std::popcount(sent) - (constituent.countsInputBits ? 0 : u);
      }
    }
  }
}

void ConstituentTables::buildTail(const WeightedConstituent& constituent) {
  tailInputs_.assign(ustate(states_), 0);
  tailWeights_.assign(ustate(states_), 0);
  tailSent_.clear();
  if (!constituent.ending.terminated) {
    return;  // an open frame ends wherever its input leaves it, sending nothing more
  }
  // The code was checked to have a tail from every state (givenCodeProblem).
  const ConvCode& code = *constituent.code;
  code.computeTailInputs(tailInputs_);
  for (std::int32_t i = 0; i < code.tailLength(); ++i) {
    tailSent_.push_back(brevandor::tailSentBits(constituent, i));
  }
  for (std::int32_t s = 0; s < states_; ++s) {
    std::int32_t state = s;
    for (std::int32_t i = 0; i < code.tailLength(); ++i) {
      const std::int32_t u = (tailInputs_[ustate(s)] >> i) & 1;
      tailWeights_[ustate(s)] += std::popcount(static_cast<std::uint32_t>(output(state, u)) &
                                               tailSent_[static_cast<std::size_t>(i)]);
      state = next(state, u);
    }
  }
}

void ConstituentTables::buildPathTables() {
  const std::size_t cells = static_cast<std::size_t>(sections_ + 1) * ustate(states_);
  zeroToEnd_.assign(cells, 0);
  freeToEnd_.assign(cells, 0);
  freeFromStart_.assign(cells, kUnreachableWeight);
  for (std::int32_t s = 0; s < states_; ++s) {
    zeroToEnd_[cell(sections_, s)] = tailWeight(s);
    freeToEnd_[cell(sections_, s)] = tailWeight(s);
  }
  for (std::int32_t t = sections_ - 1; t >= 0; --t) {
    for (std::int32_t s = 0; s < states_; ++s) {
      zeroToEnd_[cell(t, s)] = weight(t, s, 0) + zeroToEnd(t + 1, next(s, 0));
      freeToEnd_[cell(t, s)] = std::min(freeWeight(t, s, 0) + freeToEnd(t + 1, next(s, 0)),
                                        freeWeight(t, s, 1) + freeToEnd(t + 1, next(s, 1)));
    }
  }
  freeFromStart_[cell(0, 0)] = 0;
  for (std::int32_t t = 0; t < sections_; ++t) {
    for (std::int32_t s = 0; s < states_; ++s) {
      const std::int32_t here = freeFromStart(t, s);
      for (std::int32_t u = 0; u < 2; ++u) {
        std::int32_t& there = freeFromStart_[cell(t + 1, next(s, u))];
        there = std::min(there, addWeights(here, freeWeight(t, s, u)));
      }
    }
  }
  // From state 0, zeros cost nothing until the first 1.
  oneFromZeroToEnd_.assign(static_cast<std::size_t>(sections_) + 1, kUnreachableWeight);
  for (std::int32_t t = sections_ - 1; t >= 0; --t) {
    oneFromZeroToEnd_[ustate(t)] =
        std::min(oneFromZeroToEnd(t + 1), freeWeight(t, 0, 1) + freeToEnd(t + 1, next(0, 1)));
  }
}

void ConstituentTables::buildZeroJumps() {
  const auto levels = std::bit_width(static_cast<std::uint64_t>(sections_) + 1) + 1;
  jumps_.assign(static_cast<std::size_t>(levels), std::vector<std::int32_t>(ustate(states_)));
  for (std::int32_t s = 0; s < states_; ++s) {
    jumps_[0][ustate(s)] = next(s, 0);
  }
  for (std::size_t j = 1; j < jumps_.size(); ++j) {
    for (std::int32_t s = 0; s < states_; ++s) {
      jumps_[j][ustate(s)] = jumps_[j - 1][ustate(jumps_[j - 1][ustate(s)])];
    }
  }
}

std::int32_t ConstituentTables::zeroState(std::int32_t state, std::int64_t steps) const {
  for (std::size_t j = 0; steps != 0; ++j, steps >>= 1) {
    if ((steps & 1) != 0) {
      state = jumps_[j][ustate(state)];
    }
  }
  return state;
}

void ConstituentTables::buildStretches() {
  const std::size_t square = ustate(states_) * ustate(states_);
  stretchLimit_ = stretchLimitFor(states_, sections_);
  stretches_.assign(static_cast<std::size_t>(stretchLimit_ + 1) * square, kUnreachableWeight);
  std::vector<std::int32_t> paths(square);
  std::vector<std::int32_t> longer(square);
  // Every stretch starts at some phase of the puncturing period; the bound takes the cheapest.
  for (std::int32_t phase = 0; phase < std::min(period_, std::max(sections_, 1)); ++phase) {
    std::fill(paths.begin(), paths.end(), kUnreachableWeight);
    for (std::int32_t s = 0; s < states_; ++s) {
      paths[ustate(s) * ustate(states_) + ustate(s)] = 0;
    }
    for (std::int32_t length = 0; length <= stretchLimit_; ++length) {
      std::int32_t* row = stretches_.data() + static_cast<std::size_t>(length) * square;
      for (std::size_t c = 0; c < square; ++c) {
        row[c] = std::min(row[c], paths[c]);
      }
      std::fill(longer.begin(), longer.end(), kUnreachableWeight);
      for (std::int32_t a = 0; a < states_; ++a) {
        for (std::int32_t c = 0; c < states_; ++c) {
          const std::int32_t here = paths[ustate(a) * ustate(states_) + ustate(c)];
          if (here >= kUnreachableWeight) {
            continue;
          }
          for (std::int32_t u = 0; u < 2; ++u) {
            std::int32_t& there = longer[ustate(a) * ustate(states_) + ustate(next(c, u))];
            there = std::min(there, here + freeWeight(phase + length, c, u));
          }
        }
      }
      paths.swap(longer);
    }
  }
  // Beyond the limit: the cheapest walk of any length, one step at the cheapest phase.
  anyLengthStretch_.assign(square, kUnreachableWeight);
  for (std::int32_t a = 0; a < states_; ++a) {
    anyLengthStretch_[ustate(a) * ustate(states_) + ustate(a)] = 0;
    for (std::int32_t phase = 0; phase < period_; ++phase) {
      for (std::int32_t u = 0; u < 2; ++u) {
        std::int32_t& step = anyLengthStretch_[ustate(a) * ustate(states_) + ustate(next(a, u))];
        step = std::min(step, freeWeight(phase, a, u));
      }
    }
  }
  for (std::int32_t via = 0; via < states_; ++via) {
    for (std::int32_t a = 0; a < states_; ++a) {
      for (std::int32_t b = 0; b < states_; ++b) {
        std::int32_t& direct = anyLengthStretch_[ustate(a) * ustate(states_) + ustate(b)];
        direct = std::min(direct,
                          addWeights(anyLengthStretch_[ustate(a) * ustate(states_) + ustate(via)],
                                     anyLengthStretch_[ustate(via) * ustate(states_) + ustate(b)]));
      }
    }
  }
}

std::int32_t ConstituentTables::exactWeight(std::span<const std::int32_t> ones) const {
  // Between two ones the input is zero: the zero-run weights to the end differ by exactly
  // the weight of the run, since the run from (t, s) passes through (q, s').
  std::int32_t weightSoFar = 0;
  std::int32_t state = 0;
  std::int32_t section = 0;
  for (const std::int32_t one : ones) {
    const std::int32_t reached = zeroState(state, one - section);
    weightSoFar += zeroToEnd(section, state) - zeroToEnd(one, reached);
    weightSoFar += weight(one, reached, 1);
    state = next(reached, 1);
    section = one + 1;
  }
  return weightSoFar + zeroToEnd(section, state);
}

}  // namespace brevandor
