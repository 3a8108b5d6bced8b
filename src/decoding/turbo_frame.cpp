#include "decoding/turbo_frame.h"

#include <bit>

namespace brevandor {

std::uint32_t ConstituentFrame::sentMask(std::int32_t t) const {
  const auto allBits = static_cast<std::uint32_t>((1u << code->n) - 1u);
  if (t >= inputLength) {
    return allBits;
  }
  std::uint32_t mask = puncturing.sentBits(t, allBits);
  if (!sendsSystematic && systematicBit() >= 0) {
    mask &= ~(1u << systematicBit());
  }
  return mask;
}

std::vector<std::uint32_t> ConstituentFrame::sentMasks() const {
  std::vector<std::uint32_t> masks(static_cast<std::size_t>(sections()));
  for (std::int32_t t = 0; t < sections(); ++t) {
    masks[static_cast<std::size_t>(t)] = sentMask(t);
  }
  return masks;
}

std::int32_t ConstituentFrame::sentBits() const {
  std::int32_t bits = 0;
  for (std::int32_t t = 0; t < sections(); ++t) {
    bits += std::popcount(sentMask(t));
  }
  return bits;
}

std::int32_t TurboFrame::interleaverLength() const {
  switch (kind) {
    case FrameKind::Parallel:
      return inputLength;
    case FrameKind::Serial:
      return static_cast<std::int32_t>(outerSent.size());
    case FrameKind::RepetitionSerial:
      return repetition * inputLength;
  }
  return 0;
}

std::int32_t TurboFrame::channelBits() const {
  return kind == FrameKind::Parallel ? first.sentBits() + second.sentBits() : second.sentBits();
}

namespace {

ConstituentFrame constituentFrame(const ConvCode& code, std::int32_t inputLength,
                                  const SectionPuncturing& puncturing, bool open) {
  ConstituentFrame frame;
  frame.code = &code;
  frame.inputLength = inputLength;
  frame.tailSections = open ? 0 : code.tailLength();
  frame.puncturing = puncturing;
  return frame;
}

}  // namespace

TurboFrame parallelFrame(const ConvCode& first, const ConvCode& second, std::int32_t inputLength,
                         const SectionPuncturing& firstPuncturing,
                         const SectionPuncturing& secondPuncturing, bool secondSendsSystematic,
                         FrameEnds ends) {
  TurboFrame frame;
  frame.kind = FrameKind::Parallel;
  frame.inputLength = inputLength;
  frame.first = constituentFrame(first, inputLength, firstPuncturing, ends.firstOpen);
  frame.second = constituentFrame(second, inputLength, secondPuncturing, ends.secondOpen);
  frame.second.sendsSystematic = secondSendsSystematic;
  return frame;
}

TurboFrame serialFrame(const ConvCode& outer, const ConvCode& inner, std::int32_t inputLength,
                       const SectionPuncturing& outerPuncturing,
                       const SectionPuncturing& innerPuncturing, FrameEnds ends) {
  TurboFrame frame;
  frame.kind = FrameKind::Serial;
  frame.inputLength = inputLength;
  frame.first = constituentFrame(outer, inputLength, outerPuncturing, ends.firstOpen);
  for (std::int32_t t = 0; t < frame.first.sections(); ++t) {
    const std::uint32_t mask = frame.first.sentMask(t);
    for (std::int32_t i = outer.n - 1; i >= 0; --i) {
      if (((mask >> i) & 1u) != 0) {
        frame.outerSent.push_back(t * outer.n + i);
      }
    }
  }
  frame.second =
      constituentFrame(inner, frame.interleaverLength(), innerPuncturing, ends.secondOpen);
  return frame;
}

TurboFrame repetitionFrame(const ConvCode& inner, std::int32_t inputLength, std::int32_t repetition,
                           FrameEnds ends) {
  TurboFrame frame;
  frame.kind = FrameKind::RepetitionSerial;
  frame.inputLength = inputLength;
  frame.repetition = repetition;
  frame.second = constituentFrame(inner, repetition * inputLength, {}, ends.secondOpen);
  return frame;
}

}  // namespace brevandor
