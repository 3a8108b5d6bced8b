#include "run/run_estimate.h"

#include <algorithm>
#include <cmath>
#include <numeric>
#include <thread>

#include "code/conv_code.h"
#include "enumerators/weight_enumerator.h"
#include "run/run_memory.h"
#include "turbo/turbo_code.h"

namespace brevandor {

namespace {

// Cells a second of the fast engine on the project machine (two cores of a Zen 4 EPYC, both
// threads busy, nothing else running) at a frame of 1000 bits, one rate per stage and
// concatenation. Longer frames go faster per cell (longer rows fill the vector lanes better,
// and more cells are skipped as negligible): the rate grows as N^0.3, fitted to whole runs
// of 1000, 4000 and 10000 bits. bench/README.md has the measurements and the fit.
struct StageRates {
  double cwef;
  double spectrum;
};
constexpr StageRates kParallelRates{1.4e10, 1.0e10};
constexpr StageRates kSerialRates{2.1e10, 7.0e9};
constexpr StageRates kRepetitionRates{1.5e10, 1.0e11};  // the outer code's table is sparse
constexpr double kBoundRate = 2.0e7;                    // bound terms a second
constexpr double kRateGrowth = 0.3;
constexpr double kCalibrationFrame = 1000.0;
constexpr int kCalibrationThreads = 2;
// The reference engine is a plain transcription, about a hundred times slower on every stage.
constexpr double kReferenceSlowdown = 100.0;
// Signal-to-noise points of the bound section.
constexpr double kBoundPoints = 21.0;

// What a second thread adds: two threads run the stages about 1.8 times as fast as one.
double threadSpeedup(int threads) {
  return 1.0 + 0.8 * (threads - 1);
}

int effectiveThreads(const RunContext& context) {
  const unsigned cores = std::thread::hardware_concurrency();
  const int threads = context.workerThreads();
  return cores == 0 ? threads : std::min(threads, static_cast<int>(cores));
}

// The cells a CWEF recursion spans: every section, state, output weight and input weight.
double cwefWork(const WeightEnumerator& enumerator, const ConvCode& code) {
  return static_cast<double>(code.sectionCount(enumerator.frameLength)) * code.stateCount *
         (enumerator.layerMaxWeight(code) + 1.0) * (enumerator.frameLength + 1.0);
}

// One constituent code, its enumerators and the turbo code, configured as the run configures
// them but with no table allocated.
struct RunShape {
  ConvCode code;
  WeightEnumerator enumerators[2];
  TurboCode turbo;

  explicit RunShape(const RunInputs& inputs)
      : code(inputs.selectedType == RepetitionSerial ? nonSystematicCounterpart(inputs.code)
                                                     : inputs.code),
        turbo(inputs.selectedType, kConstituentCount) {
    turbo.attachConstituent(0, code, enumerators[0]);
    turbo.attachConstituent(1, code, enumerators[1]);
    turbo.setFrameLength(inputs.inputFrameLength, kRepetitionFactor);
  }
};

int boundCount(std::int32_t selection) {
  int count = 0;
  for (std::int32_t bits = selection; bits != 0; bits &= bits - 1) {
    ++count;
  }
  return count;
}

std::vector<StageEstimate> stageWork(const RunShape& shape, const RunInputs& inputs) {
  const ConvCode& code = shape.code;
  const WeightEnumerator& outer = shape.enumerators[0];
  const WeightEnumerator& inner = shape.enumerators[1];
  std::vector<StageEstimate> stages;
  switch (shape.turbo.concatenationType) {
    case Parallel: {
      const double rows = outer.resultMaxWeight(code) + 1.0;
      stages.push_back({"CWEF", cwefWork(outer, code), 0.0});
      stages.push_back({"TWEF", (outer.frameLength + 1.0) * rows * rows, 0.0});
      break;
    }
    case Serial:
      stages.push_back({"CWEF 1", cwefWork(outer, code), 0.0});
      [[fallthrough]];
    default:
      stages.push_back({"CWEF 2", cwefWork(inner, code), 0.0});
      stages.push_back({"TWEF",
                        (outer.frameLength + 1.0) * (outer.resultMaxWeight(code) + 1.0) *
                            (inner.resultMaxWeight(code) + 1.0),
                        0.0});
      break;
  }
  if (inputs.boundSelection != 0) {
    stages.push_back(
        {"BER",
         (shape.turbo.outputFrameLength + 1.0) * kBoundPoints * boundCount(inputs.boundSelection),
         0.0});
  }
  return stages;
}

double rateOf(const StageEstimate& stage, std::int32_t type, std::int32_t frameLength) {
  if (stage.name == "BER") {
    return kBoundRate;
  }
  const StageRates& rates = type == Parallel ? kParallelRates
                            : type == Serial ? kSerialRates
                                             : kRepetitionRates;
  const double rate = stage.name == "TWEF" ? rates.spectrum : rates.cwef;
  return rate * std::pow(static_cast<double>(frameLength) / kCalibrationFrame, kRateGrowth);
}

}  // namespace

double RunEstimate::seconds() const {
  return std::accumulate(
      stages.begin(), stages.end(), 0.0,
      [](double sum, const StageEstimate& stage) { return sum + stage.seconds; });
}

std::vector<double> RunEstimate::stageSeconds() const {
  std::vector<double> seconds;
  for (const StageEstimate& stage : stages) {
    seconds.push_back(stage.seconds);
  }
  return seconds;
}

RunEstimate estimateRun(const RunInputs& inputs, const RunContext& context, double slowness) {
  const RunShape shape(inputs);
  RunEstimate estimate;
  estimate.peakBytes = planRunMemory(shape.turbo, context).peak();
  estimate.stages = stageWork(shape, inputs);
  const double speed = threadSpeedup(effectiveThreads(context)) /
                       threadSpeedup(kCalibrationThreads) /
                       (context.engine == Engine::Reference ? kReferenceSlowdown : 1.0);
  for (StageEstimate& stage : estimate.stages) {
    stage.seconds = stage.work /
                    rateOf(stage, shape.turbo.concatenationType, inputs.inputFrameLength) / speed *
                    slowness;
  }
  return estimate;
}

double measuredSlowness(double expectedAtSlownessOne, double seconds) {
  constexpr double kShortestTimedRun = 1.0;
  if (seconds < kShortestTimedRun || expectedAtSlownessOne <= 0.0) {
    return 0.0;
  }
  return seconds / expectedAtSlownessOne;
}

}  // namespace brevandor
