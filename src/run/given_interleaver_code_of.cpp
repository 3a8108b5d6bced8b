#include "run/given_interleaver_code_of.h"

namespace brevandor {

std::optional<GivenInterleaverCode> givenInterleaverCodeOf(const TurboCode& turbo,
                                                           std::vector<std::int32_t> permutation) {
  if (turbo.concatenationType == ConcatenationType::RepetitionSerial ||
      turbo.constituentCount != 2) {
    return std::nullopt;
  }
  GivenInterleaverCode code;
  code.permutation = std::move(permutation);
  const std::int32_t n = turbo.frameLengths[0];
  if (turbo.concatenationType == ConcatenationType::Parallel) {
    code.concatenation = GivenConcatenation::Parallel;
    // Encoder 1 carries every input bit that is sent: with systematic constituents the input
    // (or its sent part) is counted with encoder 1's parity, which its masks keep.
    code.first = {turbo.codes[0], n, true, turbo.sectionPuncturing[0], turbo.endingOf(0)};
    code.second = {turbo.codes[1], n, turbo.hasNonSystematic == 1, turbo.sectionPuncturing[1],
                   turbo.endingOf(1)};
  } else {
    code.concatenation = GivenConcatenation::Serial;
    code.first = {turbo.codes[0], n, true, turbo.sectionPuncturing[0], turbo.endingOf(0)};
    code.second = {turbo.codes[1], turbo.frameLengths[1], true, turbo.sectionPuncturing[1],
                   turbo.endingOf(1)};
  }
  return code;
}

std::int32_t givenInterleaverLength(const TurboCode& turbo) {
  if (turbo.concatenationType == ConcatenationType::RepetitionSerial ||
      turbo.constituentCount != 2) {
    return 0;
  }
  return turbo.concatenationType == ConcatenationType::Parallel ? turbo.frameLengths[0]
                                                                : turbo.frameLengths[1];
}

}  // namespace brevandor
