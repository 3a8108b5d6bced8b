#pragma once

#include <cstdint>
#include <vector>

#include "code/conv_code.h"
#include "enumerators/log_table.h"
#include "enumerators/low_weight/low_weight_cwef.h"
#include "enumerators/weight_enumerator.h"
#include "logmath/simd_log_add.h"
#include "progress/progress_report.h"
#include "progress/run_context.h"
#include "progress/stage_result.h"

namespace brevandor {

// What both low-weight CWEF engines share: the layers of the cut's size, the first section,
// the end of the frame, and the progress of the section loop.

// The log transfer matrix of the enumerator's code, held by the stage itself.
TransitionMatrix lowWeightLogMatrix(WeightEnumerator& enumerator, const ConvCode& code);

// The log transfer matrix of each phase of the enumerator's puncturing period, its branches
// weighing the bits that phase sends: section t walks entry t mod T. One matrix, the log
// transfer matrix itself, when nothing is punctured.
std::vector<TransitionMatrix> lowWeightPhaseMatrices(WeightEnumerator& enumerator,
                                                     const ConvCode& code);

// A work layer [state][output weight][input weight] for the cut, of the tables' cell type.
template <typename Cell>
BasicLogTable<Cell> makeLowWeightLayer(const ConvCode& code, const LowWeightCut& cut);

// The first section: every cell LogZero but the paths of one branch that leave `start`
// (state 0 but for the start states of a tail-biting frame).
template <typename Cell>
void startLowWeightFrame(BasicLogTable<Cell>& layer, const TransitionMatrix& logMatrix,
                         const LowWeightCut& cut, std::int32_t start = 0);

// The start states of the enumerator's frame, each a recursion of its own: state 0 alone, or
// every state for a tail-biting frame. Numbers the sections of all of them in a row for the
// progress.
class LowWeightStarts {
 public:
  LowWeightStarts(const WeightEnumerator& enumerator, const ConvCode& code);
  std::int32_t count() const { return count_; }
  bool tailBiting() const { return tailBiting_; }
  // Sections of all the recursions, as SectionProgress counts them.
  std::int32_t sections() const { return count_ * (sections_ - 1) + 1; }
  // Section t of start state `start`'s recursion among them.
  std::int32_t section(std::int32_t start, std::int32_t t) const {
    return start * (sections_ - 1) + t;
  }

 private:
  std::int32_t count_;
  std::int32_t sections_;
  bool tailBiting_;
};

// A tail-biting frame's table: the paths that end in the state they started in, summed over
// the start states in order (the first stored, each later one log-added, as the full
// recursion's trace), kept apart from the result table until every start state is done.
template <typename Cell>
class LowWeightTrace {
 public:
  explicit LowWeightTrace(const LowWeightCut& cut);
  // Adds the circular paths of `start` from the end-of-frame layer; start states in order.
  void add(const BasicLogTable<Cell>& endLayer, std::int32_t start,
           const BasicLogAddRowKernels<Cell>& kernels);
  // Writes the sum into the enumerator's result table.
  void store(WeightEnumerator& enumerator) const;

 private:
  LowWeightCut cut_;
  BasicLogTable<Cell> sum_;
};

// Termination and the sum over end states, as the full recursion does them: every path that
// ends the frame in state s gains the weight of that state's tail, and result cell (d, w) is
// state 0's count followed by the others log-added in state order (each sum rounded to
// the cell type). Cells outside the cut stay LogZero. `kernels` sums whole rows.
template <typename Cell>
void finishLowWeightFrame(WeightEnumerator& enumerator, const ConvCode& code,
                          const LowWeightCut& cut, const BasicLogTable<Cell>& endLayer,
                          const BasicLogAddRowKernels<Cell>& kernels, const RunContext& context);

// The status line and the cancel request of the section loop. Frames of up to 10000
// sections report every section, as the full recursion does; longer ones report blocks of
// sections, so that a frame of a million bits posts no more status lines than that. The
// cancel request is read after every section.
class SectionProgress {
 public:
  static constexpr std::int32_t kMaxReports = 10000;

  SectionProgress(const RunContext& context, std::int32_t sections);
  // Reads the clock and posts "--- Wait ---".
  void start() { report_.start(); }
  // After section t (1 … sections − 1): false when the run was cancelled.
  bool sectionDone(std::int32_t t);
  void finish() { report_.finish(); }

 private:
  const RunContext& context_;
  ProgressReport report_;
  std::int32_t sections_;
  std::int32_t sectionsPerStep_;
};

// The frame as both engines walk it: for each start state, the first section into
// `layers`[0], then `runSections`(start, sections, sectionDone) for sections 1 … S − 1
// (section t written to `layers`[t mod 2]; sectionDone(t) false and the frame stopped when the
// run was cancelled); at the end the table from the last layer, the trace over the start
// states for a tail-biting frame, else the terminated paths. `kernels` sums whole rows.
template <typename Cell, typename RunSections>
StageEnd runLowWeightFrame(WeightEnumerator& enumerator, const ConvCode& code,
                           const LowWeightCut& cut, const TransitionMatrix& firstPhase,
                           BasicLogTable<Cell> (&layers)[2],
                           const BasicLogAddRowKernels<Cell>& kernels, const RunContext& context,
                           RunSections&& runSections) {
  const std::int32_t sections = code.sectionCount(enumerator.frameLength);
  const BasicLogTable<Cell>& endLayer = layers[(sections - 1) % 2];
  const LowWeightStarts starts(enumerator, code);
  LowWeightTrace<Cell> trace(starts.tailBiting() ? cut : LowWeightCut{});
  SectionProgress progress(context, starts.sections());
  progress.start();
  for (std::int32_t start = 0; start < starts.count(); ++start) {
    startLowWeightFrame(layers[0], firstPhase, cut, start);
    if (!runSections(start, sections, [&](std::int32_t t) {
          return progress.sectionDone(starts.section(start, t));
        })) {
      return StageEnd::Cancelled;
    }
    if (starts.tailBiting()) {
      trace.add(endLayer, start, kernels);
    }
  }
  progress.finish();
  if (starts.tailBiting()) {
    trace.store(enumerator);
  } else {
    finishLowWeightFrame(enumerator, code, cut, endLayer, kernels, context);
  }
  return StageEnd::Completed;
}

}  // namespace brevandor
