#include "run/constituent_options.h"

#include <array>
#include <span>
#include <string_view>
#include <tuple>

#include "code/polynomial.h"
#include "turbo/concatenation_type.h"

namespace brevandor {

namespace {

ConstituentOptionsCheck refused(std::string option, const std::string& text, std::string message) {
  ConstituentOptionsCheck check;
  check.option = std::move(option);
  check.text = text;
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

// One polynomial of the second code: its mask, the first code's when the text is empty, or
// the parse message (negative flags) of a refused text.
struct Polynomial {
  std::int32_t mask = 0;
  std::string message;
};

Polynomial secondPolynomial(const std::string& text, std::int32_t firstMask) {
  if (text.empty()) {
    return {firstMask, {}};
  }
  const std::int32_t mask = parsePolynomial(text);
  return mask > 0 ? Polynomial{mask, {}} : Polynomial{0, polynomialMessage(-mask)};
}

// Reads the second code; `check` receives a refusal.
std::optional<CodeDescription> secondCode(const RunInputs& inputs, ConstituentOptionsCheck& check) {
  const std::pair<const char*, const std::string*> texts[] = {
      {"--denominator2", &inputs.denominator2}, {"--numerator2", &inputs.numerator2}};
  const char* given = inputs.numerator2.empty() ? "--denominator2" : "--numerator2";
  const std::string& givenText =
      inputs.numerator2.empty() ? inputs.denominator2 : inputs.numerator2;
  if (inputs.selectedType != Parallel && inputs.selectedType != Serial) {
    check = refused(given, givenText,
                    "the repetition type has one convolutional code; a second code applies to "
                    "a PCCC or an SCCC");
    return std::nullopt;
  }
  for (const auto& [option, text] : texts) {
    if (text->size() > kMaxTextLength) {
      check = refused(option, *text, tooLongMessage(kMaxTextLength));
      return std::nullopt;
    }
  }
  // The first code's polynomials: the numerator in the parity generator's low half, the
  // denominator in its high half (none: a feedforward code, "1").
  const std::int32_t generator = inputs.code.generators[1];
  const std::int32_t firstDenominator = generator >> 16 == 0 ? 1 : generator >> 16;
  const Polynomial denominator = secondPolynomial(inputs.denominator2, firstDenominator);
  if (!denominator.message.empty()) {
    check = refused("--denominator2", inputs.denominator2, denominator.message);
    return std::nullopt;
  }
  const Polynomial numerator = secondPolynomial(inputs.numerator2, generator & 0xFFFF);
  if (!numerator.message.empty()) {
    check = refused("--numerator2", inputs.numerator2, numerator.message);
    return std::nullopt;
  }
  DescribedCode described = describeCode(numerator.mask, denominator.mask);
  if (!described) {
    check = refused(given, givenText, std::move(described.failure));
    return std::nullopt;
  }
  return described.description;
}

// Reads the patterns the run's type takes; `check` receives a refusal or warnings.
std::optional<TurboPuncturing> patterns(const RunInputs& inputs, ConstituentOptionsCheck& check) {
  const std::array<std::pair<const char*, const std::string*>, 3> given{
      {{"--puncture", &inputs.puncture},
       {"--puncture-outer", &inputs.punctureOuter},
       {"--puncture-inner", &inputs.punctureInner}}};
  const std::int32_t type = inputs.selectedType;
  for (const auto& [option, text] : given) {
    if (text->empty()) {
      continue;
    }
    const bool parallelPattern = text == &inputs.puncture;
    if (type != Parallel && type != Serial) {
      check = refused(option, *text, "the repetition type takes no puncturing pattern");
      return std::nullopt;
    }
    if (type == Parallel && !parallelPattern) {
      check = refused(option, *text,
                      "outer and inner patterns belong to an SCCC; a PCCC takes one pattern "
                      "of rows SYS,PAR1,PAR2");
      return std::nullopt;
    }
    if (type == Serial && parallelPattern) {
      check = refused(option, *text,
                      "an SCCC takes an outer and an inner pattern of rows SYS,PAR; this one "
                      "belongs to a PCCC");
      return std::nullopt;
    }
  }
  TurboPuncturing puncturing;
  const std::array<std::tuple<const char*, const std::string*, std::span<const std::string_view>,
                              PuncturePattern*>,
                   3>
      reads{{{"--puncture", &inputs.puncture, kParallelPatternRows, &puncturing.parallel},
             {"--puncture-outer", &inputs.punctureOuter, kSerialPatternRows, &puncturing.outer},
             {"--puncture-inner", &inputs.punctureInner, kSerialPatternRows, &puncturing.inner}}};
  for (const auto& [option, text, rows, pattern] : reads) {
    if (text->empty()) {
      continue;
    }
    ParsedPattern parsed = parsePuncturePattern(*text, rows);
    if (!parsed) {
      check = refused(option, *text, std::move(parsed.failure));
      return std::nullopt;
    }
    *pattern = *parsed.pattern;
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
  return puncturing;
}

}  // namespace

std::string ConstituentOptionsCheck::refusal() const {
  const bool spaced = !message.empty() && message.front() == ' ';
  return option + " \"" + text + "\":" + (spaced ? "" : " ") + message;
}

ConstituentOptionsCheck checkLowWeightOptions(const RunInputs& inputs) {
  if (inputs.maxWeight > 0) {
    // The low-weight engine walks one set of branch weights for every section; a pattern
    // would change them from section to section.
    for (const auto& [option, text] : {std::pair{"--puncture", &inputs.puncture},
                                       std::pair{"--puncture-outer", &inputs.punctureOuter},
                                       std::pair{"--puncture-inner", &inputs.punctureInner}}) {
      if (!text->empty()) {
        return refused(option, *text,
                       "low-weight mode (--max-weight) takes no puncturing pattern; leave one of "
                       "them out");
      }
    }
  }
  ConstituentOptionsCheck taken;
  taken.options = ConstituentOptions{};
  return taken;
}

ConstituentOptionsCheck checkConstituentOptions(const RunInputs& inputs) {
  ConstituentOptionsCheck check;
  ConstituentOptions options;
  if (ConstituentOptionsCheck lowWeight = checkLowWeightOptions(inputs); !lowWeight) {
    return lowWeight;
  }
  if (!inputs.numerator2.empty() || !inputs.denominator2.empty()) {
    options.secondCode = secondCode(inputs, check);
    if (!options.secondCode) {
      return check;
    }
  }
  const std::optional<TurboPuncturing> puncturing = patterns(inputs, check);
  if (!puncturing) {
    return check;
  }
  options.puncturing = *puncturing;
  check.options = options;
  return check;
}

}  // namespace brevandor
