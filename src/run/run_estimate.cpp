#include "run/run_estimate.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <numeric>
#include <optional>
#include <string_view>

#include "bounds/further_bounds.h"
#include "code/conv_code.h"
#include "enumerators/low_weight/low_weight_cwef.h"
#include "enumerators/weight_enumerator.h"
#include "run/constituent_options.h"
#include "run/given_interleaver_stage.h"
#include "run/low_weight_stages.h"
#include "run/run_memory.h"
#include "run/simulation_stage.h"
#include "turbo/low_weight_cuts.h"
#include "turbo/turbo_code.h"

namespace brevandor {

namespace {

// Cells a second of the fast engine on the project machine (two cores of a Zen 4 EPYC, both
// threads busy, nothing else running) at a frame of 1000 bits, one rate per stage and
// concatenation. Longer frames go faster per cell (longer rows fill the vector lanes better,
// and more cells are skipped as negligible): the rate grows as N^0.3, fitted to whole runs
// of 1000, 4000 and 10000 bits. bench/README.md has the measurements and the fit.
// Low-weight mode has one rate for its cut tables, whatever the frame (bench/README.md,
// "Low-weight mode": N = 1000 to 100000, d <= 20); the repetition type's long rows of every
// inner input weight go faster (0.55 s at N = 1000, 55 s at N = 10000).
struct StageRates {
  double cwef;
  double spectrum;
  double lowWeight;
};
constexpr StageRates kParallelRates{1.4e10, 1.0e10, 7.0e8};
constexpr StageRates kSerialRates{2.1e10, 7.0e9, 7.0e8};
constexpr StageRates kRepetitionRates{1.1e10, 3.5e7, 1.4e9};
constexpr double kBoundRate = 2.0e7;  // bound terms a second
// Where the rates were measured: the frame, the threads, and how the rate grows with the frame.
struct Calibration {
  double frame;
  int threads;
  double rateGrowth;
};
constexpr Calibration kCalibration{1000.0, 2, 0.3};
// Double-precision tables: the CWEF row kernels add half as many lanes per instruction and
// move twice the bytes (measured 2.5 times the single-precision CWEF at N = 1000, bench/README.md
// "Double-precision tables"); the spectra sum in double either way.
constexpr double kDoubleCwefSlowdown = 2.5;
// The reference engine is a plain transcription, about a hundred times slower on every stage.
constexpr double kReferenceSlowdown = 100.0;

// What a second thread adds: two threads run the stages about 1.8 times as fast as one.
double threadSpeedup(int threads) {
  return 1.0 + 0.8 * (threads - 1);
}

// Threads beyond the hardware's add nothing.
int effectiveThreads(const RunContext& context) {
  return std::min(context.workerThreads(), context.hardwareThreads());
}

// The extent of one constituent's tables: the output weights its recursion and its result
// span, and the input weights.
struct TableExtent {
  double recursionRows;
  double resultRows;
  double columns;
};

// Constituent c of the configured turbo code.
TableExtent extentOf(const TurboCode& turbo, std::int32_t c, std::int32_t lowWeight) {
  const WeightEnumerator& enumerator = *turbo.enumerators[static_cast<std::size_t>(c)];
  const ConvCode& code = *turbo.codes[static_cast<std::size_t>(c)];
  if (enumerator.repetitionFactor != 0) {
    // The repetition code: each input weight w has the one output weight r · w.
    return {1.0, 1.0, enumerator.frameLength + 1.0};
  }
  if (lowWeight > 0) {
    const LowWeightCut cut = lowWeightCutOf(turbo, c, lowWeight);
    return {cut.maxOutputWeight + 1.0, cut.maxOutputWeight + 1.0, cut.maxInputWeight + 1.0};
  }
  return {enumerator.layerMaxWeight(code) + 1.0, enumerator.resultMaxWeight(code) + 1.0,
          enumerator.frameLength + 1.0};
}

// The cells a CWEF recursion spans: every section, state, output weight and input weight.
double cwefWork(const TurboCode& turbo, std::int32_t c, std::int32_t lowWeight) {
  const WeightEnumerator& enumerator = *turbo.enumerators[static_cast<std::size_t>(c)];
  const ConvCode& code = *turbo.codes[static_cast<std::size_t>(c)];
  const TableExtent extent = extentOf(turbo, c, lowWeight);
  // A tail-biting frame runs the recursion once per start state.
  const double starts = enumerator.ending.tailBiting ? code.stateCount : 1.0;
  return starts * static_cast<double>(code.sectionCount(enumerator.frameLength)) * code.stateCount *
         extent.recursionRows * extent.columns;
}

// The constituent codes, their enumerators and the turbo code, configured as the run
// configures them (second code and puncturing included) but with no table allocated.
struct RunShape {
  ConvCode code;
  std::optional<ConvCode> secondCode;
  WeightEnumerator enumerators[TurboCode::kMaxConstituents];
  TurboCode turbo;

