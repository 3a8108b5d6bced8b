#include "turbo/low_weight_cuts.h"

#include <algorithm>

#include "enumerators/low_weight/input_weight_growth.h"

namespace brevandor {

namespace {

const WeightEnumerator& enumeratorOf(const TurboCode& turbo, std::int32_t c) {
  return *turbo.enumerators[static_cast<std::size_t>(c)];
}
const ConvCode& codeOf(const TurboCode& turbo, std::int32_t c) {
  return *turbo.codes[static_cast<std::size_t>(c)];
}

// The heaviest input word of the constituents `first` … `last` together (one input word
// through all of them, as in a PCCC) whose counted weights add to at most `outputLimit`.
std::optional<std::int64_t> heaviestInput(const TurboCode& turbo, std::int32_t first,
                                          std::int32_t last, std::int64_t outputLimit) {
  std::int64_t slope = 0;
  std::int64_t offset = 0;
  for (std::int32_t c = first; c <= last; ++c) {
    if (const std::optional<WeightGrowth> growth =
            weightGrowth(enumeratorOf(turbo, c), codeOf(turbo, c))) {
      slope += growth->slope;
      offset += growth->offset;
    }  // a constituent without growth adds nothing to the bound, which stays sound
  }
  return heaviestInputWithin(slope, offset, outputLimit);
}

std::int32_t clampedTo(std::int64_t weight, std::int32_t frameLength) {
  return static_cast<std::int32_t>(std::min<std::int64_t>(weight, frameLength));
}

std::optional<LowWeightCuts> parallelCuts(const TurboCode& turbo, std::int32_t maxWeight) {
  LowWeightCuts result;
  for (std::int32_t c = 0; c < turbo.constituentCount; ++c) {
    result.cuts.push_back(lowWeightCut(enumeratorOf(turbo, c), codeOf(turbo, c), maxWeight));
  }
  if (turbo.countsSentSystematic == 0) {
    return result;
  }
  const std::optional<std::int64_t> heaviest =
      heaviestInput(turbo, 0, turbo.constituentCount - 1, maxWeight);
  if (!heaviest) {
    return std::nullopt;
  }
  const std::int32_t limit = clampedTo(*heaviest, turbo.frameLengths[0]);
  for (LowWeightCut& cut : result.cuts) {
    cut.maxInputWeight = limit;
    cut.codewordLimit = -1;  // input bits are no longer all part of the codeword weight
  }
  result.derivedInputLimit = limit;
  return result;
}

std::optional<LowWeightCuts> serialCuts(const TurboCode& turbo, std::int32_t maxWeight) {
  const std::int32_t inner = turbo.constituentCount - 1;
  LowWeightCuts result;
  // The inner code's input weight: at most D, or what its growth allows.
  std::int32_t innerLimit = maxWeight;
  const bool innerUnsent =
      !turbo.puncturing.inner.empty() && turbo.puncturing.inner.puncturesRow(0);
  if (innerUnsent) {
    const std::optional<std::int64_t> heaviest = heaviestInput(turbo, inner, inner, maxWeight);
    if (!heaviest) {
      return std::nullopt;
    }
    innerLimit = clampedTo(*heaviest, turbo.frameLengths[static_cast<std::size_t>(inner)]);
    result.derivedInputLimit = innerLimit;
  }
  // The outer codeword is the inner code's input word: its weight is at most innerLimit.
  result.cuts.push_back(lowWeightCut(enumeratorOf(turbo, 0), codeOf(turbo, 0), innerLimit));
  const bool outerUnsent =
      !turbo.puncturing.outer.empty() && turbo.puncturing.outer.puncturesRow(0);
  if (outerUnsent && enumeratorOf(turbo, 0).repetitionFactor == 0) {
    const std::optional<std::int64_t> heaviest = heaviestInput(turbo, 0, 0, innerLimit);
    if (!heaviest) {
      return std::nullopt;
    }
    result.cuts[0].maxInputWeight = clampedTo(*heaviest, turbo.frameLengths[0]);
    result.derivedInputLimit = result.cuts[0].maxInputWeight;
  }
  for (std::int32_t c = 1; c <= inner; ++c) {
    result.cuts.push_back(lowWeightCut(enumeratorOf(turbo, c), codeOf(turbo, c), maxWeight));
  }
  if (innerUnsent) {
    result.cuts.back().maxInputWeight = innerLimit;
  }
  return result;
}

}  // namespace

bool leavesInputBitsUnsent(const TurboCode& turbo) {
  if (turbo.concatenationType == ConcatenationType::Parallel) {
    return turbo.countsSentSystematic != 0;
  }
  return (!turbo.puncturing.outer.empty() && turbo.puncturing.outer.puncturesRow(0)) ||
         (!turbo.puncturing.inner.empty() && turbo.puncturing.inner.puncturesRow(0));
}

std::optional<LowWeightCuts> lowWeightCuts(const TurboCode& turbo, std::int32_t maxWeight) {
  return turbo.concatenationType == ConcatenationType::Parallel ? parallelCuts(turbo, maxWeight)
                                                                : serialCuts(turbo, maxWeight);
}

LowWeightCut lowWeightCutOf(const TurboCode& turbo, std::int32_t c, std::int32_t maxWeight) {
  if (const std::optional<LowWeightCuts> cuts = lowWeightCuts(turbo, maxWeight)) {
    return cuts->cuts[static_cast<std::size_t>(c)];
  }
  return lowWeightCut(enumeratorOf(turbo, c), codeOf(turbo, c), maxWeight);
}

}  // namespace brevandor
