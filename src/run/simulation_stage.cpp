#include "run/simulation_stage.h"

#include <algorithm>
#include <cinttypes>
#include <cmath>
#include <cstdio>
#include <limits>

#include "bounds/sphere_packing/sphere_packing_bound.h"
#include "progress/progress_report.h"
#include "progress/stage_progress.h"
#include "report/simulated_error_rates_report.h"
#include "run/constituent_options.h"
#include "run/simulation_merge.h"
#include "simulation/frame_trial.h"
#include "simulation/point_simulation.h"

namespace brevandor {

namespace {

// The code of the run as CalculationRun builds it, without any table: enough for its frame.
class FrameOfInputs {
 public:
  explicit FrameOfInputs(const RunInputs& inputs, const ConstituentOptions& options)
      : code_(inputs.selectedType == ConcatenationType::RepetitionSerial
                  ? nonSystematicCounterpart(inputs.code)
                  : inputs.code),
        turbo_(inputs.selectedType, kConstituentCount) {
    if (options.secondCode) {
      second_.emplace(*options.secondCode);
    }
    turbo_.puncturing = options.puncturing;
    turbo_.termination = inputs.termination;
    turbo_.tailRule = inputs.tailRule;
    turbo_.codes[0] = &code_;
    turbo_.codes[1] = second_ ? &*second_ : &code_;
    turbo_.setFrameLength(inputs.inputFrameLength, kRepetitionFactor);
  }
  const TurboCode& turbo() const { return turbo_; }

 private:
  ConvCode code_;
  std::optional<ConvCode> second_;
  TurboCode turbo_;
};

// Trellis branches a second one core's frames pass through the SISO decoders, the rest of a
// frame's work (data, noise, encoding, interleaving) included: brevandor-decoding-bench's
// decoded bits per processor second with the fast arithmetic (bench/README.md, "The fast
// arithmetic": 4.6 Mbit/s with max-log-MAP, 0.48 with log-MAP) times the 256 branches an
// information bit of the LTE code passes (8 iterations × 2 SISOs × 16 branches).
constexpr double kMaxLogBranchRate = 1.2e9;
constexpr double kLogMapBranchRate = 1.2e8;

// The trellis branches one frame's decoding passes: every iteration runs both SISOs.
double branchesPerFrame(const TurboFrame& frame, std::int32_t iterations) {
  double branches = 0.0;
  for (const ConstituentFrame* constituent : {&frame.first, &frame.second}) {
    if (constituent->code != nullptr) {
      branches += static_cast<double>(constituent->sections()) * constituent->code->stateCount *
                  static_cast<double>(1 << constituent->code->k);
    }
  }
  return branches * iterations;
}

// Follows the simulation as the run's last long stage: each Eb/N0 point is an equal part,
// done as far as the larger of its frames over the frames it may send and its frame errors
// over those it waits for (or its time over its time limit); the stage's remaining time is
// its time so far scaled by what remains.
class SimulationStageProgress {
 public:
  SimulationStageProgress(const RunContext& context, const SimulationLimits& limits,
                          std::size_t points)
      : context_(context), limits_(limits), points_(points) {}

  void start() {
    startClock_ = pointClock_ = context_.clock();
    if (follows()) {
      context_.stageProgress->stageStarted();
    }
  }

  void update(const PointCounts& counts) {
    if (counts.ebn0Db != pointDb_) {
      pointDb_ = counts.ebn0Db;
      ++point_;
      pointClock_ = context_.clock();
    }
    if (!follows()) {
      return;
    }
    const std::int64_t total = static_cast<std::int64_t>(points_) * kPartsPerPoint;
    const auto done = std::min<std::int64_t>(
        (point_ - 1) * kPartsPerPoint +
            static_cast<std::int64_t>(pointFraction(counts) * kPartsPerPoint),
        total);
    const std::int32_t now = context_.clock();
    const std::int64_t elapsed = ProgressReport::elapsedMilliseconds(startClock_, now);
    const std::int64_t remainingMs = done > 0 ? elapsed * (total - done) / done : -1;
    context_.stageProgress->stepDone(done, total - done, remainingMs);
  }

  void finish() {
    if (follows()) {
      context_.stageProgress->stageFinished();
    }
  }

 private:
  static constexpr std::int64_t kPartsPerPoint = 1000;

  bool follows() const {
    return context_.stageProgress != nullptr && context_.noticeTarget != nullptr;
  }

