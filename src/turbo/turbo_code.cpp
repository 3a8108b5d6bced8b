#include "turbo/turbo_code.h"

namespace brevandor {

TurboCode::TurboCode(std::int32_t type, std::int32_t count)
    : concatenationType(type), constituentCount(count) {}

void TurboCode::attachConstituent(std::int32_t index, const ConvCode& code,
                                  WeightEnumerator& enumerator) {
  if (index < 0 || index >= kMaxConstituents) {
    return;
  }
  codes[static_cast<std::size_t>(index)] = &code;
  enumerators[static_cast<std::size_t>(index)] = &enumerator;
}

namespace {

void configure(WeightEnumerator* enumerator, std::int32_t frameLength,
               std::uint32_t countsInputBits, std::int32_t repetitionFactor) {
  if (enumerator == nullptr) {
    return;
  }
  enumerator->frameLength = frameLength;
  enumerator->countsInputBits = countsInputBits;
  enumerator->repetitionFactor = repetitionFactor;
}

}  // namespace

std::int32_t TurboCode::setFrameLength(std::int32_t inputFrameLength,
                                       std::int32_t repetitionFactor) {
  if (constituentCount > kMaxConstituents) {
    return -1;
  }
  const auto count = static_cast<std::size_t>(constituentCount);
  for (std::size_t c = 0; c < count; ++c) {
    if (codes[c] == nullptr) {
      return -2;
    }
  }
  hasNonSystematic = 0;
  for (std::size_t c = 0; c < count; ++c) {
    if (!isSystematic(codes[c]->kind)) {
      hasNonSystematic = 1;
    }
  }
  // Parallel constituents of systematic codes count parity bits only: the shared input
  // bits are sent once. Everything else counts all output bits.
  const std::uint32_t countsInputBits =
      (concatenationType != Parallel || hasNonSystematic == 1) ? 1u : 0u;
  const std::int32_t n = inputFrameLength;

  if (concatenationType == Parallel) {
    outputFrameLength = hasNonSystematic == 1 ? 0 : n;
    for (std::size_t c = 0; c < count; ++c) {
      frameLengths[c] = n;
      configure(enumerators[c], n, countsInputBits, 0);
      outputFrameLength +=
          hasNonSystematic == 1 ? codes[c]->outputLength(n) : codes[c]->parityLength(n);
    }
  } else if (concatenationType == Serial) {
    frameLengths[0] = n;
    configure(enumerators[0], n, countsInputBits, 0);
    for (std::size_t c = 1; c < count; ++c) {
      frameLengths[c] = codes[c - 1]->outputLength(frameLengths[c - 1]);
      configure(enumerators[c], frameLengths[c], countsInputBits, 0);
    }
    outputFrameLength = codes[count - 1]->outputLength(frameLengths[count - 1]);
  } else {
    // The outer repetition code sends every input bit r times.
    frameLengths[0] = n;
    configure(enumerators[0], n, countsInputBits, repetitionFactor);
    frameLengths[1] = repetitionFactor * n;
    for (std::size_t c = 1; c < count; ++c) {
      frameLengths[c + 1] = codes[c]->outputLength(frameLengths[c]);
      configure(enumerators[c], frameLengths[c], countsInputBits, 0);
    }
    outputFrameLength = codes[count - 1]->outputLength(frameLengths[count - 1]);
  }
  frameLengths[count] = outputFrameLength;
  rate = static_cast<double>(n) / static_cast<double>(outputFrameLength);
  return 0;
}

}  // namespace brevandor
