#include "enumerators/cwef_fast/cwef_fast_plan.h"

#include <algorithm>
#include <deque>
#include <limits>

namespace brevandor {

namespace {

bool exists(const TransitionWeight& branch) {
  return branch.multiplicity != kLogZeroInt;
}

// The parity of the input weight of every path from the start state into each state, when
// the state fixes it: parity[start] = 0 and parity[to] = parity[from] + u (mod 2) along every
// branch. Returns nothing when two paths into one state differ in parity. States that no
// path reaches get −1.
std::optional<std::vector<std::int32_t>> inputParities(const TransitionMatrix& matrix,
                                                       std::int32_t start) {
  const std::int32_t states = matrix.states();
  std::vector<std::int32_t> parity(static_cast<std::size_t>(states), -1);
  parity[static_cast<std::size_t>(start)] = 0;
  std::deque<std::int32_t> pending{start};
  while (!pending.empty()) {
    const std::int32_t from = pending.front();
    pending.pop_front();
    for (std::int32_t to = 0; to < states; ++to) {
      const TransitionWeight& branch = matrix.at(to, from);
      if (!exists(branch)) {
        continue;
      }
      const std::int32_t reached =
          (parity[static_cast<std::size_t>(from)] + branch.inputWeight) % 2;
      std::int32_t& known = parity[static_cast<std::size_t>(to)];
      if (known < 0) {
        known = reached;
        pending.push_back(to);
      } else if (known != reached) {
        return std::nullopt;
      }
    }
  }
  return parity;
}

}  // namespace

std::optional<CwefPlan> buildCwefPlan(const TransitionMatrix& logTransferMatrix,
                                      std::int32_t frameLength, std::int32_t maxWeight,
                                      std::int32_t sections, std::int32_t startState) {
  const PhaseBranchWeight weight = [&logTransferMatrix](std::int32_t, std::int32_t to,
                                                        std::int32_t from) {
    return logTransferMatrix.at(to, from).outputWeight;
  };
  return buildCwefPlan(logTransferMatrix, 1, weight, frameLength, maxWeight, sections, startState);
}

std::optional<CwefPlan> buildCwefPlan(const TransitionMatrix& logTransferMatrix,
                                      std::int32_t phases, const PhaseBranchWeight& weight,
                                      std::int32_t frameLength, std::int32_t maxWeight,
                                      std::int32_t sections, std::int32_t startState) {
  // Branches exist, and carry their input weights, alike in every phase.
  const std::int32_t states = logTransferMatrix.states();
  for (std::int32_t to = 0; to < states; ++to) {
    for (std::int32_t from = 0; from < states; ++from) {
      for (std::int32_t phase = 0; phase < phases; ++phase) {
        if (exists(logTransferMatrix.at(to, from)) && weight(phase, to, from) < 0) {
          return std::nullopt;
        }
      }
    }
  }
  CwefPlan plan;
  plan.states = states;
  plan.frameLength = frameLength;
  plan.maxWeight = maxWeight;
  plan.sections = sections;
  const auto count = static_cast<std::size_t>(states);

  // Reachability from the start state comes with the parities; where they clash, every state keeps
  // all input weights but unreached states still get no row content.
  std::vector<std::int32_t> parity(count, 0);
  std::vector<bool> reached(count, false);
  if (const auto parities = inputParities(logTransferMatrix, startState)) {
    plan.classStep = 2;
    for (std::size_t s = 0; s < count; ++s) {
      reached[s] = (*parities)[s] >= 0;
      parity[s] = std::max((*parities)[s], 0);
    }
  } else {
    plan.classStep = 1;
    reached.assign(count, true);
  }
  plan.classOffset = parity;
  plan.capacity.resize(count);
  for (std::size_t s = 0; s < count; ++s) {
    plan.capacity[s] =
        frameLength >= parity[s] ? (frameLength - parity[s]) / plan.classStep + 1 : 0;
  }

  const auto phaseCount = static_cast<std::size_t>(phases);
  plan.inflowByPhase.resize(phaseCount, std::vector<std::vector<CwefInflow>>(count));
  plan.phaseMaxBranchWeight.resize(phaseCount, 0);
  plan.start.resize(count);
  plan.minGain = std::numeric_limits<std::int32_t>::max();
  plan.maxGain = std::numeric_limits<std::int32_t>::min();
  for (std::int32_t phase = 0; phase < phases; ++phase) {
    const auto p = static_cast<std::size_t>(phase);
    for (std::int32_t to = 0; to < states; ++to) {
      const auto t = static_cast<std::size_t>(to);
      for (std::int32_t from = 0; from < states; ++from) {
        const TransitionWeight& branch = logTransferMatrix.at(to, from);
        if (!exists(branch) || !reached[static_cast<std::size_t>(from)]) {
          continue;  // a state that no path reaches passes nothing on
        }
        const std::int32_t outputWeight = weight(phase, to, from);
        plan.phaseMaxBranchWeight[p] = std::max(plan.phaseMaxBranchWeight[p], outputWeight);
        plan.minGain = std::min(plan.minGain, outputWeight - branch.inputWeight);
        plan.maxGain = std::max(plan.maxGain, outputWeight - branch.inputWeight);
        const std::int32_t moved =
            parity[static_cast<std::size_t>(from)] + branch.inputWeight - parity[t];
        plan.inflowByPhase[p][t].push_back(CwefInflow{from, outputWeight, moved / plan.classStep});
      }
    }
    plan.maxBranchWeight = std::max(plan.maxBranchWeight, plan.phaseMaxBranchWeight[p]);
  }
  for (std::int32_t to = 0; to < states; ++to) {
    const auto t = static_cast<std::size_t>(to);
    // The first section is of phase 0.
    const TransitionWeight& first = logTransferMatrix.at(to, startState);
    if (!exists(first)) {
      continue;
    }
    const std::int32_t outputWeight = weight(0, to, startState);
    if (outputWeight <= maxWeight && first.inputWeight <= frameLength) {
      plan.start[t] = CwefStart{outputWeight, (first.inputWeight - parity[t]) / plan.classStep};
    }
  }
  if (plan.minGain > plan.maxGain) {  // no branch at all
    plan.minGain = plan.maxGain = 0;
  }
  return plan;
}

}  // namespace brevandor
