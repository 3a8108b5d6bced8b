#include "cli/cli_options.h"

#include <sstream>

#include "bounds/ber_bounds.h"
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
  const auto precision = parsePrecision(commandLine.precision);
  if (!precision) {
    return refuse("--precision: unknown precision '" + commandLine.precision +
                  "' (use single or double)");
  }
  CodeFromTexts code = codeFromTexts(commandLine.numerator, commandLine.denominator);
  if (!code) {
    switch (code.field) {
      case CodeField::Denominator:
        return refuse("--denominator \"" + commandLine.denominator + "\":" + code.message);
      case CodeField::Numerator:
        return refuse("--numerator \"" + commandLine.numerator + "\":" + code.message);
      default:
        return refuse(code.message);
    }
  }

  CheckedCommandLine checked;
  RunInputs inputs;
  inputs.inputFrameLength = *frameLength.value;
  inputs.selectedType = *type;
  inputs.boundSelection = *bounds;
  inputs.resultsFileName = commandLine.output;
  inputs.code = *code.description;
  inputs.precision = *precision;
  checked.inputs = std::move(inputs);
  checked.engine = commandLine.engine == "reference" ? Engine::Reference : Engine::Fast;
  return checked;
}

}  // namespace brevandor::cli
