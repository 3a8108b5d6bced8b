#include "run/low_weight_stages.h"

#include <algorithm>
#include <string>
#include <vector>

#include "enumerators/low_weight/low_weight_cwef.h"
#include "turbo/low_weight_cuts.h"
#include "turbo/low_weight_spectrum.h"

namespace brevandor {

namespace {

constexpr const char* kCompletedText = " Completed \n";

WeightEnumerator& enumeratorOf(TurboCode& turbo, std::size_t c) {
  return *turbo.enumerators[c];
}
const ConvCode& codeOf(const TurboCode& turbo, std::size_t c) {
  return *turbo.codes[c];
}

// Creates constituent c's cut tables and its transfer matrix.
LowWeightCut prepareConstituent(TurboCode& turbo, std::size_t c, std::int32_t limit) {
  WeightEnumerator& enumerator = enumeratorOf(turbo, c);
  const LowWeightCut cut = lowWeightCutOf(turbo, static_cast<std::int32_t>(c), limit);
  allocateLowWeightTables(enumerator, codeOf(turbo, c), cut);
  enumerator.computeTransferMatrix(codeOf(turbo, c));
  return cut;
}

StageEnd computeConstituent(TurboCode& turbo, std::size_t c, const LowWeightCut& cut,
                            const RunContext& context) {
  return computeLowWeightCwef(enumeratorOf(turbo, c), codeOf(turbo, c), cut, context);
}

// Three or more parallel constituents, not all of one table: each table of its own computed
// in turn, a constituent of an earlier one's code, frame and pattern copying it.
StageEnd runManyParallelStages(TurboCode& turbo, std::int32_t limit, const RunContext& context) {
  std::vector<LowWeightCut> cuts(static_cast<std::size_t>(turbo.constituentCount));
  for (std::int32_t c = 0; c < turbo.constituentCount; ++c) {
    if (turbo.tableSource(c) == c) {
      cuts[static_cast<std::size_t>(c)] =
          prepareConstituent(turbo, static_cast<std::size_t>(c), limit);
    }
  }
  context.postLogLine(kCompletedText);
  for (std::int32_t c = 0; c < turbo.constituentCount; ++c) {
    const auto index = static_cast<std::size_t>(c);
    const std::int32_t source = turbo.tableSource(c);
    if (source != c) {
      copyLowWeightTables(enumeratorOf(turbo, static_cast<std::size_t>(source)),
                          enumeratorOf(turbo, index));
      continue;
    }
    context.postLogLine(" CWEF " + std::to_string(c + 1) + " Calculation .. ");
    if (computeConstituent(turbo, index, cuts[index], context) == StageEnd::Cancelled) {
      return StageEnd::Cancelled;
    }
    context.postLogLine(kCompletedText);
  }
  return StageEnd::Completed;
}

}  // namespace

std::int32_t lowWeightLimit(const TurboCode& turbo, std::int32_t maxWeight) {
  return maxWeight > 0 ? std::min(maxWeight, turbo.outputFrameLength) : 0;
}

StageEnd runLowWeightEnumeratorStages(TurboCode& turbo, std::int32_t limit,
                                      const RunContext& context) {
  context.postLogLine("\n TM Calculation .. ");
  // Parallel constituents of two codes have tables of their own, computed one after the
  // other as a serial code's are.
  const bool shared =
      turbo.concatenationType == ConcatenationType::Parallel && turbo.sharesFirstTable();
  if (turbo.concatenationType == ConcatenationType::Parallel && !shared &&
      turbo.constituentCount > 2) {
    return runManyParallelStages(turbo, limit, context);
  }
  if (shared) {
    const LowWeightCut cut = prepareConstituent(turbo, 0, limit);
    context.postLogLine(kCompletedText);
    context.postLogLine(" CWEF Calculation .. ");
    if (computeConstituent(turbo, 0, cut, context) == StageEnd::Cancelled) {
      return StageEnd::Cancelled;
    }
    for (std::size_t c = 1; c < static_cast<std::size_t>(turbo.constituentCount); ++c) {
      copyLowWeightTables(enumeratorOf(turbo, 0), enumeratorOf(turbo, c));
    }
    context.postLogLine(kCompletedText);
    return StageEnd::Completed;
  }
  // The repetition code's counts C(N, w) at weight r · w are known: it needs no table.
  const bool outerCode = turbo.concatenationType != ConcatenationType::RepetitionSerial;
  const LowWeightCut outer = outerCode ? prepareConstituent(turbo, 0, limit) : LowWeightCut{};
  const LowWeightCut inner = prepareConstituent(turbo, 1, limit);
  context.postLogLine(kCompletedText);
  if (outerCode) {
    context.postLogLine(" CWEF 1 Calculation .. ");
    if (computeConstituent(turbo, 0, outer, context) == StageEnd::Cancelled) {
      return StageEnd::Cancelled;
    }
    context.postLogLine(kCompletedText);
  }
  context.postLogLine(" CWEF 2 Calculation .. ");
  if (computeConstituent(turbo, 1, inner, context) == StageEnd::Cancelled) {
    return StageEnd::Cancelled;
  }
  context.postLogLine(kCompletedText);
  return StageEnd::Completed;
}

std::optional<std::int32_t> derivedInputWeightLimit(const TurboCode& turbo, std::int32_t limit) {
  if (limit <= 0 || !leavesInputBitsUnsent(turbo)) {
    return std::nullopt;
  }
  const std::optional<LowWeightCuts> cuts = lowWeightCuts(turbo, limit);
  return cuts ? cuts->derivedInputLimit : std::nullopt;
}

StageResult<std::int32_t> computeLowWeightSpectrum(TurboCode& turbo, std::int32_t limit,
                                                   std::span<double> codewordSpectrum,
                                                   std::span<double> weightedSpectrum,
                                                   const RunContext& context) {
  const SpectrumOutput spectra{codewordSpectrum, weightedSpectrum};
  return turbo.concatenationType == ConcatenationType::Parallel
             ? computeLowWeightParallelSpectrum(turbo, limit, spectra, context)
             : computeLowWeightSerialSpectrum(turbo, limit, spectra, context);
}

}  // namespace brevandor
