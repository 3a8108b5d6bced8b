#include "run/puncturing_inputs.h"

#include <array>

#include "turbo/concatenation_type.h"

namespace brevandor {

namespace {

PuncturingCheck refused(PatternField field, std::string message) {
  PuncturingCheck check;
  check.field = field;
  check.message = std::move(message);
  return check;
}

// Positions τ as "t mod T = a, b, c".
std::string positionsText(const std::vector<std::int32_t>& positions, std::int32_t period) {
  std::string text = "t mod " + std::to_string(period) + " = ";
  for (std::size_t i = 0; i < positions.size(); ++i) {
    text += (i == 0 ? "" : ", ") + std::to_string(positions[i]);
  }
  return text;
}

}  // namespace

PuncturingCheck checkPuncturing(std::int32_t type, const PuncturingTexts& texts) {
  const std::array<std::pair<PatternField, const std::string*>, 3> given{
      {{PatternField::Parallel, &texts.parallel},
       {PatternField::Outer, &texts.outer},
       {PatternField::Inner, &texts.inner}}};
  for (const auto& [field, text] : given) {
    if (text->empty()) {
      continue;
    }
    if (type != Parallel && type != Serial) {
      return refused(field, "the repetition type takes no puncturing pattern");
    }
    if (type == Parallel && field != PatternField::Parallel) {
      return refused(field,
                     "outer and inner patterns belong to an SCCC; a PCCC takes one pattern "
                     "of rows SYS,PAR1,PAR2");
    }
    if (type == Serial && field == PatternField::Parallel) {
      return refused(field,
                     "an SCCC takes an outer and an inner pattern of rows SYS,PAR; this one "
                     "belongs to a PCCC");
    }
  }

  PuncturingCheck check;
  TurboPuncturing puncturing;
  const auto parse = [&](PatternField field, const std::string& text, auto rowNames,
                         PuncturePattern& into) {
    if (text.empty()) {
      return true;
    }
    ParsedPattern parsed = parsePuncturePattern(text, rowNames);
    if (!parsed) {
      check = refused(field, std::move(parsed.failure));
      return false;
    }
    into = *parsed.pattern;
    return true;
  };
  if (!parse(PatternField::Parallel, texts.parallel, kParallelPatternRows, puncturing.parallel) ||
      !parse(PatternField::Outer, texts.outer, kSerialPatternRows, puncturing.outer) ||
      !parse(PatternField::Inner, texts.inner, kSerialPatternRows, puncturing.inner)) {
    return check;
  }

  if (!puncturing.parallel.empty()) {
    const std::array<std::size_t, 2> encoderOne{0, 1};
    const std::vector<std::int32_t> silent = puncturing.parallel.silentPositions(encoderOne);
    if (!silent.empty()) {
      check.warnings.push_back("at sections with " +
                               positionsText(silent, puncturing.parallel.period) +
                               " neither the systematic bit nor encoder 1's parity is sent: "
                               "those input bits rest on encoder 2 alone");
    }
  }
  check.puncturing = puncturing;
  return check;
}

}  // namespace brevandor
