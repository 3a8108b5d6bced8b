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

// The highest bit position from 12 down to 1 at which either mask has a 1, or 0.
int highestDegree(std::int32_t numerator, std::int32_t denominator) {
  for (int position = 12; position >= 1; --position) {
    if (((numerator >> position) & 1) != 0 || ((denominator >> position) & 1) != 0) {
      return position;
    }
  }
  return 0;
}

}  // namespace

DescribedCode describeCode(std::int32_t numerator, std::int32_t denominator) {
  CodeDescription description;
  if (denominator == 1) {
    description.kind = NonRecursiveSystematic;
    description.generators[1] = numerator;
  } else {
    description.kind = RecursiveSystematic;
    description.generators[1] = numerator + (denominator << kFeedbackShift);
  }
  description.generators[0] = 1;
  description.generators[2] = 0;

  const int degree = highestDegree(numerator, denominator);
  if (degree < 2) {
    return {std::nullopt, std::string(kInvalidParityEquation)};
  }
  if ((denominator & 1) == 0) {
    return {std::nullopt, std::string(kFeedbackWithoutConstantTerm)};
  }
  description.registerLength = degree + 1;
  return {description, {}};
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
