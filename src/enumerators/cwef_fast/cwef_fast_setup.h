#pragma once

#include <cstdint>
#include <optional>

#include "code/conv_code.h"
#include "enumerators/cwef_fast/cwef_fast_layer.h"
#include "enumerators/cwef_fast/cwef_fast_plan.h"
#include "enumerators/cwef_fast/cwef_fast_wavefront.h"
#include "enumerators/weight_enumerator.h"
#include "progress/run_context.h"

namespace brevandor {

// What every fast CWEF run takes from the enumerator, the code and the run context.

// Holds the log transfer matrix for the stage and frees it on every way out.
class LogMatrixScope {
 public:
  LogMatrixScope(WeightEnumerator& enumerator, const ConvCode& code);
  ~LogMatrixScope();
  LogMatrixScope(const LogMatrixScope&) = delete;
  LogMatrixScope& operator=(const LogMatrixScope&) = delete;

 private:
  WeightEnumerator& enumerator_;
  const ConvCode& code_;
};

// The plan of the enumerator's log transfer matrix (which must be computed) for paths from
// `startState`; with puncturing, its branches weigh what each phase of the period sends.
// Nothing where the fast recursion cannot run (see buildCwefPlan).
std::optional<CwefPlan> planCwef(const WeightEnumerator& enumerator, const ConvCode& code,
                                 std::int32_t startState = 0);

// How the sections of a run sweep the layer: as many threads as the run has, up to the depth.
WavefrontShape wavefrontFor(const RunContext& context);

// Spreads a row's positions over the input weights they stand for.
template <typename Cell>
void scatter(const CwefPlan& plan, std::int32_t state, const CompactRow<Cell>& row, Cell* out) {
  for (std::int32_t j = row.first; j <= row.last; ++j) {
    out[plan.inputWeight(state, j)] = row.cells[j];
  }
}

}  // namespace brevandor
