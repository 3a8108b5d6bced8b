#include "run/simulation_options.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <type_traits>

namespace brevandor {

namespace {

constexpr std::int64_t kMaxCount = std::int64_t{1} << 50;

template <class Number>
std::optional<Number> numberIn(const std::string& text, Number low, Number high) {
  Number value{};
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (text.empty() || error != std::errc{} || end != text.data() + text.size() || value < low ||
      value > high) {
    return std::nullopt;
  }
  if constexpr (std::is_floating_point_v<Number>) {
    if (!std::isfinite(value)) {
      return std::nullopt;
    }
  }
  return value;
}

// Reads the options of one decoder run into `settings`; the refusal, or nothing.
std::string readDecoder(const SimulationTexts& texts, DecoderSettings& decoder) {
  if (texts.decoder != "log-map" && texts.decoder != "max-log-map") {
    return "--decoder: unknown decoder '" + texts.decoder + "' (use log-map or max-log-map)";
  }
  decoder.algorithm = texts.decoder == "log-map" ? SisoAlgorithm::LogMap : SisoAlgorithm::MaxLogMap;
  const auto scale = numberIn<double>(texts.extrinsicScale, 1e-9, 1.0);
  if (!scale) {
    return "--extrinsic-scale: '" + texts.extrinsicScale +
           "' is not a number above 0 and at most 1";
  }
  decoder.extrinsicScale = *scale;
  const auto iterations =
      numberIn<std::int32_t>(texts.iterations, 1, DecoderSettings::kMaxIterations);
  if (!iterations) {
    return "--iterations: '" + texts.iterations + "' is not a whole number from 1 to 100";
  }
  decoder.iterations = *iterations;
  decoder.earlyStop = texts.earlyStop;
  return {};
}

// Reads the stopping rules and the frame window into `limits`; the refusal, or nothing.
std::string readLimits(const SimulationTexts& texts, SimulationLimits& limits) {
  const auto minErrors = numberIn<std::int64_t>(texts.minFrameErrors, 1, kMaxCount);
  if (!minErrors) {
    return "--min-frame-errors: '" + texts.minFrameErrors + "' is not a positive count";
  }
  const auto maxFrames = numberIn<std::int64_t>(texts.maxFrames, 1, kMaxCount);
  if (!maxFrames) {
    return "--max-frames: '" + texts.maxFrames + "' is not a positive count";
  }
  const auto seconds = numberIn<double>(texts.maxSeconds, 0.0, 1e9);
  if (!seconds) {
    return "--max-seconds: '" + texts.maxSeconds + "' is not a number of seconds (0: no limit)";
  }
  limits.minFrameErrors = *minErrors;
  limits.maxFrames = *maxFrames;
  limits.maxSeconds = *seconds;
  if (texts.framesFrom.empty() != texts.framesTo.empty()) {
    return "--frames-from and --frames-to go together";
  }
  if (!texts.framesFrom.empty()) {
    const auto from = numberIn<std::int64_t>(texts.framesFrom, 0, kMaxCount);
    const auto to = numberIn<std::int64_t>(texts.framesTo, 1, kMaxCount);
    if (!from || !to || *to <= *from) {
      return "--frames-from " + texts.framesFrom + " --frames-to " + texts.framesTo +
             ": the window needs whole numbers 0 <= A < B";
    }
    limits.framesFrom = *from;
    limits.framesTo = *to;
  }
  return {};
}

}  // namespace

SimulationCheck checkSimulationTexts(const SimulationTexts& texts, const std::string& interleaver) {
  if (!texts.simulate) {
    return {};
  }
  SimulationSettings settings;
  if (std::string refusal = readDecoder(texts, settings.decoder); !refusal.empty()) {
    return {std::nullopt, std::move(refusal)};
  }
  const auto seed = numberIn<std::uint64_t>(texts.seed, 0, UINT64_MAX);
  if (!seed) {
    return {std::nullopt, "--seed: '" + texts.seed + "' is not a whole number from 0 to 2^64 - 1"};
  }
  settings.seed = *seed;
  if (std::string refusal = readLimits(texts, settings.limits); !refusal.empty()) {
    return {std::nullopt, std::move(refusal)};
  }
  const ParsedInterleaver parsed =
      parseInterleaverSpec(interleaver.empty() ? "random" : interleaver);
  if (!parsed) {
    return {std::nullopt, "--interleaver: " + parsed.failure};
  }
  settings.interleaver = *parsed.spec;
  return {settings, {}};
}

std::string simulationTextRefusal(const std::string& option, const std::string& text) {
  if (option == "--frames-from" || option == "--frames-to") {
    // Each end alone: a count or nothing; the pair is checked when the run starts.
    return text.empty() || numberIn<std::int64_t>(text, 0, kMaxCount)
               ? std::string()
               : option + ": '" + text + "' is not a frame index";
  }
  // The other texts are checked where they sit among otherwise default texts.
  SimulationTexts texts;
  texts.simulate = true;
  std::string SimulationTexts::*field =
      option == "--decoder"            ? &SimulationTexts::decoder
      : option == "--extrinsic-scale"  ? &SimulationTexts::extrinsicScale
      : option == "--iterations"       ? &SimulationTexts::iterations
      : option == "--seed"             ? &SimulationTexts::seed
      : option == "--min-frame-errors" ? &SimulationTexts::minFrameErrors
      : option == "--max-frames"       ? &SimulationTexts::maxFrames
                                       : &SimulationTexts::maxSeconds;
  texts.*field = text;
  return checkSimulationTexts(texts, {}).refusal;
}

}  // namespace brevandor
