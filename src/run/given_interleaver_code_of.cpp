#include "run/given_interleaver_code_of.h"

namespace brevandor {

namespace {

// π applied `times` times: the order in which an encoder behind that many interleavers reads
// the input.
std::vector<std::int32_t> powerOf(const std::vector<std::int32_t>& permutation,
                                  std::int32_t times) {
  std::vector<std::int32_t> power = permutation;
  for (std::int32_t i = 1; i < times; ++i) {
    for (std::int32_t& entry : power) {
      entry = permutation[static_cast<std::size_t>(entry)];
    }
  }
  return power;
}

bool searchable(const TurboCode& turbo) {
  return turbo.concatenationType == ConcatenationType::Parallel ||
         (turbo.concatenationType == ConcatenationType::Serial && turbo.constituentCount == 2);
}

}  // namespace

std::optional<GivenInterleaverCode> givenInterleaverCodeOf(const TurboCode& turbo,
                                                           std::vector<std::int32_t> permutation) {
  if (!searchable(turbo)) {
    return std::nullopt;
  }
  GivenInterleaverCode code;
  const std::int32_t n = turbo.frameLengths[0];
  if (turbo.concatenationType == ConcatenationType::Parallel) {
    code.concatenation = GivenConcatenation::Parallel;
    // Encoder 1 carries every input bit that is sent: with systematic constituents the input
    // (or its sent part) is counted with encoder 1's parity, which its masks keep.
    code.first = {turbo.codes[0], n, true, turbo.sectionPuncturing[0], turbo.endingOf(0)};
    const auto later = [&](std::int32_t c) {
      const auto index = static_cast<std::size_t>(c);
      return WeightedConstituent{turbo.codes[index], n, turbo.hasNonSystematic == 1,
                                 turbo.sectionPuncturing[index], turbo.endingOf(c)};
    };
    code.second = later(1);
    for (std::int32_t c = 2; c < turbo.constituentCount; ++c) {
      code.further.push_back({later(c), powerOf(permutation, c)});
    }
  } else {
    code.concatenation = GivenConcatenation::Serial;
    code.first = {turbo.codes[0], n, true, turbo.sectionPuncturing[0], turbo.endingOf(0)};
    code.second = {turbo.codes[1], turbo.frameLengths[1], true, turbo.sectionPuncturing[1],
                   turbo.endingOf(1)};
  }
  code.permutation = std::move(permutation);
  return code;
}

std::int32_t givenInterleaverLength(const TurboCode& turbo) {
  if (!searchable(turbo)) {
    return 0;
  }
  return turbo.concatenationType == ConcatenationType::Parallel ? turbo.frameLengths[0]
                                                                : turbo.frameLengths[1];
}

}  // namespace brevandor
