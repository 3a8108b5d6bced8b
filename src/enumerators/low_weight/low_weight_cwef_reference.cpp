// The plain low-weight CWEF: the full recursion section by section on two layers of the
// cut's size, each section's branches weighing the bits its phase of the pattern sends; a count
// that would leave the cut is dropped, exactly as the full recursion drops what would pass its last
// row. A tail-biting frame runs the recursion once per start state and sums the circular paths.

#include <cstdint>
#include <vector>

#include "enumerators/low_weight/low_weight_cwef.h"
#include "enumerators/low_weight/low_weight_cwef_frame.h"
#include "logmath/log_domain.h"

namespace brevandor {

namespace {

// Extends every path of one from-state by the branch into one to-state.
template <typename Cell>
void extendPaths(const BasicLogTable<Cell>& previous, BasicLogTable<Cell>& current, std::int32_t to,
                 std::int32_t from, const TransitionWeight& branch, const LowWeightCut& cut) {
  for (std::int32_t d = 0; d <= cut.maxOutputWeight; ++d) {
    const std::int32_t extendedOutput = d + branch.outputWeight;
    const Cell* source = previous.row(from, d);
    for (std::int32_t w = 0; w <= cut.maxInputWeight; ++w) {
      const Cell x = source[w];
      if (x == kLogZeroCell<Cell> || !cut.keeps(extendedOutput, w + branch.inputWeight)) {
        continue;
      }
      Cell& cell = current.at(to, extendedOutput, w + branch.inputWeight);
      // The term is formed in double; the sum is rounded to the cell type on storing.
      cell = static_cast<Cell>(
          logAdd(static_cast<double>(cell),
                 static_cast<double>(branch.multiplicity) + static_cast<double>(x)));
    }
  }
}

// One section: to-states in order, and within a to-state the from-states in order.
template <typename Cell>
void sectionStep(const TransitionMatrix& logMatrix, const BasicLogTable<Cell>& previous,
                 BasicLogTable<Cell>& current, const LowWeightCut& cut) {
  current.fill(kLogZeroCell<Cell>);
  for (std::int32_t to = 0; to < current.blocks(); ++to) {
    for (std::int32_t from = 0; from < current.blocks(); ++from) {
      const TransitionWeight& branch = logMatrix.at(to, from);
      if (branch.multiplicity != kLogZeroInt) {
        extendPaths(previous, current, to, from, branch, cut);
      }
    }
  }
}

template <typename Cell>
StageEnd runReference(WeightEnumerator& enumerator, const ConvCode& code, const LowWeightCut& cut,
                      const RunContext& context) {
  const std::vector<TransitionMatrix> phases = lowWeightPhaseMatrices(enumerator, code);
  BasicLogTable<Cell> layers[2] = {makeLowWeightLayer<Cell>(code, cut),
                                   makeLowWeightLayer<Cell>(code, cut)};
  return runLowWeightFrame(enumerator, code, cut, phases[0], layers, portableRowKernels<Cell>(),
                           context,
                           [&](std::int32_t /*start*/, std::int32_t sections, auto&& sectionDone) {
                             for (std::int32_t t = 1; t < sections; ++t) {
                               sectionStep(phases[static_cast<std::size_t>(t) % phases.size()],
                                           layers[(t + 1) % 2], layers[t % 2], cut);
                               if (!sectionDone(t)) {
                                 return false;
                               }
                             }
                             return true;
                           });
}

}  // namespace

StageEnd computeLowWeightCwefReference(WeightEnumerator& enumerator, const ConvCode& code,
                                       const LowWeightCut& cut, const RunContext& context) {
  return enumerator.precision == TablePrecision::Double
             ? runReference<double>(enumerator, code, cut, context)
             : runReference<float>(enumerator, code, cut, context);
}

}  // namespace brevandor
