#include "cli/cli_options.h"

#include <algorithm>
#include <sstream>
#include <string_view>

#include "bounds/ber_bounds.h"
#include "run/constituent_options.h"
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

std::string allowedThreads() {
  return "use 0 for all cores, or 1 to " + std::to_string(maxWorkerThreads());
}

CheckedCommandLine refuse(std::string message) {
  CheckedCommandLine refused;
  refused.message = std::move(message);
  return refused;
}

}  // namespace

ThreadCountCheck checkThreadCount(const std::string& text) {
  const bool digits = !text.empty() && text.find_first_not_of("0123456789") == std::string::npos;
  if (!digits) {
    return {std::nullopt, "'" + text + "' is not a number of threads (" + allowedThreads() + ")"};
  }
  const std::size_t first = std::min(text.find_first_not_of('0'), text.size());
  const std::string_view significant = std::string_view(text).substr(first);
  const std::string limit = std::to_string(maxWorkerThreads());
  if (significant.size() > limit.size() ||
      (significant.size() == limit.size() && significant > limit)) {
    return {std::nullopt, text + " is more threads than this machine can use (at most " + limit +
                              ": four per hardware thread, and never more than 1024)"};
  }
  return {std::stoi(std::string(significant.empty() ? "0" : significant)), {}};
}

CheckedCommandLine checkCommandLine(const CommandLine& commandLine) {
  std::int32_t maxWeight = 0;
  if (!commandLine.maxWeight.empty()) {
    const FrameLengthCheck limit = checkMaxWeight(commandLine.maxWeight, kWholeText);
    if (!limit.value) {
      return refuse("--max-weight: " + limit.message);
    }
    maxWeight = *limit.value;
  }
  // Low-weight mode accepts frames up to a million bits.
  const FrameLengthCheck frameLength =
      checkFrameLength(commandLine.frameLength, maxWeight, kWholeText);
  if (!frameLength.value) {
    return refuse("--frame-length: " + frameLength.message);
  }
  const std::pair<const char*, const std::string*> texts[] = {
      {"--numerator", &commandLine.numerator}, {"--denominator", &commandLine.denominator}};
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
  const ExportFiles exports{commandLine.json, commandLine.csv, commandLine.spectrumCsv};
  if (const std::string clash = exportClash(commandLine.output, exports); !clash.empty()) {
    return refuse(clash);
  }
  if (commandLine.engine != "fast" && commandLine.engine != "reference") {
    return refuse("--engine: unknown engine '" + commandLine.engine + "' (use fast or reference)");
  }
  const auto precision = parsePrecision(commandLine.precision);
  if (!precision) {
    return refuse("--precision: unknown precision '" + commandLine.precision +
                  "' (use single or double)");
  }
  const ThreadCountCheck threads = checkThreadCount(commandLine.threads);
  if (!threads.value) {
    return refuse("--threads: " + threads.message);
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
  inputs.maxWeight = maxWeight;
  inputs.numerator2 = commandLine.numerator2;
  inputs.denominator2 = commandLine.denominator2;
  inputs.puncture = commandLine.puncture;
  inputs.punctureOuter = commandLine.punctureOuter;
  inputs.punctureInner = commandLine.punctureInner;
  const ConstituentOptionsCheck options = checkConstituentOptions(inputs);
  if (!options) {
    return refuse(options.refusal());
  }
  checked.inputs = std::move(inputs);
  checked.warnings = options.warnings;
  checked.engine = commandLine.engine == "reference" ? Engine::Reference : Engine::Fast;
  checked.exports = exports;
  checked.threads = *threads.value;
  return checked;
}

}  // namespace brevandor::cli
