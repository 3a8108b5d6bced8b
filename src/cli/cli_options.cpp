#include "cli/cli_options.h"

#include <sstream>

#include "bounds/ber_bounds.h"
#include "run/puncturing_inputs.h"
#include "turbo/concatenation_type.h"

namespace brevandor::cli {

std::optional<int> parseBoundList(const std::string& list) {
  if (list == "all") {
    return UnionBoundQ | UnionBoundExp | ViterbiBound;
  }
  if (list == "none") {
    return 0;
  }
  int mask = 0;
  std::istringstream names(list);
  std::string name;
  while (std::getline(names, name, ',')) {
    if (name == "q") {
      mask |= UnionBoundQ;
    } else if (name == "exp") {
      mask |= UnionBoundExp;
    } else if (name == "viterbi") {
      mask |= ViterbiBound;
    } else {
      return std::nullopt;
    }
  }
  if (list.empty() || list.back() == ',') {
    return std::nullopt;
  }
  return mask;
}

namespace {

std::optional<std::int32_t> parseType(const std::string& name) {
  if (name == "pccc") {
    return Parallel;
  }
  if (name == "sccc") {
    return Serial;
  }
  if (name == "rep") {
    return RepetitionSerial;
  }
  return std::nullopt;
}

CheckedCommandLine refuse(std::string message) {
  CheckedCommandLine refused;
  refused.message = std::move(message);
  return refused;
}

// The refusal of a code's polynomials, named by the options they came from.
std::string codeRefusal(const CodeFromTexts& code, const std::string& numeratorOption,
                        const std::string& numerator, const std::string& denominatorOption,
                        const std::string& denominator) {
  switch (code.field) {
    case CodeField::Denominator:
      return denominatorOption + " \"" + denominator + "\":" + code.message;
    case CodeField::Numerator:
      return numeratorOption + " \"" + numerator + "\":" + code.message;
    default:
      return code.message;
  }
}

// The option and text a pattern refusal is about.
std::string patternRefusal(const PuncturingCheck& check, const CommandLine& commandLine) {
  switch (check.field) {
    case PatternField::Outer:
      return "--puncture-outer \"" + commandLine.punctureOuter + "\": " + check.message;
    case PatternField::Inner:
      return "--puncture-inner \"" + commandLine.punctureInner + "\": " + check.message;
    default:
      return "--puncture \"" + commandLine.puncture + "\": " + check.message;
  }
}

}  // namespace

CheckedCommandLine checkCommandLine(const CommandLine& commandLine) {
  const FrameLengthCheck frameLength = checkFrameLength(commandLine.frameLength);
  if (!frameLength.value) {
    return refuse("--frame-length: " + frameLength.message);
  }
  const std::pair<const char*, const std::string*> texts[] = {
      {"--numerator", &commandLine.numerator},
      {"--output", &commandLine.output},
      {"--denominator", &commandLine.denominator}};
  for (const auto& [option, text] : texts) {
    if (text->size() > kMaxTextLength) {
      return refuse(std::string(option) + ": " + tooLongMessage(kMaxTextLength));
    }
  }
  if (commandLine.output.empty()) {
    return refuse("--output: the results file needs a name");
  }
  const auto type = parseType(commandLine.type);
  if (!type) {
    return refuse("--type: unknown type '" + commandLine.type + "' (use pccc, sccc or rep)");
  }
  const auto bounds = parseBoundList(commandLine.bounds);
  if (!bounds) {
    return refuse("--bounds: unknown list '" + commandLine.bounds +
                  "' (use q, exp, viterbi separated by commas, or all, or none)");
  }
  if (commandLine.engine != "fast" && commandLine.engine != "reference") {
    return refuse("--engine: unknown engine '" + commandLine.engine + "' (use fast or reference)");
  }
  CodeFromTexts code = codeFromTexts(commandLine.numerator, commandLine.denominator);
  if (!code) {
    return refuse(codeRefusal(code, "--numerator", commandLine.numerator, "--denominator",
                              commandLine.denominator));
  }
  std::optional<CodeDescription> secondCode;
  if (commandLine.numerator2 || commandLine.denominator2) {
    if (*type == RepetitionSerial) {
      return refuse(
          "--numerator2/--denominator2: the repetition type has one convolutional "
          "code; a second code applies to pccc and sccc");
    }
    const std::string& numerator2 = commandLine.numerator2.value_or(commandLine.numerator);
    const std::string& denominator2 = commandLine.denominator2.value_or(commandLine.denominator);
    for (const std::string* text : {&numerator2, &denominator2}) {
      if (text->size() > kMaxTextLength) {
        return refuse(std::string(text == &numerator2 ? "--numerator2" : "--denominator2") + ": " +
                      tooLongMessage(kMaxTextLength));
      }
    }
    const CodeFromTexts second = codeFromTexts(numerator2, denominator2);
    if (!second) {
      return refuse(
          codeRefusal(second, "--numerator2", numerator2, "--denominator2", denominator2));
    }
    secondCode = second.description;
  }
  const PuncturingCheck puncturing = checkPuncturing(
      *type, {commandLine.puncture, commandLine.punctureOuter, commandLine.punctureInner});
  if (!puncturing) {
    return refuse(patternRefusal(puncturing, commandLine));
  }

  CheckedCommandLine checked;
  RunInputs inputs;
  inputs.inputFrameLength = *frameLength.value;
  inputs.selectedType = *type;
  inputs.boundSelection = *bounds;
  inputs.resultsFileName = commandLine.output;
  inputs.code = *code.description;
  inputs.secondCode = secondCode;
  inputs.puncturing = *puncturing.puncturing;
  checked.inputs = std::move(inputs);
  checked.warnings = puncturing.warnings;
  checked.engine = commandLine.engine == "reference" ? Engine::Reference : Engine::Fast;
  return checked;
}

}  // namespace brevandor::cli
