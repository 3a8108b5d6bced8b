#include "run/simulation_stage.h"

#include <cinttypes>
#include <cstdio>

#include "report/simulated_error_rates_report.h"
#include "run/constituent_options.h"
#include "run/simulation_merge.h"
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

}  // namespace

SimulatedFrame simulatedFrameOf(const TurboCode& turbo) {
  const ConvCode* first = turbo.codes[0];
  const ConvCode* second = turbo.codes[1];
  if (turbo.constituentCount != 2 || first == nullptr || second == nullptr || first->k != 1 ||
      second->k != 1) {
    return {std::nullopt, "the simulation decodes two constituents of one input bit per section"};
  }
  const std::int32_t n = turbo.frameLengths[0];
  TurboFrame frame;
  switch (turbo.concatenationType) {
    case ConcatenationType::Parallel:
      frame = parallelFrame(*first, *second, n, turbo.sectionPuncturing[0],
                            turbo.sectionPuncturing[1], turbo.hasNonSystematic == 1);
      break;
    case ConcatenationType::Serial:
      frame =
          serialFrame(*first, *second, n, turbo.sectionPuncturing[0], turbo.sectionPuncturing[1]);
      break;
    default:
      frame = repetitionFrame(*second, n, turbo.frameLengths[1] / n);
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
  const PointProgress progress = [&context](const PointCounts& counts) {
    char text[160];
    std::snprintf(text, sizeof text,
                  "Simulating Eb/N0 = %.3f dB: %" PRId64 " frames, %" PRId64
                  " frame errors, %" PRId64 " bit errors",
                  counts.ebn0Db, counts.frames, counts.frameErrors, counts.bitErrors);
    context.postStatusLine(text);
  };
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
  return outcome.result.cancelled ? -1 : 0;
}

}  // namespace brevandor
