#include "turbo/turbo_code.h"

#include <vector>

namespace brevandor {

TurboCode::TurboCode(ConcatenationType type, std::int32_t count)
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
               std::uint32_t countsInputBits, std::int32_t repetitionFactor,
               const SectionPuncturing& puncturing = {}, const FrameEnding& ending = {}) {
  if (enumerator == nullptr) {
    return;
  }
  enumerator->frameLength = frameLength;
  enumerator->countsInputBits = countsInputBits;
  enumerator->repetitionFactor = repetitionFactor;
  enumerator->puncturing = puncturing;
  enumerator->ending = ending;
}

// Where each output bit of a rate-1/n systematic section takes its row of the pattern: bit
// n − 1 the systematic bit (row `systematicRow`; −1: always sent), bit m − i parity output i
// of m (row firstParityRow + i − 1). A code of another shape, or a pattern without those
// rows, punctures nothing.
SectionPuncturing puncturingOf(const ConvCode& code, const PuncturePattern& pattern,
                               std::int32_t systematicRow, std::int32_t firstParityRow) {
  const std::int32_t parities = code.n - 1;
  if (code.k != 1 || !isSystematic(code.kind) || parities < 1 ||
      static_cast<std::size_t>(firstParityRow + parities) > pattern.rows.size()) {
    return {};
  }
  std::vector<std::int32_t> rowOfBit(static_cast<std::size_t>(code.n));
  rowOfBit[static_cast<std::size_t>(parities)] = systematicRow;
  for (std::int32_t i = 1; i <= parities; ++i) {
    rowOfBit[static_cast<std::size_t>(parities - i)] = firstParityRow + i - 1;
  }
  return sectionPuncturing(pattern, rowOfBit);
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
  // bits are sent once. Everything else counts all output bits. A punctured systematic row
  // makes the first constituent count the systematic bits it sends with its parity.
  const std::uint32_t countsInputBits =
      (concatenationType != ConcatenationType::Parallel || hasNonSystematic == 1) ? 1u : 0u;
  const std::int32_t n = inputFrameLength;
  countsSentSystematic = concatenationType == ConcatenationType::Parallel &&
                                 hasNonSystematic == 0 && !puncturing.parallel.empty() &&
                                 puncturing.parallel.puncturesRow(0)
                             ? 1
                             : 0;
  sectionPuncturing.fill(SectionPuncturing{});

  if (concatenationType == ConcatenationType::Parallel) {
    outputFrameLength = addsInputWeight() ? n : 0;
    std::int32_t firstParityRow = 1;
    for (std::size_t c = 0; c < count; ++c) {
      frameLengths[c] = n;
      // Encoder 1 sends SYS and its parity rows, each later encoder its own parity rows;
      // their systematic bits are never sent, so their masks keep them for the parity-only
      // count to take off.
      if (!puncturing.parallel.empty()) {
        sectionPuncturing[c] =
            puncturingOf(*codes[c], puncturing.parallel, c == 0 ? 0 : -1, firstParityRow);
        firstParityRow += codes[c]->n - 1;
      }
      const std::uint32_t counts = c == 0 && countsSentSystematic == 1 ? 1u : countsInputBits;
      const FrameEnding ending = endingOf(static_cast<std::int32_t>(c));
      configure(enumerators[c], n, counts, 0, sectionPuncturing[c], ending);
      sentLengths[c] = countedLength(*codes[c], n, counts != 0, sectionPuncturing[c], ending);
      outputFrameLength += sentLengths[c];
    }
    if (addsInputWeight()) {
      sentLengths[0] += n;
    }
  } else if (concatenationType == ConcatenationType::Serial) {
    // The outer pattern thins the outer codeword, which the interleaver then carries whole
    // to the inner code; the inner pattern thins what the inner code sends.
    sectionPuncturing[0] = puncturingOf(*codes[0], puncturing.outer, 0, 1);
    if (count > 1) {
      sectionPuncturing[count - 1] = puncturingOf(*codes[count - 1], puncturing.inner, 0, 1);
    }
    frameLengths[0] = n;
    for (std::size_t c = 0; c < count; ++c) {
      const FrameEnding ending = endingOf(static_cast<std::int32_t>(c));
      configure(enumerators[c], frameLengths[c], countsInputBits, 0, sectionPuncturing[c], ending);
      sentLengths[c] =
          countedLength(*codes[c], frameLengths[c], true, sectionPuncturing[c], ending);
      if (c + 1 < count) {
        frameLengths[c + 1] = sentLengths[c];
      }
    }
    outputFrameLength = sentLengths[count - 1];
  } else {
    // The outer repetition code sends every input bit r times.
    frameLengths[0] = n;
    configure(enumerators[0], n, countsInputBits, repetitionFactor);
    frameLengths[1] = repetitionFactor * n;
    sentLengths[0] = frameLengths[1];
    for (std::size_t c = 1; c < count; ++c) {
      const FrameEnding ending = endingOf(static_cast<std::int32_t>(c));
      frameLengths[c + 1] = countedLength(*codes[c], frameLengths[c], true, {}, ending);
      configure(enumerators[c], frameLengths[c], countsInputBits, 0, {}, ending);
      sentLengths[c] = frameLengths[c + 1];
    }
    outputFrameLength = frameLengths[count];
  }
  frameLengths[count] = outputFrameLength;
  rate = static_cast<double>(n) / static_cast<double>(outputFrameLength);
  return 0;
}

FrameEnding TurboCode::endingOf(std::int32_t c) const {
  return frameEndingOf(termination, tailRule, c);
}

bool TurboCode::isPunctured() const {
  for (const SectionPuncturing& constituent : sectionPuncturing) {
    if (!constituent.empty()) {
      return true;
    }
  }
  return false;
}

bool TurboCode::sameTableAsFirst(std::int32_t c) const {
  return sameTables(0, c);
}

bool TurboCode::sharesFirstTable() const {
  for (std::int32_t c = 1; c < constituentCount && c < kMaxConstituents; ++c) {
    if (!sameTableAsFirst(c)) {
      return false;
    }
  }
  return true;
}

std::int32_t TurboCode::tableSource(std::int32_t c) const {
  for (std::int32_t earlier = 0; earlier < c; ++earlier) {
    if (sameTables(earlier, c)) {
      return earlier;
    }
  }
  return c;
}

bool TurboCode::sameTables(std::int32_t a, std::int32_t b) const {
  const auto index = static_cast<std::size_t>(b);
  const WeightEnumerator* first = enumerators[static_cast<std::size_t>(a)];
  const WeightEnumerator* other = enumerators[index];
  const ConvCode* firstCode = codes[static_cast<std::size_t>(a)];
  if (firstCode == nullptr || codes[index] == nullptr || first == nullptr || other == nullptr) {
    return false;
  }
  return codes[index]->description == firstCode->description &&
         other->frameLength == first->frameLength &&
         other->countsInputBits == first->countsInputBits &&
         other->repetitionFactor == first->repetitionFactor &&
         other->puncturing == first->puncturing && other->ending == first->ending &&
         other->precision == first->precision;
}

}  // namespace brevandor
