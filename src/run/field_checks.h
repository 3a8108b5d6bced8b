#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "code/puncture_pattern.h"
#include "run/run_inputs.h"
#include "turbo/turbo_puncturing.h"

namespace brevandor {

// What the entry fields of both front ends refuse, beside the frame-length and thread-count
// checks of run_inputs.h: each returns the refusal in the field's words, or an empty text for
// a value the run takes.

// A list of up to four polynomials in D separated by commas (a numerator field), at most
// `maxLength` characters.
std::string polynomialListRefusal(std::string_view text, std::size_t maxLength);

// A puncturing pattern, its rows separated by commas, as far as the field alone can tell: the
// number of streams follows from the codes (one row per parity output), so any number of rows
// from `rows.size()` up to kMaxPatternRows is read here and the run checks the count.
std::string puncturePatternRefusal(std::string_view text, std::span<const std::string_view> rows);

// The most characters a pattern of the most rows and the longest period takes.
inline constexpr std::size_t kMaxPatternTextLength =
    kMaxPatternRows * (PuncturePattern::kMaxPeriod + 1) - 1;

// An interleaver description: random, random:SEED, s-random:S[:SEED], qpp:F1,F2, lte, ccsds or
// file:PATH.
std::string interleaverRefusal(std::string_view text);

// Whether the numerator field (one polynomial) equals the denominator, so that the parity bit
// only repeats the input bit: a warning, not a refusal.
bool parityRepeatsInput(std::string_view numerator, std::string_view denominator);

// The spectrum of a run on a given spectrum: the file read and checked against its code
// length, or why it cannot serve (without the file's name, which the caller adds).
struct SpectrumInputCheck {
  std::optional<SpectrumInput> input;
  std::string message;
};
SpectrumInputCheck readSpectrumInput(const std::string& path, std::int32_t codeLength,
                                     std::int32_t infoBits);

}  // namespace brevandor
