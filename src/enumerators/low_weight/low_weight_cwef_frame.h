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

// The first section: every cell LogZero but the paths of one branch that leave state 0.
template <typename Cell>
void startLowWeightFrame(BasicLogTable<Cell>& layer, const TransitionMatrix& logMatrix,
                         const LowWeightCut& cut);

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

}  // namespace brevandor
