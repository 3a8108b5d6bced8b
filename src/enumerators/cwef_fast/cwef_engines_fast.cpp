// The fast CWEF: the reference recursion, with the same additions into every cell in the
// same order, on one layer updated in place. Rows carry the range of input weights that
// can hold a count, so only those cells are visited; where the state fixes the parity of
// the input weight a row keeps only that parity; whole rows are summed by the vector
// kernels; sections sweep the layer several at a time and are shared among the threads.

#include <algorithm>
#include <vector>

#include "enumerators/cwef_engines.h"
#include "enumerators/cwef_fast/cwef_fast_layer.h"
#include "enumerators/cwef_fast/cwef_fast_plan.h"
#include "enumerators/cwef_fast/cwef_fast_setup.h"
#include "enumerators/cwef_fast/cwef_fast_step.h"
#include "enumerators/cwef_fast/cwef_fast_tail_biting.h"
#include "enumerators/cwef_fast/cwef_fast_wavefront.h"
#include "logmath/simd_log_add.h"
#include "progress/parallel_for.h"
#include "progress/progress_report.h"

namespace brevandor {

namespace {

constexpr const char* kTailOverflowText = " -- Error occured in Tail bits op ";

// A path whose tail would carry it beyond D has no row to go to; each such count is
// reported and dropped, as the reference does.
template <typename Cell>
void reportTailOverflows(const CwefPlan& plan, const CompactLayer<Cell>& layer,
                         const std::vector<std::int32_t>& tails, const RunContext& context) {
  for (std::int32_t s = 0; s < plan.states; ++s) {
    const std::int32_t tail = tails[static_cast<std::size_t>(s)];
    for (std::int32_t d = std::max(plan.maxWeight - tail + 1, 0); d <= plan.maxWeight; ++d) {
      const CompactRow<Cell>& row = layer.row(s, d);
      for (std::int32_t j = row.first; j <= row.last; ++j) {
        if (row.cells[j] != kLogZeroCell<Cell>) {
          context.postLogLine(kTailOverflowText);
        }
      }
    }
  }
}

// Result row d: the terminated paths of every end state, state 0's stored first and the
// others summed into it in state order, as the reference's sum over end states does.
template <typename Cell>
void writeResultRow(const CwefPlan& plan, const CompactLayer<Cell>& layer,
                    const std::vector<std::int32_t>& tails,
                    const BasicLogAddRowKernels<Cell>& kernels, std::int32_t d, Cell* out,
                    Cell* scratch) {
  std::fill(out, out + plan.frameLength + 1, kLogZeroCell<Cell>);
  for (std::int32_t s = 0; s < plan.states; ++s) {
    const std::int32_t source = d - tails[static_cast<std::size_t>(s)];
    if (source < 0 || layer.row(s, source).empty()) {
      continue;  // adding a LogZero leaves every cell as it is
    }
    const CompactRow<Cell>& row = layer.row(s, source);
    const std::int32_t first = plan.inputWeight(s, row.first);
    const std::int32_t last = plan.inputWeight(s, row.last);
    if (s == 0) {
      scatter(plan, s, row, out);
      continue;
    }
    const Cell* terms = row.cells + row.first;
    if (plan.classStep != 1) {
      std::fill(scratch + first, scratch + last + 1, kLogZeroCell<Cell>);
      scatter(plan, s, row, scratch);
      terms = scratch + first;
    }
    kernels.sumPairs(out + first, out + first, terms, static_cast<std::size_t>(last - first + 1));
  }
}

// Termination and the sum over end states, into rows 0 … D of the result table.
template <typename Cell>
void terminate(WeightEnumerator& enumerator, const ConvCode& code, const CwefPlan& plan,
               const CompactLayer<Cell>& layer, const BasicLogAddRowKernels<Cell>& kernels,
               std::int32_t threads, const RunContext& context) {
  std::vector<std::int32_t> tails(static_cast<std::size_t>(plan.states), 0);
  enumerator.computeTailWeights(code, tails, context);
  reportTailOverflows(plan, layer, tails, context);
  std::vector<std::vector<Cell>> scratch(
      static_cast<std::size_t>(threads),
      std::vector<Cell>(static_cast<std::size_t>(plan.frameLength) + 1));
  parallelFor(threads, plan.maxWeight + 1, [&](std::int64_t d, std::int32_t thread) {
    writeResultRow(plan, layer, tails, kernels, static_cast<std::int32_t>(d),
                   resultTable<Cell>(enumerator).row(static_cast<std::int32_t>(d)),
                   scratch[static_cast<std::size_t>(thread)].data());
  });
}

}  // namespace

std::uint64_t fastCwefWorkBytes(const WeightEnumerator& enumerator, const ConvCode& code,
                                const RunContext& context) {
  WeightEnumerator probe;
  probe.frameLength = enumerator.frameLength;
  probe.countsInputBits = enumerator.countsInputBits;
  probe.precision = enumerator.precision;
  probe.puncturing = enumerator.puncturing;
  probe.ending = enumerator.ending;
  if (enumerator.ending.tailBiting) {
    return fastTailBitingWorkBytes(probe, code, context);
  }
  probe.allocateLogTransferMatrix(code);
  probe.computeLogTransferMatrix(code);
  const std::optional<CwefPlan> plan = planCwef(probe, code);
  if (!plan.has_value()) {
    return enumerator.layerBytes(code);  // such a code runs the reference recursion
  }
  const WavefrontShape shape = wavefrontFor(context);
  const auto matrixBytes =
      static_cast<std::uint64_t>(code.stateCount) * code.stateCount * sizeof(TransitionWeight);
  const bool wide = enumerator.precision == TablePrecision::Double;
  const auto scratchBytes = static_cast<std::uint64_t>(shape.threads) *
                            (static_cast<std::uint64_t>(enumerator.frameLength) + 1) *
                            (wide ? sizeof(double) : sizeof(float));
  const std::int32_t slots = wavefrontSlots(shape);
  return (wide ? CompactLayer<double>::bytesFor(*plan, slots)
               : CompactLayer<float>::bytesFor(*plan, slots)) +
         matrixBytes + scratchBytes;
}

namespace {

template <typename Cell>
StageEnd runFast(WeightEnumerator& enumerator, const ConvCode& code, const CwefPlan& plan,
                 const RunContext& context) {
  const BasicLogAddRowKernels<Cell>& kernels = rowKernels<Cell>();
  const WavefrontShape shape = wavefrontFor(context);
  CompactLayer<Cell> layer(plan, wavefrontSlots(shape));

  startFirstSection(plan, layer);
  ProgressReport progress(context);
  progress.start();
  const std::int32_t sections = plan.sections;
  const bool finished = runSectionWavefront(plan, layer, kernels, shape, [&](std::int32_t section) {
    if (context.cancelRequested()) {
      return false;
    }
    progress.step(sections - section);
    return true;
  });
  if (!finished) {
    return StageEnd::Cancelled;  // the layer goes with this scope; the result table is untouched
  }
  progress.finish();
  terminate(enumerator, code, plan, layer, kernels, shape.threads, context);
  return StageEnd::Completed;
}

}  // namespace

StageEnd computeCwefFast(WeightEnumerator& enumerator, const ConvCode& code,
                         const RunContext& context) {
  if (enumerator.ending.tailBiting) {
    return computeTailBitingCwefFast(enumerator, code, context);
  }
  std::optional<CwefPlan> plan;
  {
    // The plan keeps all the recursion needs of the log matrix.
    const LogMatrixScope matrix(enumerator, code);
    plan = planCwef(enumerator, code);
  }
  if (!plan.has_value()) {
    return computeCwefReference(enumerator, code, context);
  }
  return enumerator.precision == TablePrecision::Double
             ? runFast<double>(enumerator, code, *plan, context)
             : runFast<float>(enumerator, code, *plan, context);
}

}  // namespace brevandor