  explicit RunShape(const RunInputs& inputs)
      : code(inputs.selectedType == ConcatenationType::RepetitionSerial
                 ? nonSystematicCounterpart(inputs.code)
                 : inputs.code),
        turbo(inputs.selectedType, constituentCountOf(inputs)) {
    // Options the run would refuse cost nothing: the estimate then is of the plain code.
    if (const ConstituentOptionsCheck options = checkConstituentOptions(inputs)) {
      if (options.options->secondCode) {
        secondCode.emplace(*options.options->secondCode);
      }
      turbo.puncturing = options.options->puncturing;
      turbo.termination = inputs.termination;
      turbo.tailRule = inputs.tailRule;
    }
    for (int c = 0; c < turbo.constituentCount; ++c) {
      turbo.attachConstituent(c, codeOf(c), enumerators[c]);
    }
    for (WeightEnumerator& enumerator : enumerators) {
      enumerator.precision = tablePrecision(inputs);  // the memory plan counts cells of this size
    }
    turbo.setFrameLength(inputs.inputFrameLength, kRepetitionFactor);
  }
  RunShape(const RunShape&) = delete;
  RunShape& operator=(const RunShape&) = delete;

  const ConvCode& codeOf(int index) const { return index >= 1 && secondCode ? *secondCode : code; }
};

// The stages of the run with their work and their seconds at the project machine's rates:
// each rate grows with the frame the stage's rows run over (a constituent's own frame, the
// input frame for the spectrum).
class StagePlanner {
 public:
  StagePlanner(const RunShape& shape, std::int32_t lowWeight, TablePrecision precision)
      : type_(shape.turbo.concatenationType),
        lowWeight_(lowWeight),
        cwefSlowdown_(precision == TablePrecision::Double ? kDoubleCwefSlowdown : 1.0) {}

  void add(const char* name, double work, std::int32_t frameLength) {
    double rate = kBoundRate;
    if (std::string_view(name) != "BER" && std::string_view(name) != "Further") {
      const StageRates& rates = type_ == ConcatenationType::Parallel ? kParallelRates
                                : type_ == ConcatenationType::Serial ? kSerialRates
                                                                     : kRepetitionRates;
      const bool spectrum = std::string_view(name) == "TWEF";
      rate = lowWeight_ > 0
                 ? rates.lowWeight
                 : (spectrum ? rates.spectrum : rates.cwef / cwefSlowdown_) *
                       std::pow(frameLength / kCalibration.frame, kCalibration.rateGrowth);
    }
    stages_.push_back({name, work, work / rate});
  }
  std::vector<StageEstimate> stages() const { return stages_; }

