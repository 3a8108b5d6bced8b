// The growth bound of a punctured constituent. The trellis through one period of the pattern
// is a graph of (state, phase) nodes whose edges cost kGrowthScale · sent − slope · input: a
// slope admits potentials π (π(to) ≤ π(from) + cost on every edge) exactly when no cycle costs
// less than zero, and then every stretch of the frame costs at least min π − max π. Summed
// along a stretch: kGrowthScale · sent ≥ slope · input − (max π − min π). Everything is whole
// numbers, so the bound holds exactly.

#include "enumerators/low_weight/input_weight_growth.h"

#include <algorithm>
#include <vector>

namespace brevandor {

namespace {

struct GrowthEdge {
  std::int32_t from;
  std::int32_t to;
  std::int64_t sent;
  std::int64_t input;
};

// Every branch of every phase: node state · T + phase to node state' · T + (phase + 1) mod T.
std::vector<GrowthEdge> periodGraph(const WeightEnumerator& enumerator, const ConvCode& code,
                                    std::int32_t phases) {
  std::vector<GrowthEdge> edges;
  for (std::int32_t phase = 0; phase < phases; ++phase) {
    const TransitionMatrix matrix = enumerator.sectionLogTransferMatrix(code, phase);
    for (std::int32_t to = 0; to < code.stateCount; ++to) {
      for (std::int32_t from = 0; from < code.stateCount; ++from) {
        const TransitionWeight& branch = matrix.at(to, from);
        if (branch.multiplicity == kLogZeroInt) {
          continue;
        }
        edges.push_back(GrowthEdge{from * phases + phase, to * phases + (phase + 1) % phases,
                                   branch.outputWeight, branch.inputWeight});
      }
    }
  }
  return edges;
}

// The potentials of `slope` (all 0 from a source joined to every node), or nothing when a
// cycle costs less than zero.
std::optional<std::vector<std::int64_t>> potentials(const std::vector<GrowthEdge>& edges,
                                                    std::int32_t nodes, std::int64_t slope) {
  std::vector<std::int64_t> pi(static_cast<std::size_t>(nodes), 0);
  for (std::int32_t round = 0; round <= nodes; ++round) {
    bool relaxed = false;
    for (const GrowthEdge& edge : edges) {
      const std::int64_t reach =
          pi[static_cast<std::size_t>(edge.from)] + kGrowthScale * edge.sent - slope * edge.input;
      std::int64_t& known = pi[static_cast<std::size_t>(edge.to)];
      if (reach < known) {
        known = reach;
        relaxed = true;
      }
    }
    if (!relaxed) {
      return pi;
    }
  }
  return std::nullopt;  // still relaxing after every node: a cycle below zero
}

}  // namespace

std::optional<WeightGrowth> weightGrowth(const WeightEnumerator& enumerator, const ConvCode& code) {
  const std::int32_t phases = enumerator.puncturing.period();
  const std::int32_t nodes = code.stateCount * phases;
  const std::vector<GrowthEdge> edges = periodGraph(enumerator, code, phases);
  std::int64_t heaviest = 0;
  for (const GrowthEdge& edge : edges) {
    heaviest = std::max(heaviest, edge.sent);
  }
  // The largest admissible slope, by bisection over whole slopes: 0 always is (no cost is
  // below zero); a cycle visits each node once at most, so none sends more than `heaviest`
  // bits per node while it has an input bit, and a slope beyond that ratio is not admissible.
  std::int64_t low = 0;
  std::int64_t high = kGrowthScale * heaviest * nodes + 1;
  while (high - low > 1) {
    const std::int64_t middle = low + (high - low) / 2;
    (potentials(edges, nodes, middle) ? low : high) = middle;
  }
  if (low == 0) {
    return std::nullopt;
  }
  const std::vector<std::int64_t> pi = *potentials(edges, nodes, low);
  const auto [lowest, highest] = std::minmax_element(pi.begin(), pi.end());
  return WeightGrowth{low, *highest - *lowest};
}

std::optional<std::int64_t> heaviestInputWithin(std::int64_t slope, std::int64_t offset,
                                                std::int64_t outputLimit) {
  if (slope <= 0) {
    return std::nullopt;
  }
  return (outputLimit * kGrowthScale + offset) / slope;
}

}  // namespace brevandor
