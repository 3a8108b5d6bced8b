// The trace over start states on the fast recursion. Each start state has a plan of its own:
// where the state fixes the parity of the input weight, the parity classes count from the
// start state, and only the states it reaches hold rows.

#include "enumerators/cwef_fast/cwef_fast_tail_biting.h"

#include <algorithm>
#include <optional>
#include <vector>

#include "enumerators/cwef_engines.h"
#include "enumerators/cwef_fast/cwef_fast_layer.h"
#include "enumerators/cwef_fast/cwef_fast_setup.h"
#include "enumerators/cwef_fast/cwef_fast_step.h"
#include "enumerators/cwef_fast/cwef_fast_wavefront.h"
#include "logmath/simd_log_add.h"
#include "progress/progress_report.h"

namespace brevandor {

namespace {

// One plan per start state, or nothing when the fast recursion cannot take the code. The
// enumerator's log transfer matrix must be computed.
std::optional<std::vector<CwefPlan>> startPlans(const WeightEnumerator& enumerator,
                                                const ConvCode& code) {
  std::vector<CwefPlan> plans;
  plans.reserve(static_cast<std::size_t>(code.stateCount));
  for (std::int32_t start = 0; start < code.stateCount; ++start) {
    std::optional<CwefPlan> plan = planCwef(enumerator, code, start);
    if (!plan.has_value()) {
      return std::nullopt;
    }
    plans.push_back(std::move(*plan));
  }
  return plans;
}

// The circular paths of one start state, held in its row of the last layer: the first start
// state's stored into the sum, the later ones added to it, cell by cell as the reference.
template <typename Cell>
class TraceSum {
 public:
  TraceSum(std::int32_t maxWeight, std::int32_t frameLength)
      : columns_(static_cast<std::size_t>(frameLength) + 1),
        rows_(static_cast<std::size_t>(maxWeight) + 1),
        cells_(rows_ * columns_, kLogZeroCell<Cell>),
        scratch_(columns_) {}

  void add(const CwefPlan& plan, const CompactLayer<Cell>& layer, std::int32_t start,
           const BasicLogAddRowKernels<Cell>& kernels) {
    for (std::size_t d = 0; d < rows_; ++d) {
      const CompactRow<Cell>& row = layer.row(start, static_cast<std::int32_t>(d));
      if (row.empty()) {
        continue;  // adding a LogZero leaves every cell as it is
      }
      Cell* sum = row_(d);
      const std::int32_t first = plan.inputWeight(start, row.first);
      const std::int32_t last = plan.inputWeight(start, row.last);
      if (!started_) {
        scatter(plan, start, row, sum);
        continue;
      }
      const Cell* terms = row.cells + row.first;
      if (plan.classStep != 1) {
        std::fill(scratch_.begin() + first, scratch_.begin() + last + 1, kLogZeroCell<Cell>);
        scatter(plan, start, row, scratch_.data());
        terms = scratch_.data() + first;
      }
      kernels.sumPairs(sum + first, sum + first, terms, static_cast<std::size_t>(last - first + 1));
    }
    started_ = true;
  }

  // Writes rows 0 … D of the result table.
  void store(WeightEnumerator& enumerator) const {
    for (std::size_t d = 0; d < rows_; ++d) {
      std::copy_n(cells_.data() + d * columns_, columns_,
                  resultTable<Cell>(enumerator).row(static_cast<std::int32_t>(d)));
    }
  }

  static std::uint64_t bytesFor(std::int32_t maxWeight, std::int32_t frameLength) {
    const auto columns = static_cast<std::uint64_t>(frameLength) + 1;
    return (static_cast<std::uint64_t>(maxWeight) + 2) * columns * sizeof(Cell);
  }

 private:
  Cell* row_(std::size_t d) { return cells_.data() + d * columns_; }

  std::size_t columns_;
  std::size_t rows_;
  std::vector<Cell> cells_;
  std::vector<Cell> scratch_;
  bool started_ = false;
};

template <typename Cell>
StageEnd runTailBiting(WeightEnumerator& enumerator, const std::vector<CwefPlan>& plans,
                       const RunContext& context) {
  const BasicLogAddRowKernels<Cell>& kernels = rowKernels<Cell>();
  const WavefrontShape shape = wavefrontFor(context);
  const CwefPlan& any = plans.front();
  const auto states = static_cast<std::int32_t>(plans.size());
  TraceSum<Cell> trace(any.maxWeight, any.frameLength);
  ProgressReport progress(context);
  progress.start();
  for (std::int32_t start = 0; start < states; ++start) {
    const CwefPlan& plan = plans[static_cast<std::size_t>(start)];
    CompactLayer<Cell> layer(plan, wavefrontSlots(shape));
    startFirstSection(plan, layer);
    const bool finished = runSectionWavefront(
        plan, layer, kernels, shape, [&](std::int32_t) { return !context.cancelRequested(); });
    if (!finished) {
      return StageEnd::Cancelled;  // the result table is untouched
    }
    progress.step(states - 1 - start);
    trace.add(plan, layer, start, kernels);
  }
  progress.finish();
  trace.store(enumerator);
  return StageEnd::Completed;
}

}  // namespace

StageEnd computeTailBitingCwefFast(WeightEnumerator& enumerator, const ConvCode& code,
                                   const RunContext& context) {
  std::optional<std::vector<CwefPlan>> plans;
  {
    // The plans keep all the recursion needs of the log matrix.
    const LogMatrixScope matrix(enumerator, code);
    plans = startPlans(enumerator, code);
  }
  if (!plans.has_value()) {
    return computeCwefReference(enumerator, code, context);
  }
  return enumerator.precision == TablePrecision::Double
             ? runTailBiting<double>(enumerator, *plans, context)
             : runTailBiting<float>(enumerator, *plans, context);
}

std::uint64_t fastTailBitingWorkBytes(WeightEnumerator& enumerator, const ConvCode& code,
                                      const RunContext& context) {
  std::optional<std::vector<CwefPlan>> plans;
  {
    const LogMatrixScope matrix(enumerator, code);
    plans = startPlans(enumerator, code);
  }
  if (!plans.has_value()) {
    return enumerator.layerBytes(code);  // such a code runs the reference recursion
  }
  const std::int32_t slots = wavefrontSlots(wavefrontFor(context));
  const bool wide = enumerator.precision == TablePrecision::Double;
  std::uint64_t layerBytes = 0;  // one start state's layer at a time
  for (const CwefPlan& plan : *plans) {
    layerBytes = std::max(layerBytes, wide ? CompactLayer<double>::bytesFor(plan, slots)
                                           : CompactLayer<float>::bytesFor(plan, slots));
  }
  const CwefPlan& any = plans->front();
  const std::uint64_t traceBytes = wide ? TraceSum<double>::bytesFor(any.maxWeight, any.frameLength)
                                        : TraceSum<float>::bytesFor(any.maxWeight, any.frameLength);
  const auto planBytes = static_cast<std::uint64_t>(code.stateCount) * code.stateCount *
                         code.stateCount * sizeof(CwefInflow) *
                         static_cast<std::uint64_t>(any.inflowByPhase.size());
  return layerBytes + traceBytes + planBytes;
}

}  // namespace brevandor
