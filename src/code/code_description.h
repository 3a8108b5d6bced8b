#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace brevandor {

// The four kinds of convolutional code. Bit 0 of the value means systematic, bit 1 recursive.
enum CodeKind : std::int32_t {
  NonRecursiveNonSystematic = 0,
  NonRecursiveSystematic = 1,
  RecursiveNonSystematic = 2,
  RecursiveSystematic = 3,
};

// The display text of a code kind, as the results file prints it.
std::string_view codeKindText(std::int32_t kind);

constexpr bool isSystematic(std::int32_t kind) {
  return (kind & 1) != 0;
}
constexpr bool isRecursive(std::int32_t kind) {
  return (kind & 2) != 0;
}

// The most parity outputs a systematic code ( 1, g1/h, …, gm/h ) may have.
inline constexpr std::int32_t kMaxParityOutputs = 4;

// A convolutional code as the user described it: kind, bits per trellis section, register
// length and generators. The low 16 bits of a generator are a feedforward polynomial mask;
// the high 16 bits of generators[n − 1] hold the feedback polynomial of a recursive code
// (describeCode puts it in every parity generator, so generators[1] always carries it too).
struct CodeDescription {
  std::int32_t kind = RecursiveSystematic;
  std::int32_t k = 1;
  std::int32_t n = 2;
  std::int32_t registerLength = 0;  // K: highest polynomial degree plus 1
  std::array<std::int32_t, kMaxParityOutputs + 1> generators{};

  friend bool operator==(const CodeDescription&, const CodeDescription&) = default;
};

// Refusal texts of describeCode.
inline constexpr std::string_view kInvalidParityEquation = "Invalid Parity Equation ";
inline constexpr std::string_view kFeedbackWithoutConstantTerm =
    "Invalid Feedback Polynomial : the denominator needs the constant term 1 ";

// Either a code description or the text that says why there is none.
struct DescribedCode {
  std::optional<CodeDescription> description;
  std::string failure;

  explicit operator bool() const { return description.has_value(); }
};

// Derives the description of the systematic code ( 1, numerator / denominator ) from two
// parsed polynomial masks (both positive). Refuses codes of degree below 2 with
// "Invalid Parity Equation ", and a denominator without the constant term, which would give
// an encoder whose feedback never sees its input.
DescribedCode describeCode(std::int32_t numerator, std::int32_t denominator);

// The systematic code ( 1, g1/h, …, gm/h ) of 1 ≤ m ≤ kMaxParityOutputs numerators over one
// denominator: n = m + 1, parity output i (from 1) in generators[i] and in output-word bit
// m − i, below the systematic bit. Refuses as describeCode does; one numerator gives exactly
// describeCode's description.
DescribedCode describeCode(std::span<const std::int32_t> numerators, std::int32_t denominator);

// The parity outputs of a code: n − k for a systematic code, n otherwise.
constexpr std::int32_t parityOutputCount(const CodeDescription& description) {
  return isSystematic(description.kind) ? description.n - description.k : description.n;
}

// The numerator masks of a systematic rate-1/n code, in polynomial order, and its
// denominator mask (1 for a feedforward code).
std::vector<std::int32_t> numeratorMasks(const CodeDescription& description);
std::int32_t denominatorMask(const CodeDescription& description);

// The code that concatenation type 2 places behind its repetition code: one output bit per
// input bit, the parity of the same numerator with the same feedback, i.e. the
// non-systematic counterpart of `description` (recursive stays recursive).
CodeDescription nonSystematicCounterpart(const CodeDescription& description);

}  // namespace brevandor
