#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "distance/constituent_tables.h"

namespace brevandor {

// The known ones of one constituent's input, kept with the least weights of the paths forced
// through them: for each known one the cheapest path from the frame's start through it and
// every known one before it, and from it through every one after it to the end. The bound of
// the known ones is then read in O(S), and the bound with one more 1 in O(S²), where a pass
// over all known ones takes O(m S²). Ones are added and taken back in stack order, as the
// depth-first search places them.
class ForcedOnesChain {
 public:
  explicit ForcedOnesChain(const ConstituentTables& tables);

  // A lower bound on the weight of every frame whose input is 1 at the known ones, whatever its
  // other input bits: the least weight of a path forced through a 1-branch at each of them,
  // the stretches between them bounded by ConstituentTables::stretchMatrix.
  std::int32_t bound() const { return levels_[depth_].bound; }
  // The same with one more 1 at `position`, which is not a known one.
  std::int32_t boundWith(std::int32_t position) const;

  // Adds the 1 at `position`, which is not a known one yet.
  void push(std::int32_t position);
  // The number of ones pushed and not taken back.
  std::size_t depth() const { return depth_; }
  // Takes back the ones pushed since depth() was `depth`.
  void popTo(std::size_t depth) { depth_ = depth; }
  // The known ones, sorted.
  std::span<const std::int32_t> ones() const { return levels_[depth_].ones; }

 private:
  // The ones after `depth` pushes, their forward and backward weights ([one][state]) and bound.
  struct Level {
    std::vector<std::int32_t> ones;
    std::vector<std::int32_t> forward;   // start … through one i, in state s after it
    std::vector<std::int32_t> backward;  // from state s before one i, through it … end
    std::int32_t bound = 0;
  };

  std::size_t cell(std::size_t one, std::int32_t state) const {
    return one * static_cast<std::size_t>(tables_.states()) + static_cast<std::size_t>(state);
  }
  // The least weights in each state just after a forced 1 at `position`, from `before`, the
  // least weights in each state at that section.
  void forceOne(std::int32_t position, std::span<const std::int32_t> before,
                std::span<std::int32_t> after) const;
  // The least weights at section `to` from those at section `from` over free sections.
  void crossGap(std::int32_t from, std::int32_t to, std::span<const std::int32_t> at,
                std::span<std::int32_t> reached) const;
  void computeForward(Level& level, std::size_t from) const;
  void computeBackward(Level& level, std::size_t through) const;
  void computeBound(Level& level) const;

  const ConstituentTables& tables_;
  std::vector<Level> levels_;  // levels_[0]: no known ones
  std::size_t depth_ = 0;
  // Work vectors of boundWith.
  mutable std::vector<std::int32_t> arrive_;
  mutable std::vector<std::int32_t> leave_;
};

}  // namespace brevandor
