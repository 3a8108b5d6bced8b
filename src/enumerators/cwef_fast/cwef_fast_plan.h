#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

#include "enumerators/weight_enumerator.h"

namespace brevandor {

// One branch into a to-state, as the fast CWEF walks it: the from-state, the output weight
// it adds, and how far it moves a cell along its state's row of input weights.
struct CwefInflow {
  std::int32_t from = 0;
  std::int32_t outputWeight = 0;
  std::int32_t shift = 0;
};

// A cell of the first section: the path of one branch out of the start state.
struct CwefStart {
  std::int32_t outputWeight = 0;
  std::int32_t index = 0;  // position in the state's row
};

// What the fast CWEF needs to know of a code and a frame. For many recursive codes the
// state fixes the parity of the input weight (the default code's feedback 1 + D^2 does): a
// row then holds only the input weights of its state's parity, half the cells and half the
// work. Position j of state s's row stands for input weight classOffset[s] + classStep · j.
// A punctured code's branches weigh what their section sends: they change with the phase t
// mod T of the section, which moves only the output weights, never the input weights.
struct CwefPlan {
  std::int32_t states = 0;       // S
  std::int32_t frameLength = 0;  // N
  std::int32_t maxWeight = 0;    // D, the last output-weight row
  std::int32_t sections = 0;
  std::int32_t classStep = 1;             // 2 when every state fixes the parity, else 1
  std::vector<std::int32_t> classOffset;  // per state: its smallest input weight class
  std::vector<std::int32_t> capacity;     // per state: positions in a row
  // Per phase of the puncturing period (one without puncturing), per to-state: the
  // branches into it, from-states in order.
  std::vector<std::vector<std::vector<CwefInflow>>> inflowByPhase;
  std::vector<std::optional<CwefStart>> start;     // per state: its first-section cell
  std::vector<std::int32_t> phaseMaxBranchWeight;  // per phase: its heaviest branch
  std::int32_t maxBranchWeight = 0;                // the heaviest branch of any phase
  std::int32_t minGain = 0;  // the smallest output weight less input weight of any branch
  std::int32_t maxGain = 0;  // the largest

  // The input weight that position j of state s's row stands for.
  std::int32_t inputWeight(std::int32_t state, std::int32_t position) const {
    return classOffset[static_cast<std::size_t>(state)] + classStep * position;
  }
  std::size_t phaseOf(std::int32_t section) const {
    return static_cast<std::size_t>(section) % inflowByPhase.size();
  }
  // The branches into `to` at section `section`.
  const std::vector<CwefInflow>& inflow(std::int32_t section, std::int32_t to) const {
    return inflowByPhase[phaseOf(section)][static_cast<std::size_t>(to)];
  }
  // The largest output weight a branch adds at section `section`.
  std::int32_t branchWeightLimit(std::int32_t section) const {
    return phaseMaxBranchWeight[phaseOf(section)];
  }
};

// The output weight of the branch from state `from` into state `to` at the sections of
// phase `phase` of the puncturing period.
using PhaseBranchWeight =
    std::function<std::int32_t(std::int32_t phase, std::int32_t to, std::int32_t from)>;

// Builds the plan from the log transfer matrix, or nothing when some branch has a negative
// output weight (a non-systematic code counting parity bits only, which no run builds): the
// fast recursion relies on paths never losing weight. Paths start in `startState` (state 0
// but for the start states of a tail-biting frame).
std::optional<CwefPlan> buildCwefPlan(const TransitionMatrix& logTransferMatrix,
                                      std::int32_t frameLength, std::int32_t maxWeight,
                                      std::int32_t sections, std::int32_t startState = 0);
// The same for a punctured code: the matrix gives the branches and their input weights, and
// `weight` their output weights in each of the `phases` phases (section t, the first one
// included, takes phase t mod phases).
std::optional<CwefPlan> buildCwefPlan(const TransitionMatrix& logTransferMatrix,
                                      std::int32_t phases, const PhaseBranchWeight& weight,
                                      std::int32_t frameLength, std::int32_t maxWeight,
                                      std::int32_t sections, std::int32_t startState = 0);

}  // namespace brevandor