  double pointFraction(const PointCounts& counts) const {
    double fraction = 0.0;
    if (limits_.hasWindow()) {
      fraction = static_cast<double>(counts.frames) /
                 static_cast<double>(limits_.framesTo - limits_.framesFrom);
    } else {
      fraction = static_cast<double>(counts.frames) / static_cast<double>(limits_.maxFrames);
      if (limits_.minFrameErrors > 0) {
        fraction = std::max(fraction, static_cast<double>(counts.frameErrors) /
                                          static_cast<double>(limits_.minFrameErrors));
      }
    }
    if (limits_.maxSeconds > 0.0) {
      const double seconds =
          ProgressReport::elapsedMilliseconds(pointClock_, context_.clock()) / 1000.0;
      fraction = std::max(fraction, seconds / limits_.maxSeconds);
    }
    return std::clamp(fraction, 0.0, 1.0);
  }

  const RunContext& context_;
  const SimulationLimits& limits_;
  std::size_t points_;
  std::int64_t point_ = 0;  // 1-based index of the point under way
  double pointDb_ = std::numeric_limits<double>::quiet_NaN();
  std::int32_t startClock_ = 0;
  std::int32_t pointClock_ = 0;
};

}  // namespace

SimulatedFrame simulatedFrameOf(const TurboCode& turbo) {
  const ConvCode* first = turbo.codes[0];
  const ConvCode* second = turbo.codes[1];
  if (turbo.constituentCount != 2 || first == nullptr || second == nullptr || first->k != 1 ||
      second->k != 1) {
    return {std::nullopt, "the simulation decodes two constituents of one input bit per section"};
  }
  // The decoders know terminated ends with whole tails and open ends.
  FrameEnds ends;
  for (std::int32_t c = 0; c < 2; ++c) {
    const FrameEnding ending = turbo.endingOf(c);
    if (ending.tailBiting || (ending.terminated && !ending.sendsWholeTail())) {
      return {std::nullopt,
              "the simulation decodes terminated frames with whole tails and open frames, not "
              "tail-biting ones or tails that leave bits out"};
    }
    (c == 0 ? ends.firstOpen : ends.secondOpen) = !ending.terminated;
  }
  const std::int32_t n = turbo.frameLengths[0];
  TurboFrame frame;
  switch (turbo.concatenationType) {
    case ConcatenationType::Parallel:
      frame = parallelFrame(*first, *second, n, turbo.sectionPuncturing[0],
                            turbo.sectionPuncturing[1], turbo.hasNonSystematic == 1, ends);
      break;
    case ConcatenationType::Serial:
      frame = serialFrame(*first, *second, n, turbo.sectionPuncturing[0],
                          turbo.sectionPuncturing[1], ends);
      break;
    default:
      frame = repetitionFrame(*second, n, turbo.frameLengths[1] / n, ends);
      break;
  }
  // The decoders read the frame as the spectrum counts it; a frame of another length would
  // simulate another code.
  if (frame.channelBits() != turbo.outputFrameLength) {
    return {std::nullopt, "the simulated frame would send " + std::to_string(frame.channelBits()) +
                              " bits where the code sends " +
                              std::to_string(turbo.outputFrameLength)};
  }
  return {std::move(frame), {}};
}

SimulationCheck simulationSettingsOf(const RunInputs& inputs) {
  // --interleaver is shared with the given-interleaver search: one permutation for every frame.
  return checkSimulationTexts(inputs.simulation, inputs.interleaver);
}

std::string checkSimulation(const RunInputs& inputs) {
  const SimulationCheck settings = simulationSettingsOf(inputs);
  if (!settings.settings) {
    return settings.refusal;
  }
  if (constituentCountOf(inputs) != kConstituentCount) {
    return "--simulate: the simulation decodes codes of two constituents, not " +
           std::to_string(constituentCountOf(inputs));
  }
  const ConstituentOptionsCheck options = checkConstituentOptions(inputs);
  if (!options) {
    return options.refusal();
  }
  const FrameOfInputs code(inputs, *options.options);
  const SimulatedFrame frame = simulatedFrameOf(code.turbo());
  if (!frame.frame) {
    return "--simulate: " + frame.failure;
  }
  const InterleaverSpec& interleaver = settings.settings->interleaver;
  if (!interleaver.isEnsemble()) {
    const PermutationOutcome made = makePermutation(interleaver, frame.frame->interleaverLength());
    if (!made) {
      return "--interleaver: " + made.failure;
    }
  }
  return {};
}

namespace {

// The frames a point of the sweep is expected to send at most: its window, or its frame cap,
// or, when it stops at its frame errors, those errors over the lowest word error rate any code
// of the frame's length and rate can have (the sphere-packing bound), if that comes first.
// An iterative decoder errs at least that often, so the point ends no later on average.
double framesAtMost(const SimulationLimits& limits, const SpherePackingCone& cone, double rate,
                    double ebn0Db) {
  if (limits.hasWindow()) {
    return static_cast<double>(limits.framesTo - limits.framesFrom);
  }
  const auto cap = static_cast<double>(limits.maxFrames);
  if (limits.minFrameErrors <= 0) {
    return cap;
  }
  const double lowestFer =
      std::exp(logSpherePackingBound(cone, rate * std::pow(10.0, ebn0Db / 10.0)));
  return lowestFer > 0.0 ? std::min(cap, static_cast<double>(limits.minFrameErrors) / lowestFer)
                         : cap;
}

}  // namespace

SimulationCost simulationCost(const RunInputs& inputs, const TurboCode& turbo, int threads) {
  const SimulationCheck checked = simulationSettingsOf(inputs);
  if (!checked.settings) {
    return {};
  }
  const SimulatedFrame frame = simulatedFrameOf(turbo);
  if (!frame.frame) {
    return {};
  }
  const SimulationSettings& settings = *checked.settings;
  const SimulationLimits& limits = settings.limits;
  const int cores = std::max(threads, 1);
  const double branchRate =
      settings.decoder.algorithm == SisoAlgorithm::LogMap ? kLogMapBranchRate : kMaxLogBranchRate;
  const double frameSeconds =
      branchesPerFrame(*frame.frame, settings.decoder.iterations) / (branchRate * cores);
  const std::int32_t channelBits = frame.frame->channelBits();
  const SpherePackingCone cone = spherePackingCone(channelBits, frame.frame->inputLength);
  const double rate = static_cast<double>(frame.frame->inputLength) / channelBits;
  double seconds = 0.0;
  for (std::int32_t j = 0; j < inputs.ebn0Grid.count(); ++j) {
    double pointSeconds =
        framesAtMost(limits, cone, rate, inputs.ebn0Grid.decibels(j)) * frameSeconds;
    if (limits.maxSeconds > 0.0) {
      pointSeconds = std::min(pointSeconds, limits.maxSeconds);
    }
    seconds += pointSeconds;
  }
  return {frameTrialBytes(*frame.frame) * static_cast<std::uint64_t>(cores), seconds};
}

std::int32_t runSimulationStage(std::FILE* file, const RunInputs& inputs, const TurboCode& turbo,
                                const RunContext& context, RecordSimulation& record,
                                std::string& failure) {
  const SimulationCheck checked = simulationSettingsOf(inputs);
  if (!checked.settings) {
    failure = checked.refusal;
    return -2;
  }
  const SimulationSettings& settings = *checked.settings;
  const SimulatedFrame frame = simulatedFrameOf(turbo);
  if (!frame.frame) {
    failure = frame.failure;
    return -2;
  }
  std::vector<double> grid;
  for (std::int32_t j = 0; j < inputs.ebn0Grid.count(); ++j) {
    grid.push_back(inputs.ebn0Grid.decibels(j));
  }
  SimulationStageProgress stage(context, settings.limits, grid.size());
  const PointProgress progress = [&context, &stage](const PointCounts& counts) {
    stage.update(counts);
    char text[160];
    std::snprintf(text, sizeof text,
                  "Simulating Eb/N0 = %.3f dB: %" PRId64 " frames, %" PRId64
                  " frame errors, %" PRId64 " bit errors",
                  counts.ebn0Db, counts.frames, counts.frameErrors, counts.bitErrors);
    context.postStatusLine(text);
  };
  stage.start();
  const SweepOutcome outcome = simulateSweep(*frame.frame, settings, grid, context, progress);
  if (!outcome.failure.empty()) {
    failure = outcome.failure;
    return -2;
  }
  record.decoder = std::string(sisoAlgorithmName(settings.decoder.algorithm));
  record.extrinsicScale = settings.decoder.appliedScale();
  record.iterations = settings.decoder.iterations;
  record.earlyStop = settings.decoder.earlyStop;
  record.interleaver = settings.interleaver.text();
  record.seed = settings.seed;
  for (const PointCounts& counts : outcome.result.points) {
    record.points.push_back(simulatedPointOf(counts));
  }
  writeSimulatedErrorRates(file, record);
  if (outcome.result.cancelled) {
    return -1;
  }
  stage.finish();
  return 0;
}

}  // namespace brevandor
