#include "enumerators/cwef_fast/cwef_fast_setup.h"

#include <algorithm>

namespace brevandor {

LogMatrixScope::LogMatrixScope(WeightEnumerator& enumerator, const ConvCode& code)
    : enumerator_(enumerator), code_(code) {
  enumerator_.allocateLogTransferMatrix(code_);
  enumerator_.computeLogTransferMatrix(code_);
}

LogMatrixScope::~LogMatrixScope() {
  enumerator_.releaseLogTransferMatrix(code_);
}

std::optional<CwefPlan> planCwef(const WeightEnumerator& enumerator, const ConvCode& code,
                                 std::int32_t startState) {
  const std::int32_t frameLength = enumerator.frameLength;
  const std::int32_t maxWeight = enumerator.layerMaxWeight(code);
  const std::int32_t sections = code.sectionCount(frameLength);
  if (enumerator.puncturing.empty()) {
    return buildCwefPlan(enumerator.logTransferMatrix, frameLength, maxWeight, sections,
                         startState);
  }
  const PhaseBranchWeight weight = [&](std::int32_t phase, std::int32_t to, std::int32_t from) {
    for (const TrellisBranch& branch : code.forwardTrellis.row(from)) {
      if (branch.state == to) {
        return enumerator.sectionBranchWeight(branch, phase);
      }
    }
    return 0;  // no branch: the plan asks only for those that exist
  };
  return buildCwefPlan(enumerator.logTransferMatrix, enumerator.puncturing.period(), weight,
                       frameLength, maxWeight, sections, startState);
}

WavefrontShape wavefrontFor(const RunContext& context) {
  WavefrontShape shape;
  shape.threads = std::clamp(context.workerThreads(), 1, shape.depth);
  return shape;
}

}  // namespace brevandor
