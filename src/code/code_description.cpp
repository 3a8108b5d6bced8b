#include "code/code_description.h"

namespace brevandor {

std::string_view codeKindText(std::int32_t kind) {
  switch (kind) {
    case NonRecursiveNonSystematic:
      return "Non-Recursive Non Systematic";
    case NonRecursiveSystematic:
      return "Non-Recursive Systematic";
    case RecursiveNonSystematic:
      return "Recursive Non Systematic";
    case RecursiveSystematic:
      return "Recursive Systematic";
    default:
      return "";
  }
}

namespace {

constexpr int kFeedbackShift = 16;

// The highest bit position from 12 down to 1 at which any of the masks has a 1, or 0.
int highestDegree(std::span<const std::int32_t> numerators, std::int32_t denominator) {
  std::int32_t all = denominator;
  for (const std::int32_t numerator : numerators) {
    all |= numerator;
  }
  for (int position = 12; position >= 1; --position) {
    if (((all >> position) & 1) != 0) {
      return position;
    }
  }
  return 0;
}

}  // namespace

DescribedCode describeCode(std::int32_t numerator, std::int32_t denominator) {
  const std::int32_t numerators[] = {numerator};
  return describeCode(numerators, denominator);
}

DescribedCode describeCode(std::span<const std::int32_t> numerators, std::int32_t denominator) {
  if (numerators.empty() || numerators.size() > static_cast<std::size_t>(kMaxParityOutputs)) {
    return {std::nullopt, std::string(kInvalidParityEquation)};
  }
  CodeDescription description;
  description.kind = denominator == 1 ? NonRecursiveSystematic : RecursiveSystematic;
  description.n = static_cast<std::int32_t>(numerators.size()) + 1;
  description.generators[0] = 1;
  // Every parity generator carries the feedback, so the one at n − 1 (the trellis's) does.
  const std::int32_t feedback = denominator == 1 ? 0 : denominator << kFeedbackShift;
  for (std::size_t i = 0; i < numerators.size(); ++i) {
    description.generators[i + 1] = numerators[i] + feedback;
  }

  const int degree = highestDegree(numerators, denominator);
  if (degree < 2) {
    return {std::nullopt, std::string(kInvalidParityEquation)};
  }
  if ((denominator & 1) == 0) {
    return {std::nullopt, std::string(kFeedbackWithoutConstantTerm)};
  }
  description.registerLength = degree + 1;
  return {description, {}};
}

std::vector<std::int32_t> numeratorMasks(const CodeDescription& description) {
  std::vector<std::int32_t> masks;
  const std::int32_t first = isSystematic(description.kind) ? description.k : 0;
  for (std::int32_t j = first; j < description.n; ++j) {
    masks.push_back(description.generators[static_cast<std::size_t>(j)] & 0xFFFF);
  }
  return masks;
}

std::int32_t denominatorMask(const CodeDescription& description) {
  const std::int32_t feedback =
      description.generators[static_cast<std::size_t>(description.n - 1)] >> kFeedbackShift;
  return isRecursive(description.kind) && feedback != 0 ? feedback : 1;
}

CodeDescription nonSystematicCounterpart(const CodeDescription& description) {
  CodeDescription inner = description;
  inner.kind = isRecursive(description.kind) ? RecursiveNonSystematic : NonRecursiveNonSystematic;
  inner.n = inner.k;
  // The one output bit is the parity of the generator that followed the systematic "1";
  // that generator keeps its own place as well, and carries the feedback in its high half.
  inner.generators[0] = description.generators[1];
  return inner;
}

}  // namespace brevandor
