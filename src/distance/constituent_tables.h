#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "distance/given_interleaver_code.h"

namespace brevandor {

// A weight that no path reaches; sums of a few of them stay far inside an int32.
inline constexpr std::int32_t kUnreachableWeight = 1 << 26;

// What the search needs to know of one rate-1/n constituent for one frame: the branch weights
// of each puncturing phase, and weights of paths computed once so that the search can weigh a
// frame whose ones it knows (exactly) or of which it knows only some ones (from below).
class ConstituentTables {
 public:
  // `freeInputCost` is added to every 1 that the path tables choose freely (not to the
  // weights of given ones): +1 charges a second encoder for the systematic bit that each free
  // 1 will send through the first, −1 takes a sent systematic bit off the first's rest.
  explicit ConstituentTables(const WeightedConstituent& constituent,
                             std::int32_t freeInputCost = 0);

  // Bytes the tables of a constituent of S states, N sections and puncturing period T take.
  static std::uint64_t bytesFor(std::int32_t states, std::int32_t sections, std::int32_t period);

  std::int32_t states() const { return states_; }
  std::int32_t sections() const { return sections_; }
  std::int32_t outputBits() const { return outputBits_; }
  std::int32_t next(std::int32_t state, std::int32_t input) const {
    return next_[index(state, input)];
  }
  // The output word of a branch, bit n − 1 the systematic bit.
  std::int32_t output(std::int32_t state, std::int32_t input) const {
    return output_[index(state, input)];
  }
  // The output bits that data section t sends.
  std::uint32_t sentBits(std::int32_t section) const;
  // The weights of the branches at data section t, [state][input], and the next states,
  // [state][input]: for loops over every state.
  const std::int32_t* branchWeights(std::int32_t section) const {
    return weights_.data() + static_cast<std::size_t>(section % period_) * next_.size();
  }
  const std::int32_t* nextStates() const { return next_.data(); }
  // The weight a branch adds at data section t.
  std::int32_t weight(std::int32_t section, std::int32_t state, std::int32_t input) const {
    return weights_[static_cast<std::size_t>(section % period_) * next_.size() +
                    index(state, input)];
  }
  // The input bits of the tail from `state` (bit i: tail section i) and the tail's weight.
  std::int32_t tailInputs(std::int32_t state) const { return tailInputs_[ustate(state)]; }
  std::int32_t tailWeight(std::int32_t state) const { return tailWeights_[ustate(state)]; }
  // The tail's sections (none for an open frame) and the output bits tail section i sends.
  std::int32_t tailSections() const { return static_cast<std::int32_t>(tailSent_.size()); }
  std::uint32_t tailSentBits(std::int32_t tailSection) const {
    return tailSent_[static_cast<std::size_t>(tailSection)];
  }
  // The weight from data section t in `state` to the end of the terminated frame when every
  // further input bit is 0.
  std::int32_t zeroToEnd(std::int32_t section, std::int32_t state) const {
    return zeroToEnd_[cell(section, state)];
  }
  // The least weight from data section t in `state` to the end, over all further inputs.
  std::int32_t freeToEnd(std::int32_t section, std::int32_t state) const {
    return freeToEnd_[cell(section, state)];
  }
  // The least weight from the frame's start to data section t in `state`.
  std::int32_t freeFromStart(std::int32_t section, std::int32_t state) const {
    return freeFromStart_[cell(section, state)];
  }
  // The least weight from data section t in state 0 to the end over inputs with a 1 at or
  // after t (kUnreachableWeight at t = N).
  std::int32_t oneFromZeroToEnd(std::int32_t section) const {
    return oneFromZeroToEnd_[static_cast<std::size_t>(section)];
  }
  // The state that `steps` zero inputs lead to from `state`.
  std::int32_t zeroState(std::int32_t state, std::int64_t steps) const;

  // Lower bounds on the weight of `length` free sections from state `from` (row) to state
  // `to` (column), wherever they lie: exact up to a length limit, the cheapest walk of any
  // length beyond it. An S × S matrix.
  const std::int32_t* stretchMatrix(std::int64_t length) const {
    return length <= stretchLimit_ ? stretches_.data() + static_cast<std::size_t>(length) *
                                                             ustate(states_) * ustate(states_)
                                   : anyLengthStretch_.data();
  }
  // The least weights from the frame's start to data section t, one per state.
  const std::int32_t* freeFromStartRow(std::int32_t section) const {
    return freeFromStart_.data() + cell(section, 0);
  }

  // The weight of the terminated frame whose input is 1 exactly at the sorted sections `ones`.
  std::int32_t exactWeight(std::span<const std::int32_t> ones) const;

 private:
  // The weight of a branch whose input the path tables choose.
  std::int32_t freeWeight(std::int32_t section, std::int32_t state, std::int32_t input) const {
    return weight(section, state, input) + input * freeInputCost_;
  }
  std::size_t index(std::int32_t state, std::int32_t input) const {
    return static_cast<std::size_t>(state) * 2 + static_cast<std::size_t>(input);
  }
  static std::size_t ustate(std::int32_t state) { return static_cast<std::size_t>(state); }
  std::size_t cell(std::int32_t section, std::int32_t state) const {
    return static_cast<std::size_t>(section) * static_cast<std::size_t>(states_) + ustate(state);
  }

  void buildBranches(const WeightedConstituent& constituent);
  void buildTail(const WeightedConstituent& constituent);
  void buildPathTables();
  void buildZeroJumps();
  void buildStretches();

  std::int32_t states_ = 0;
  std::int32_t sections_ = 0;
  std::int32_t outputBits_ = 0;
  std::int32_t period_ = 1;
  std::int32_t freeInputCost_ = 0;
  std::vector<std::uint32_t> masks_;       // per phase
  std::vector<std::int32_t> next_;         // [state][input]
  std::vector<std::int32_t> output_;       // [state][input]
  std::vector<std::int32_t> weights_;      // [phase][state][input]
  std::vector<std::int32_t> tailInputs_;   // [state]
  std::vector<std::int32_t> tailWeights_;  // [state]
  std::vector<std::uint32_t> tailSent_;    // [tail section]: the bits it sends
  std::vector<std::int32_t> zeroToEnd_;    // [section 0 … N][state]
  std::vector<std::int32_t> freeToEnd_;
  std::vector<std::int32_t> freeFromStart_;
  std::vector<std::int32_t> oneFromZeroToEnd_;    // [section 0 … N]
  std::vector<std::vector<std::int32_t>> jumps_;  // [j][state]: after 2^j zero inputs
  std::int32_t stretchLimit_ = 0;                 // exact stretches up to this length
  std::vector<std::int32_t> stretches_;           // [length][from][to]
  std::vector<std::int32_t> anyLengthStretch_;    // [from][to]
};

}  // namespace brevandor
