#pragma once

#include <cstdint>
#include <vector>

#include "code/conv_code.h"
#include "code/puncture_pattern.h"
#include "decoding/decoder_settings.h"

namespace brevandor {

// One constituent encoder's part of a frame: its code, its sections and the output bits
// each section sends.
struct ConstituentFrame {
  const ConvCode* code = nullptr;
  std::int32_t inputLength = 0;   // information sections (one input bit each)
  std::int32_t tailSections = 0;  // sections that return the encoder to state 0; 0 when open
  SectionPuncturing puncturing;   // the output bits each information section sends
  // Whether the information sections send their systematic bit (a parallel code's second
  // encoder does not: its systematic bits are the first encoder's, interleaved).
  bool sendsSystematic = true;

  std::int32_t sections() const { return inputLength + tailSections; }
  std::int32_t outputBits() const { return code->n; }
  TrellisEnd end() const { return tailSections > 0 ? TrellisEnd::Terminated : TrellisEnd::Open; }
  // The output-word bits that section t sends: tail sections send all of them.
  std::uint32_t sentMask(std::int32_t t) const;
  // sentMask of every section, in order.
  std::vector<std::uint32_t> sentMasks() const;
  // The output-word bit of the input bit, or −1 for a non-systematic code.
  std::int32_t systematicBit() const { return isSystematic(code->kind) ? code->n - 1 : -1; }
  // The bits that the whole constituent sends.
  std::int32_t sentBits() const;
};

// The concatenation kinds the decoders know.
enum class FrameKind { Parallel, Serial, RepetitionSerial };

// The shape of one turbo frame as it is sent: which bits of which constituent reach the
// channel, and how the interleaver connects the constituents. Parallel: `first` and
// `second` are encoders 1 and 2 over the same N input bits (encoder 2's interleaved).
// Serial: `first` is the outer code; the bits it sends, in the order of `outerSent`, are
// interleaved into the inner code `second`, whose bits alone reach the channel.
// RepetitionSerial: each input bit repeated `repetition` times, interleaved into `second`.
struct TurboFrame {
  FrameKind kind = FrameKind::Parallel;
  std::int32_t inputLength = 0;  // N information bits
  std::int32_t repetition = 1;   // RepetitionSerial: r
  ConstituentFrame first;
  ConstituentFrame second;
  // Serial: the positions (t·n + i) of the outer code's sent bits, in the order they enter
  // the interleaver: section by section, the systematic (highest) bit first.
  std::vector<std::int32_t> outerSent;

  // Positions of the interleaver: N, the outer code's sent bits, or r·N.
  std::int32_t interleaverLength() const;
  // Bits on the channel per frame, tails included and punctured bits left out.
  std::int32_t channelBits() const;
};

// Which encoders of a frame end open (no tail: wherever their input leaves them) rather than
// terminated with their own tail, sent whole.
struct FrameEnds {
  bool firstOpen = false;   // encoder 1, or the outer code
  bool secondOpen = false;  // encoder 2, or the inner code
};

// A parallel frame of two encoders over N input bits, with the section puncturing of each;
// `secondSendsSystematic` when encoder 2's systematic bits are sent too.
TurboFrame parallelFrame(const ConvCode& first, const ConvCode& second, std::int32_t inputLength,
                         const SectionPuncturing& firstPuncturing = {},
                         const SectionPuncturing& secondPuncturing = {},
                         bool secondSendsSystematic = false, FrameEnds ends = {});

// A serial frame: an outer code over N input bits, its sent bits interleaved into an inner
// code.
TurboFrame serialFrame(const ConvCode& outer, const ConvCode& inner, std::int32_t inputLength,
                       const SectionPuncturing& outerPuncturing = {},
                       const SectionPuncturing& innerPuncturing = {}, FrameEnds ends = {});

// A repetition-outer frame: each of N input bits sent r times through the interleaver into
// the inner code (`ends.secondOpen`: left open).
TurboFrame repetitionFrame(const ConvCode& inner, std::int32_t inputLength, std::int32_t repetition,
                           FrameEnds ends = {});

}  // namespace brevandor
