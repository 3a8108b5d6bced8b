#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "code/conv_code.h"
#include "enumerators/weight_enumerator.h"
#include "logmath/log_domain.h"
#include "progress/run_context.h"
#include "support/recording_target.h"
#include "turbo/concatenation_type.h"
#include "turbo/turbo_code.h"

namespace brevandor::testing {

// A stage's result as one number for the tests' comparisons: its value, −1 when cancelled,
// −2 when it could not run.
inline std::int32_t stageCode(const StageResult<std::int32_t>& result) {
  return result ? *result : result.wasCancelled() ? -1 : -2;
}

// The code, enumerators and turbo code of one run, wired and configured as the calculation
// run does it (one code attached to both constituents, repetition factor 3), with a
// recording notice target, a cancel flag, a chosen engine and table precision.
class TurboPipeline {
 public:
  // `second`: the second constituent's code (none: the first); `puncturing`: the patterns.
  TurboPipeline(const CodeDescription& description, ConcatenationType type,
                std::int32_t frameLength, Engine engine = Engine::Reference,
                const TurboPuncturing& puncturing = {},
                const std::optional<CodeDescription>& second = std::nullopt,
                TablePrecision precision = TablePrecision::Single)
      : code(description), secondCode(second.value_or(description)), turbo(type, 2) {
    context.cancelFlag = &cancel;
    context.noticeTarget = &target;
    context.engine = engine;
    turbo.puncturing = puncturing;
    turbo.attachConstituent(0, code, enumerators[0]);
    turbo.attachConstituent(1, second ? secondCode : code, enumerators[1]);
    turbo.setFrameLength(frameLength, 3);
    for (int c = 0; c < 2; ++c) {
      enumerators[c].precision = precision;
      enumerators[c].allocate(*turbo.codes[static_cast<std::size_t>(c)]);
    }
    const auto entries = static_cast<std::size_t>(turbo.outputFrameLength) + 1;
    codeword.assign(entries, 0.0);
    weighted.assign(entries, 0.0);
  }
  ~TurboPipeline() {
    for (WeightEnumerator& enumerator : enumerators) {
      enumerator.release(code);
    }
  }
  TurboPipeline(const TurboPipeline&) = delete;
  TurboPipeline& operator=(const TurboPipeline&) = delete;

  // The "TM" and "CWEF" stages for the concatenation type.
  StageEnd computeEnumerators() {
    if (turbo.concatenationType == ConcatenationType::Parallel && turbo.sameTableAsFirst(1)) {
      enumerators[0].computeTransferMatrix(code);
      const StageEnd end = enumerators[0].computeCwef(code, context);
      if (end == StageEnd::Completed) {
        enumerators[0].copyTo(enumerators[1], code);
      }
      return end;
    }
    if (turbo.concatenationType != ConcatenationType::RepetitionSerial) {
      const ConvCode& other = *turbo.codes[1];
      enumerators[0].computeTransferMatrix(code);
      enumerators[1].computeTransferMatrix(other);
      const StageEnd end = enumerators[0].computeCwef(code, context);
      return end == StageEnd::Cancelled ? end : enumerators[1].computeCwef(other, context);
    }
    enumerators[0].computeRepetitionCwef(code);
    enumerators[1].computeTransferMatrix(code);
    return enumerators[1].computeCwef(code, context);
  }

  // The "TWEF" stage: D, or −1 when cancelled (−2 when it could not run).
  std::int32_t computeSpectrum() {
    return stageCode(turbo.concatenationType == ConcatenationType::Parallel
                         ? turbo.computeParallelSpectrum(codeword, weighted, context)
                         : turbo.computeSerialSpectrum(codeword, weighted, context));
  }

  // Both stages; D, or −1 when cancelled.
  std::int32_t run() {
    return computeEnumerators() == StageEnd::Cancelled ? -1 : computeSpectrum();
  }

  // A log-domain spectrum turned into plain numbers (small frames need no scale).
  static std::vector<double> plain(std::vector<double> logSpectrum) {
    scaleSpectrum(logSpectrum, static_cast<std::int32_t>(logSpectrum.size()) - 1);
    return logSpectrum;
  }

  ConvCode code;
  ConvCode secondCode;
  WeightEnumerator enumerators[2];
  TurboCode turbo;
  RecordingTarget target;
  CancelFlag cancel{0};
  RunContext context;
  std::vector<double> codeword;
  std::vector<double> weighted;
};

// One configuration twice, once per engine (the fast one on `threads` threads), each with a
// clock that advances one unit of the estimate (16 ms) at every reading, so that the two
// engines' progress texts can be compared.
struct EnginePair {
  TurboPipeline reference;
  TurboPipeline fast;
  std::int32_t now[2] = {0, 0};

  EnginePair(const CodeDescription& description, ConcatenationType type, std::int32_t frameLength,
             int threads, const TurboPuncturing& puncturing = {},
             const std::optional<CodeDescription>& second = std::nullopt,
             TablePrecision precision = TablePrecision::Single)
      : reference(description, type, frameLength, Engine::Reference, puncturing, second, precision),
        fast(description, type, frameLength, Engine::Fast, puncturing, second, precision) {
    fast.context.threads = threads;
    reference.context.clock = [this] { return now[0] += 16; };
    fast.context.clock = [this] { return now[1] += 16; };
  }
  EnginePair(const EnginePair&) = delete;
  EnginePair& operator=(const EnginePair&) = delete;
};

}  // namespace brevandor::testing
