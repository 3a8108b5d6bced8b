#include "cli/cli_options.h"

#include <algorithm>
#include <charconv>
#include <string_view>
#include <utility>

#include "run/bound_lists.h"
#include "run/constituent_options.h"
#include "run/field_checks.h"
#include "run/given_interleaver_stage.h"
#include "run/simulation_stage.h"
#include "run/standard_codes.h"

namespace brevandor::cli {

namespace {

CheckedCommandLine refuse(std::string message) {
  CheckedCommandLine refused;
  refused.message = std::move(message);
  return refused;
}

// --bounds and --ebn0 into `inputs`; the refusal, or nothing.
std::string readBoundOptions(const CommandLine& commandLine, RunInputs& inputs) {
  const auto bounds = parseBoundList(commandLine.bounds);
  if (!bounds) {
    return "--bounds: " + unknownBoundListMessage(commandLine.bounds);
  }
  const EbN0GridCheck grid = parseEbN0Grid(commandLine.ebn0);
  if (!grid.grid) {
    return "--ebn0: " + grid.message;
  }
  inputs.boundSelection = bounds->ber;
  inputs.furtherBounds = bounds->further;
  inputs.ebn0Grid = *grid.grid;
  return {};
}

// A whole number in [low, high] typed for `option`, or the refusal.
std::optional<std::int32_t> boundedInteger(const std::string& text, std::int64_t low,
                                           std::int64_t high) {
  std::int64_t value = 0;
  const auto parsed = std::from_chars(text.data(), text.data() + text.size(), value);
  if (text.empty() || parsed.ec != std::errc() || parsed.ptr != text.data() + text.size() ||
      value < low || value > high) {
    return std::nullopt;
  }
  return static_cast<std::int32_t>(value);
}

// The command line of a run that bounds a spectrum read from a file: the options of the
// bounds and of the run as for a code, then n, K and the file, read and checked whole.
CheckedCommandLine checkSpectrumCommandLine(const CommandLine& commandLine) {
  if (commandLine.output.empty()) {
    return refuse("--output: the results file needs a name");
  }
  RunInputs inputs;
  if (std::string refusal = readBoundOptions(commandLine, inputs); !refusal.empty()) {
    return refuse(std::move(refusal));
  }
  if (commandLine.engine != "fast" && commandLine.engine != "reference") {
    return refuse("--engine: unknown engine '" + commandLine.engine + "' (use fast or reference)");
  }
  const ThreadCountCheck threads = checkThreadCount(commandLine.threads);
  if (!threads.value) {
    return refuse("--threads: " + threads.message);
  }
  // The exports describe a code's run (its polynomials, trellis, spectrum); a spectrum read
  // from a file has none of that, so they are refused rather than silently left unwritten.
  if (!commandLine.json.empty() || !commandLine.csv.empty() || !commandLine.spectrumCsv.empty() ||
      !commandLine.simulationCsv.empty()) {
    return refuse(
        "--spectrum-in writes the results file only (no --json, --csv, --spectrum-csv or "
        "--simulation-csv)");
  }
  if (commandLine.codeLength.empty() || commandLine.infoBits.empty()) {
    return refuse("--spectrum-in needs --code-length and --info-bits");
  }
  const auto codeLength = boundedInteger(commandLine.codeLength, 2, kMaxSpectrumCodeLength);
  if (!codeLength) {
    return refuse("--code-length: " + outOfRangeMessage(2, kMaxSpectrumCodeLength));
  }
  const auto infoBits = boundedInteger(commandLine.infoBits, 1, *codeLength);
  if (!infoBits) {
    return refuse("--info-bits: " + outOfRangeMessage(1, *codeLength));
  }
  if (const std::string clash =
          outputIsInput("--spectrum-in", commandLine.spectrumIn, commandLine.output);
      !clash.empty()) {
    return refuse(clash);
  }
  SpectrumInputCheck read = readSpectrumInput(commandLine.spectrumIn, *codeLength, *infoBits);
  if (!read.input) {
    return refuse("--spectrum-in '" + commandLine.spectrumIn + "': " + read.message);
  }
  inputs.resultsFileName = commandLine.output;
  inputs.spectrumInput = std::move(read.input);
  CheckedCommandLine checked;
  checked.inputs = std::move(inputs);
  checked.engine = commandLine.engine == "reference" ? Engine::Reference : Engine::Fast;
  checked.threads = *threads.value;
  return checked;
}

// The texts of the constituent options that the run checks itself (checkConstituentOptions),
// handed over as typed.
constexpr std::pair<std::string CommandLine::*, std::string RunInputs::*> kConstituentTexts[] = {
    {&CommandLine::numerator2, &RunInputs::numerator2},
    {&CommandLine::denominator2, &RunInputs::denominator2},
    {&CommandLine::puncture, &RunInputs::puncture},
    {&CommandLine::punctureOuter, &RunInputs::punctureOuter},
    {&CommandLine::punctureInner, &RunInputs::punctureInner},
    {&CommandLine::code, &RunInputs::standardCode}};

// The command line's text of each option a named code sets.
std::string* namedCodeField(CommandLine& commandLine, std::string_view option) {
  const std::pair<std::string_view, std::string CommandLine::*> fields[] = {
      {"--numerator", &CommandLine::numerator},
      {"--denominator", &CommandLine::denominator},
      {"--type", &CommandLine::type},
      {"--constituents", &CommandLine::constituents},
      {"--termination", &CommandLine::termination},
      {"--tail-inputs", &CommandLine::tailInputs},
      {"--tail-pattern", &CommandLine::tailPattern},
      {"--puncture", &CommandLine::puncture}};
  for (const auto& [name, field] : fields) {
    if (name == option) {
      return &(commandLine.*field);
    }
  }
  return nullptr;
}

// Gives every option of the named code that was not typed the code's text; the refusal of
// an unknown name, or nothing.
std::string fillNamedCode(CommandLine& commandLine) {
  const StandardCode* named = findStandardCode(commandLine.code);
  if (named == nullptr) {
    return "--code: unknown code '" + commandLine.code + "' (use " + standardCodeNames() + ")";
  }
  for (const StandardCodeOption& option : standardCodeOptions(*named)) {
    const bool typed = std::find(commandLine.given.begin(), commandLine.given.end(),
                                 option.option) != commandLine.given.end();
    std::string* field = namedCodeField(commandLine, option.option);
    if (!typed && field != nullptr) {
      *field = option.text;
    }
  }
  return {};
}

}  // namespace

CheckedCommandLine checkCommandLine(const CommandLine& typed) {
  if (!typed.spectrumIn.empty()) {
    return checkSpectrumCommandLine(typed);
  }
  CommandLine commandLine = typed;
  if (!commandLine.code.empty()) {
    if (std::string refusal = fillNamedCode(commandLine); !refusal.empty()) {
      return refuse(std::move(refusal));
    }
  }
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
  const auto type = parseTypeName(commandLine.type);
  if (!type) {
    return refuse("--type: unknown type '" + commandLine.type + "' (use pccc, sccc or rep)");
  }
  RunInputs inputs;
  if (std::string refusal = readBoundOptions(commandLine, inputs); !refusal.empty()) {
    return refuse(std::move(refusal));
  }
  const ExportFiles exports{commandLine.json, commandLine.csv, commandLine.spectrumCsv,
                            commandLine.simulationCsv};
  if (const std::string clash = exportClash(commandLine.output, exports); !clash.empty()) {
    return refuse(clash);
  }
  if (commandLine.engine != "fast" && commandLine.engine != "reference") {
    return refuse("--engine: unknown engine '" + commandLine.engine + "' (use fast or reference)");
  }
  const std::optional<TablePrecision> precision =
      commandLine.precision.empty() ? std::nullopt : parsePrecision(commandLine.precision);
  if (!commandLine.precision.empty() && !precision) {
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
  inputs.inputFrameLength = *frameLength.value;
  inputs.selectedType = *type;
  inputs.resultsFileName = commandLine.output;
  inputs.code = *code.description;
  inputs.precision = precision;
  inputs.maxWeight = maxWeight;
  const FrameLengthCheck constituents = checkConstituentCount(commandLine.constituents, kWholeText);
  if (!constituents.value) {
    return refuse("--constituents: " + constituents.message);
  }
  inputs.constituentCount = *constituents.value;
  const auto termination = parseTermination(commandLine.termination);
  if (!termination) {
    return refuse("--termination: unknown termination '" + commandLine.termination +
                  "' (use both, first, open, tail-biting, tail-biting-outer or tail-biting-inner)");
  }
  inputs.termination = *termination;
  if (commandLine.tailInputs != "all" && commandLine.tailInputs != "first") {
    return refuse("--tail-inputs: unknown choice '" + commandLine.tailInputs +
                  "' (use all or first)");
  }
  if (commandLine.tailPattern != "whole" && commandLine.tailPattern != "punctured") {
    return refuse("--tail-pattern: unknown choice '" + commandLine.tailPattern +
                  "' (use whole or punctured)");
  }
  inputs.tailRule =
      TailRule{commandLine.tailInputs == "first", commandLine.tailPattern == "punctured"};
  for (const auto& [typedText, input] : kConstituentTexts) {
    inputs.*input = commandLine.*typedText;
  }
  const ConstituentOptionsCheck options = checkConstituentOptions(inputs);
  if (!options) {
    return refuse(options.refusal());
  }
  inputs.simulation = commandLine.simulation;
  inputs.interleaver = commandLine.interleaver;
  if (!inputs.interleaver.empty() && maxWeight == 0 && !inputs.simulation.simulate) {
    return refuse("--interleaver '" + inputs.interleaver +
                  "': give --max-weight D to search the spectrum of this permutation, or "
                  "--simulate to decode with it");
  }
  if (std::string refusal = checkSimulation(inputs); !refusal.empty()) {
    return refuse(std::move(refusal));
  }
  if (std::string refusal = exportWithoutContent(exports, inputs.simulation.simulate);
      !refusal.empty()) {
    return refuse(std::move(refusal));
  }
  if (std::string refusal = checkGivenInterleaver(inputs); !refusal.empty()) {
    return refuse(std::move(refusal));
  }
  checked.warnings = options.warnings;
  if (const StandardCode* named = findStandardCode(inputs.standardCode)) {
    if (auto warning = standardFrameLengthWarning(*named, inputs.inputFrameLength)) {
      checked.warnings.push_back(std::move(*warning));
    }
  }
  checked.inputs = std::move(inputs);
  checked.engine = commandLine.engine == "reference" ? Engine::Reference : Engine::Fast;
  checked.exports = exports;
  checked.threads = *threads.value;
  return checked;
}

}  // namespace brevandor::cli