 private:
  ConcatenationType type_;
  std::int32_t lowWeight_;
  double cwefSlowdown_;
  std::vector<StageEstimate> stages_;
};

// The stage names of the constituent tables of a code of three or more constituents.
constexpr std::array<const char*, TurboCode::kMaxConstituents> kCwefStageNames{"CWEF 1", "CWEF 2",
                                                                               "CWEF 3", "CWEF 4"};

std::vector<StageEstimate> plannedStages(const RunShape& shape, const RunInputs& inputs,
                                         std::int32_t lowWeight) {
  const WeightEnumerator& outer = shape.enumerators[0];
  const WeightEnumerator& inner = shape.enumerators[1];
  const TableExtent first = extentOf(shape.turbo, 0, lowWeight);
  const TableExtent second = extentOf(shape.turbo, 1, lowWeight);
  const double outerWork = cwefWork(shape.turbo, 0, lowWeight);
  const double innerWork = cwefWork(shape.turbo, 1, lowWeight);
  StagePlanner planner(shape, lowWeight, tablePrecision(inputs));
  if (shape.turbo.concatenationType == ConcatenationType::Parallel) {
    // Parallel constituents of another code or pattern have a table each, one after the other.
    if (shape.turbo.sharesFirstTable()) {
      planner.add("CWEF", outerWork, outer.frameLength);
    } else if (shape.turbo.constituentCount == 2) {
      planner.add("CWEF 1", outerWork, outer.frameLength);
      planner.add("CWEF 2", innerWork, inner.frameLength);
    } else {
      for (std::int32_t c = 0; c < shape.turbo.constituentCount; ++c) {
        if (shape.turbo.tableSource(c) == c) {
          planner.add(kCwefStageNames[static_cast<std::size_t>(c)],
                      cwefWork(shape.turbo, c, lowWeight), shape.enumerators[c].frameLength);
        }
      }
    }
  } else {
    if (shape.turbo.concatenationType == ConcatenationType::Serial) {
      planner.add("CWEF 1", outerWork, outer.frameLength);
    }
    planner.add("CWEF 2", innerWork, inner.frameLength);
  }
  // Each further constituent multiplies in a row as long as the codeword so far.
  const double extra = shape.turbo.constituentCount - 1.0;
  planner.add("TWEF", first.columns * first.resultRows * second.resultRows * extra * extra,
              inputs.inputFrameLength);
  if (!inputs.boundSelection.empty()) {
    const double weights = lowWeight > 0 ? lowWeight : shape.turbo.outputFrameLength;
    const double points = inputs.ebn0Grid.count();
    planner.add("BER", (weights + 1.0) * points * inputs.boundSelection.size(), 0);
  }
  if (!inputs.furtherBounds.empty()) {
    // The tangential-sphere bounds integrate over a cone for every term: about 25 union terms
    // each (bench/README.md, "Further bounds").
    constexpr double kTangentialSphereTerms = 25.0;
    const FurtherBoundSet tangential = inputs.furtherBounds.within(
        {FurtherBound::TangentialSphereBit, FurtherBound::TangentialSphereWord});
    const double weights = lowWeight > 0 ? lowWeight : shape.turbo.outputFrameLength;
    const double terms = inputs.furtherBounds.without(tangential).size() +
                         kTangentialSphereTerms * tangential.size();
    planner.add("Further", (weights + 1.0) * inputs.ebn0Grid.count() * terms, 0);
  }
  return planner.stages();
}

// The search of a given permutation runs after "TWEF" on one thread; its time is measured on
// a sample of its own subtrees rather than worked out from rates.
void addGivenInterleaverStage(const RunShape& shape, const RunInputs& inputs,
                              RunEstimate& estimate) {
  if (!searchesGivenInterleaver(inputs)) {
    return;
  }
  const GivenInterleaverSetup setup = setUpGivenInterleaver(inputs, shape.turbo);
  if (!setup.code) {
    return;
  }
  const DistanceSearchEstimate search =
      estimateGivenInterleaverSearch(*setup.code, inputs.maxWeight, kGivenSearchLimits);
  estimate.peakBytes += givenInterleaverSearchBytes(*setup.code);
  const auto twef = std::find_if(estimate.stages.begin(), estimate.stages.end(),
                                 [](const StageEstimate& stage) { return stage.name == "TWEF"; });
  const auto at = twef == estimate.stages.end() ? estimate.stages.end() : twef + 1;
  estimate.stages.insert(at, StageEstimate{"Given Interleaver",
                                           static_cast<double>(search.candidates), search.seconds});
}

// The simulation is the run's last stage; its frames run on every worker thread the hardware
// holds, at its own measured rate.
void addSimulationStage(const RunShape& shape, const RunInputs& inputs, const RunContext& context,
                        double slowness, RunEstimate& estimate) {
  if (!inputs.simulation.simulate) {
    return;
  }
  const SimulationCost cost = simulationCost(inputs, shape.turbo, effectiveThreads(context));
  estimate.peakBytes += cost.bytes;
  estimate.stages.push_back(StageEstimate{"Simulation", 0.0, cost.seconds * slowness});
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
  // Low-weight mode: only the weights d <= D (0: the whole spectrum).
  const std::int32_t lowWeight = lowWeightLimit(shape.turbo, inputs.maxWeight);
  RunEstimate estimate;
  estimate.peakBytes = lowWeight > 0 ? planLowWeightMemory(shape.turbo, lowWeight).peak()
                                     : planRunMemory(shape.turbo, context).peak();
  estimate.stages = plannedStages(shape, inputs, lowWeight);
  const double speed = threadSpeedup(effectiveThreads(context)) /
                       threadSpeedup(kCalibration.threads) /
                       (context.engine == Engine::Reference ? kReferenceSlowdown : 1.0);
  for (StageEstimate& stage : estimate.stages) {
    stage.seconds *= slowness / speed;
  }
  addGivenInterleaverStage(shape, inputs, estimate);
  addSimulationStage(shape, inputs, context, slowness, estimate);
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
