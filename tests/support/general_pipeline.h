#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "code/conv_code.h"
#include "code/termination.h"
#include "enumerators/weight_enumerator.h"
#include "progress/run_context.h"
#include "support/recording_target.h"
#include "turbo/turbo_code.h"

namespace brevandor::testing {

// What a code of the general shape is made of: M constituents (the first of `first`, the
// others of `second` where given), a pattern, the termination and the tail rule. A PCCC, or an
// SCCC of `first` outside and `second` inside.
struct GeneralShape {
  ConcatenationType type = ConcatenationType::Parallel;
  CodeDescription first;
  std::optional<CodeDescription> second;
  std::int32_t constituents = 2;
  TurboPuncturing puncturing;
  Termination termination = Termination::Both;
  TailRule tailRule;
};

// The codes, tables and turbo code of one such code and frame, every table computed by the
// chosen engine (none shared), then the spectrum.
class GeneralPipeline {
 public:
  GeneralPipeline(const GeneralShape& shape, std::int32_t frameLength, Engine engine)
      : firstCode(shape.first),
        secondCode(shape.second.value_or(shape.first)),
        turbo(shape.type, shape.constituents) {
    context.cancelFlag = &cancel;
    context.noticeTarget = &target;
    context.engine = engine;
    turbo.puncturing = shape.puncturing;
    turbo.termination = shape.termination;
    turbo.tailRule = shape.tailRule;
    for (std::int32_t c = 0; c < shape.constituents; ++c) {
      turbo.attachConstituent(c, codeOf(c), enumerators[c]);
    }
    turbo.setFrameLength(frameLength, 3);
    codeword.assign(static_cast<std::size_t>(turbo.outputFrameLength) + 1, 0.0);
    weighted.assign(codeword.size(), 0.0);
  }
  ~GeneralPipeline() {
    for (std::int32_t c = 0; c < TurboCode::kMaxConstituents; ++c) {
      enumerators[c].release(codeOf(c));
    }
  }
  GeneralPipeline(const GeneralPipeline&) = delete;
  GeneralPipeline& operator=(const GeneralPipeline&) = delete;

  const ConvCode& codeOf(std::int32_t c) const { return c == 0 ? firstCode : secondCode; }

  // Every constituent's table, then the spectrum: outputFrameLength, or below 0.
  std::int32_t run() {
    for (std::int32_t c = 0; c < turbo.constituentCount; ++c) {
      enumerators[c].allocate(codeOf(c));
      enumerators[c].computeTransferMatrix(codeOf(c));
      if (enumerators[c].computeCwef(codeOf(c), context) == StageEnd::Cancelled) {
        return -1;
      }
    }
    const StageResult<std::int32_t> spectrum =
        turbo.concatenationType == ConcatenationType::Parallel
            ? turbo.computeParallelSpectrum(codeword, weighted, context)
            : turbo.computeSerialSpectrum(codeword, weighted, context);
    return spectrum ? *spectrum : spectrum.wasCancelled() ? -1 : -2;
  }

  ConvCode firstCode;
  ConvCode secondCode;
  WeightEnumerator enumerators[TurboCode::kMaxConstituents];
  TurboCode turbo;
  RecordingTarget target;
  CancelFlag cancel{0};
  RunContext context;
  std::vector<double> codeword;
  std::vector<double> weighted;
};

}  // namespace brevandor::testing
