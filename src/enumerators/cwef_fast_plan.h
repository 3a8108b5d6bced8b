#pragma once

#include <cstdint>
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

// A cell of the first section: the path of one branch out of state 0.
struct CwefStart {
  std::int32_t outputWeight = 0;
  std::int32_t index = 0;  // position in the state's row
};

// What the fast CWEF needs to know of a code and a frame. For many recursive codes the
// state fixes the parity of the input weight (the default code's feedback 1 + D^2 does): a
// row then holds only the input weights of its state's parity, half the cells and half the
// work. Position j of state s's row stands for input weight classOffset[s] + classStep · j.
struct CwefPlan {
  std::int32_t states = 0;       // S
  std::int32_t frameLength = 0;  // N
  std::int32_t maxWeight = 0;    // D, the last output-weight row
  std::int32_t sections = 0;
  std::int32_t classStep = 1;                   // 2 when every state fixes the parity, else 1
  std::vector<std::int32_t> classOffset;        // per state: its smallest input weight class
  std::vector<std::int32_t> capacity;           // per state: positions in a row
  std::vector<std::vector<CwefInflow>> inflow;  // per to-state, from-states in order
  std::vector<std::optional<CwefStart>> start;  // per state: its first-section cell
  std::int32_t maxBranchWeight = 0;             // the largest output weight of one branch
  std::int32_t minGain = 0;  // the smallest output weight less input weight of one branch
  std::int32_t maxGain = 0;  // the largest

  // The input weight that position j of state s's row stands for.
  std::int32_t inputWeight(std::int32_t state, std::int32_t position) const {
    return classOffset[static_cast<std::size_t>(state)] + classStep * position;
  }
};

// Builds the plan from the log transfer matrix, or nothing when some branch has a negative
// output weight (a non-systematic code counting parity bits only, which no run builds): the
// fast recursion relies on paths never losing weight.
std::optional<CwefPlan> buildCwefPlan(const TransitionMatrix& logTransferMatrix,
                                      std::int32_t frameLength, std::int32_t maxWeight,
                                      std::int32_t sections);

}  // namespace brevandor
