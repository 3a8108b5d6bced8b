#pragma once

#include <array>
#include <cstdint>
#include <span>

#include "code/conv_code.h"
#include "code/termination.h"
#include "enumerators/weight_enumerator.h"
#include "progress/run_context.h"
#include "progress/stage_result.h"
#include "turbo/concatenation_type.h"
#include "turbo/turbo_puncturing.h"

namespace brevandor {

// Why a spectrum stage could not run: a constituent's code or table was missing.
inline constexpr const char* kIncompleteTablesText =
    "The spectrum stage found the constituent tables incomplete";

// One concatenated code for one run: how its constituents are concatenated, which code and
// enumerator belong to each, and the frame lengths and rate that follow. It refers to the
// codes and enumerators; the run owns them.
class TurboCode {
 public:
  static constexpr std::int32_t kMaxConstituents = 4;

  TurboCode(ConcatenationType type, std::int32_t count);

  ConcatenationType concatenationType = ConcatenationType::Parallel;
  std::int32_t constituentCount = 2;
  std::int32_t hasNonSystematic = 0;
  // Entry c < count: input bits of constituent c's frame; entry count: outputFrameLength.
  std::array<std::int32_t, kMaxConstituents + 1> frameLengths{};
  std::int32_t outputFrameLength = 0;  // code bits of one frame, tails included
  double rate = 0.0;                   // input frame length / outputFrameLength
  std::array<const ConvCode*, kMaxConstituents> codes{};
  std::array<WeightEnumerator*, kMaxConstituents> enumerators{};
  // The patterns of the frame, set before setFrameLength (none: nothing punctured).
  TurboPuncturing puncturing;
  // Set by setFrameLength, per constituent: the output bits each of its sections sends, and
  // the bits the constituent sends in all, tail included.
  std::array<SectionPuncturing, kMaxConstituents> sectionPuncturing{};
  std::array<std::int32_t, kMaxConstituents> sentLengths{};
  // Parallel: 1 when the systematic row leaves bits out, so that the first constituent's
  // table counts the systematic bits it sends and the spectrum adds no input weight.
  std::int32_t countsSentSystematic = 0;
  // How the frames end and which tail bits are sent, set before setFrameLength.
  Termination termination = Termination::Both;
  TailRule tailRule;

  void attachConstituent(std::int32_t index, const ConvCode& code, WeightEnumerator& enumerator);

  // Derives every length from the input frame length and configures each attached
  // enumerator. Returns 0, −1 for more than four constituents, −2 for a constituent
  // without a code; on −1 and −2 nothing changes.
  std::int32_t setFrameLength(std::int32_t inputFrameLength, std::int32_t repetitionFactor);

  // How constituent c's frame ends under the termination and tail rule.
  FrameEnding endingOf(std::int32_t c) const;
  // Whether any pattern leaves out a bit of this code's frame.
  bool isPunctured() const;
  // Parallel: whether the input bits are sent once outside the constituent tables, so the
  // spectrum adds the input weight to the counted weights.
  bool addsInputWeight() const { return hasNonSystematic == 0 && countsSentSystematic == 0; }
  // Whether constituent c's table equals the first one's: the same code, frame length,
  // counted bits and puncturing (both enumerators attached).
  bool sameTableAsFirst(std::int32_t c) const;
  // Whether every constituent's table equals the first one's.
  bool sharesFirstTable() const;
  // The first constituent whose table equals constituent c's: c itself when none before it.
  std::int32_t tableSource(std::int32_t c) const;
  // Whether the tables of constituents a and b are equal (both attached).
  bool sameTables(std::int32_t a, std::int32_t b) const;

  // The average distance spectrum over the uniform interleaver, in the log10 domain:
  // `codewordSpectrum`[d] and `weightedSpectrum`[d] for d = 0 … outputFrameLength.
  // The last weight, outputFrameLength; cancelled; or failed with kIncompleteTablesText
  // (nothing touched) when a constituent lacks its code or a table of the configured size,
  // or a spectrum is shorter than outputFrameLength + 1.
  StageResult<std::int32_t> computeParallelSpectrum(std::span<double> codewordSpectrum,
                                                    std::span<double> weightedSpectrum,
                                                    const RunContext& context);
  StageResult<std::int32_t> computeSerialSpectrum(std::span<double> codewordSpectrum,
                                                  std::span<double> weightedSpectrum,
                                                  const RunContext& context);
};

}  // namespace brevandor
