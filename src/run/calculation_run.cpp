#include "run/calculation_run.h"

#include <cstdio>
#include <ctime>
#include <exception>
#include <new>
#include <optional>
#include <span>
#include <utility>
#include <vector>

#include "bounds/ber_bounds.h"
#include "bounds/error_floor_estimates.h"
#include "bounds/further_bounds.h"
#include "bounds/numerics/special_functions.h"
#include "bounds/union/bound_engines.h"
#include "code/conv_code.h"
#include "enumerators/weight_enumerator.h"
#include "logmath/log_domain.h"
#include "progress/printable_text.h"
#include "progress/stage_progress.h"
#include "report/ber_bounds_section.h"
#include "report/further_bounds_section.h"
#include "report/results_file.h"
#include "report/results_report.h"
#include "report/spectrum_input_section.h"
#include "run/constituent_options.h"
#include "run/given_interleaver_stage.h"
#include "run/low_weight_stages.h"
#include "run/memory_budget.h"
#include "run/run_estimate.h"
#include "run/run_memory.h"
#include "run/run_record_builder.h"
#include "run/simulation_stage.h"
#include "turbo/turbo_code.h"

namespace brevandor {

namespace {

constexpr const char* kCancelledText = "\n -- Calculation Canceled \n";
constexpr const char* kCompletedText = " Completed \n";
// After the turbo code's parameters when the tables are not the single-precision ones that
// files of short frames have always had.
constexpr const char* kDoublePrecisionLine = "\n Table Precision : double \n";

// " " followed by the local calendar time in ctime's layout, "Tue Dec  8 03:35:09 2026\n":
// English names whatever the locale, and no static buffer shared between runs.
std::string timeLine() {
  static constexpr const char* kDays[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
  static constexpr const char* kMonths[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                            "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  if (localtime_r(&now, &local) == nullptr) {
    return " ?\n";
  }
  char clock[16];
  std::strftime(clock, sizeof clock, "%H:%M:%S", &local);
  char text[64];
  std::snprintf(text, sizeof text, " %s %s%3d %s %d\n", kDays[local.tm_wday % 7],
                kMonths[local.tm_mon % 12], local.tm_mday, clock, local.tm_year + 1900);
  return text;
}

// The code the run builds: for the repetition-outer type, the non-systematic counterpart of
// the described code (one output bit per input bit, from the same numerator and denominator).
CodeDescription preparedCode(const RunInputs& inputs) {
  if (inputs.selectedType == ConcatenationType::RepetitionSerial) {
    return nonSystematicCounterpart(inputs.code);
  }
  return inputs.code;
}

// A failure that ends the run: its log line, and the same words for the front end.
RunResult failed(const RunContext& context, const std::string& what) {
  context.postLogLine("\n -- " + what + " \n");
  return RunResult{RunOutcome::Failed, -1, what};
}

RunResult cancelled(const RunContext& context) {
  context.postLogLine(kCancelledText);
  return RunResult{RunOutcome::Cancelled, -1, {}};
}

std::string writeFailureText(const std::string& path, const std::string& reason) {
  return "Cannot write the results file '" + printableText(path) + "': " + reason;
}

// The failure that ends the run once a write to the results file has failed.
std::optional<RunResult> writeFailed(const RunContext& context, const ResultsFile& file,
                                     const std::string& path) {
  if (const auto reason = file.failure()) {
    return failed(context, writeFailureText(path, *reason));
  }
  return std::nullopt;
}

// Everything one run creates, released in this order when the run ends whichever way:
// the enumerators' tables, the code, the turbo code, the spectra. The results file is the
// caller's, settled after all of them.
class RunObjects {
 public:
  RunObjects(const RunInputs& inputs, ResultsFile& file, const ConstituentOptions& options)
      : file_(file),
        code_(preparedCode(inputs)),
        turbo_(inputs.selectedType, constituentCountOf(inputs)) {
    if (options.secondCode) {
      secondCode_.emplace(*options.secondCode);
    }
    turbo_.puncturing = options.puncturing;
    turbo_.termination = inputs.termination;
    turbo_.tailRule = inputs.tailRule;
    turbo_.standardCode = inputs.standardCode;
    for (int c = 0; c < turbo_.constituentCount; ++c) {
      turbo_.attachConstituent(c, code(c), enumerators_[c]);
    }
    setPrecision(tablePrecision(inputs));
  }
  RunObjects(const RunObjects&) = delete;
  RunObjects& operator=(const RunObjects&) = delete;
  ~RunObjects() { releaseAll(); }

  std::FILE* file() { return file_.stream(); }
  // The precision every constituent's tables are held in; before they are allocated.
  void setPrecision(TablePrecision precision) {
    for (WeightEnumerator& enumerator : enumerators_) {
      enumerator.precision = precision;
    }
  }
  // The code of constituent `index`: the second code, where there is one, for every
  // constituent after the first.
  ConvCode& code(int index = 0) { return index >= 1 && secondCode_ ? *secondCode_ : code_; }
  WeightEnumerator& enumerator(int index) { return enumerators_[index]; }
  TurboCode& turbo() { return turbo_; }
  std::vector<double>& codewordSpectrum() { return codewordSpectrum_; }
  std::vector<double>& weightedSpectrum() { return weightedSpectrum_; }

  // Both spectra for the weights 0 … lastWeight.
  void allocateSpectra(std::int32_t lastWeight) {
    const auto entries = static_cast<std::size_t>(lastWeight) + 1;
    codewordSpectrum_.assign(entries, 0.0);
    weightedSpectrum_.assign(entries, 0.0);
  }

  void releaseAll() {
    for (int c = 0; c < TurboCode::kMaxConstituents; ++c) {
      enumerators_[c].releaseLayers(code(c));
      enumerators_[c].releaseLogTransferMatrix(code(c));
      enumerators_[c].release(code(c));
    }
    codewordSpectrum_ = {};
    weightedSpectrum_ = {};
  }

 private:
  ResultsFile& file_;
  ConvCode code_;
  std::optional<ConvCode> secondCode_;
  WeightEnumerator enumerators_[TurboCode::kMaxConstituents];
  TurboCode turbo_;
  std::vector<double> codewordSpectrum_;
  std::vector<double> weightedSpectrum_;
};

// The "Further Bounds" stage when any of its bounds is selected: its log lines and section,
// and the tables it shows in `shown`. Nothing to go on, or the result that ends the run.
std::optional<RunResult> writeFurtherBounds(ResultsFile& file, const RunInputs& inputs,
                                            const FurtherBoundInputs& spectra,
                                            const RunContext& context, FurtherBoundTables& shown) {
  if (inputs.furtherBounds.empty()) {
    return std::nullopt;
  }
  context.postLogLine(" Further Bounds Calculation .. ");
  std::optional<FurtherBoundTables> tables =
      computeFurtherBounds(spectra, inputs.furtherBounds, inputs.ebn0Grid, context);
  if (!tables) {
    return cancelled(context);
  }
  writeFurtherBoundSection(file.stream(), spectra, inputs.furtherBounds, *tables, inputs.ebn0Grid);
  if (auto stop = writeFailed(context, file, inputs.resultsFileName)) {
    return stop;
  }
  shown = std::move(*tables);
  context.postLogLine(kCompletedText);
  return std::nullopt;
}

// The "BER" stage: the selected bounds of the weighted spectrum (log10 values) of weights
// 0 … maxWeight, or in low-weight mode their estimates of the error floor, and the section
// that shows them. The tables shown, or nothing when cancelled.
std::optional<BoundTables> writeBerBounds(std::FILE* file, const RunInputs& inputs, double rate,
                                          std::span<const double> log10Weighted,
                                          std::int32_t maxWeight, std::int32_t lowWeightBlock,
                                          const RunContext& context) {
  if (lowWeightBlock > 0) {
    std::optional<ErrorFloorEstimates> estimates =
        computeErrorFloorEstimates(rate, log10Weighted, maxWeight, lowWeightBlock,
                                   inputs.boundSelection, context, inputs.ebn0Grid);
    if (!estimates) {
      return std::nullopt;
    }
    writeErrorFloorSection(file, rate, inputs.boundSelection, *estimates, inputs.ebn0Grid);
    return std::move(estimates->sums);
  }
  std::optional<BoundTables> tables = computeBerBoundsFromLog10(
      rate, log10Weighted, maxWeight, inputs.boundSelection, context, inputs.ebn0Grid);
  if (tables) {
    writeBoundSection(file, rate, inputs.boundSelection, *tables, inputs.ebn0Grid);
  }
  return tables;
}

// The stages of a parallel code of three or more constituents: every table of its own
// (constituents of an earlier one's code, frame and pattern copy it, unless the spectrum
// reads the first table for them), computed one after the other.
StageEnd runManyParallelStages(RunObjects& run, bool shareParallelTable,
                               const RunContext& context) {
  const TurboCode& turbo = run.turbo();
  for (std::int32_t c = 0; c < turbo.constituentCount; ++c) {
    if (turbo.tableSource(c) == c) {
      run.enumerator(c).computeTransferMatrix(run.code(c));
    }
  }
  context.postLogLine(kCompletedText);
  for (std::int32_t c = 0; c < turbo.constituentCount; ++c) {
    const std::int32_t source = turbo.tableSource(c);
    if (source != c) {
      if (source != 0 || !shareParallelTable) {
        run.enumerator(source).copyTo(run.enumerator(c), run.code(c));
      }
      continue;
    }
    context.postLogLine(" CWEF " + std::to_string(c + 1) + " Calculation .. ");
    if (run.enumerator(c).computeCwef(run.code(c), context) == StageEnd::Cancelled) {
      return StageEnd::Cancelled;
    }
    context.postLogLine(kCompletedText);
  }
  return StageEnd::Completed;
}

// The "TM" and "CWEF" stages of each concatenation type. Ends Cancelled when cancelled.
StageEnd runEnumeratorStages(RunObjects& run, bool shareParallelTable, const RunContext& context) {
  ConvCode& code = run.code();
  ConvCode& secondCode = run.code(1);
  WeightEnumerator& first = run.enumerator(0);
  WeightEnumerator& second = run.enumerator(1);
  context.postLogLine("\n TM Calculation .. ");
  // Parallel constituents of another code or another pattern have tables of their own,
  // computed one after the other as a serial code's are.
  const bool ownTables = run.turbo().concatenationType == ConcatenationType::Parallel &&
                         !run.turbo().sharesFirstTable();
  if (ownTables && run.turbo().constituentCount > 2) {
    return runManyParallelStages(run, shareParallelTable, context);
  }
  switch (ownTables ? ConcatenationType::Serial : run.turbo().concatenationType) {
    case ConcatenationType::Parallel:
      first.computeTransferMatrix(code);
      context.postLogLine(kCompletedText);
      context.postLogLine(" CWEF Calculation .. ");
      if (first.computeCwef(code, context) == StageEnd::Cancelled) {
        return StageEnd::Cancelled;
      }
      if (!shareParallelTable) {
        for (std::int32_t c = 1; c < run.turbo().constituentCount; ++c) {
          first.copyTo(run.enumerator(c), code);
        }
      }
      context.postLogLine(kCompletedText);
      return StageEnd::Completed;
    case ConcatenationType::Serial:
      first.computeTransferMatrix(code);
      second.computeTransferMatrix(secondCode);
      context.postLogLine(kCompletedText);
      context.postLogLine(" CWEF 1 Calculation .. ");
      if (first.computeCwef(code, context) == StageEnd::Cancelled) {
        return StageEnd::Cancelled;
      }
      context.postLogLine(kCompletedText);
      break;
    default:
      if (first.computeRepetitionCwef(code) < 0) {
        return StageEnd::Cancelled;
      }
      second.computeTransferMatrix(code);
      context.postLogLine(kCompletedText);
      break;
  }
  context.postLogLine(" CWEF 2 Calculation .. ");
  if (second.computeCwef(secondCode, context) == StageEnd::Cancelled) {
    return StageEnd::Cancelled;
  }
  context.postLogLine(kCompletedText);
  return StageEnd::Completed;
}

}  // namespace

RunResult CalculationRun::execute() {
  ResultsFile file;
  RunResult result = executeGuarded(file);
  // A cancelled run keeps the sections written so far, with a last line that says why the
  // file ends there; a failed one leaves the earlier file as it was.
  if (result.outcome == RunOutcome::Cancelled && file.isOpen()) {
    if (const auto reason = file.commitWithLastLine(kCancelledText)) {
      return failed(context_, writeFailureText(inputs_.resultsFileName, *reason));
    }
  } else if (result.outcome == RunOutcome::Failed) {
    file.discard("\n -- " + result.failure + " \n");
  }
  return result;
}

RunResult CalculationRun::executeGuarded(ResultsFile& file) {
  try {
    // A spectrum read from a file has no code whose stages could be estimated.
    if (context_.stageProgress != nullptr || inputs_.spectrumInput) {
      return executeStages(file);
    }
    // Progress across the stages, each weighed by the time it is expected to take.
    StageProgress stages(context_, estimateRun(inputs_, context_).stageSeconds());
    RunContext tracked = context_;
    tracked.stageProgress = &stages;
    return CalculationRun(inputs_, tracked).executeStages(file);
  } catch (const NumericalError& error) {
    return failed(context_, error.what());
  } catch (const std::bad_alloc&) {
    return failed(context_, "Not enough memory for the tables of this frame");
  } catch (const std::exception& error) {
    return failed(context_, std::string("Calculation failed: ") + error.what());
  }
}

RunResult CalculationRun::executeStages(ResultsFile& file) {
  context_.postLogLine("\n> Start Calculation ");
  context_.postLogLine(timeLine());
  if (inputs_.spectrumInput) {
    return executeSpectrumStages(file);
  }

  // The second code and the patterns, checked again here for callers that did not.
  const ConstituentOptionsCheck options = checkConstituentOptions(inputs_);
  if (!options) {
    return failed(context_, printableText(options.refusal()));
  }
  RunObjects run(inputs_, file, *options.options);
  TurboCode& turbo = run.turbo();
  turbo.setFrameLength(inputs_.inputFrameLength, kRepetitionFactor);
  // Low-weight mode: only the weights d ≤ lowWeight (0: the whole spectrum).
  const std::int32_t lowWeight = lowWeightLimit(turbo, inputs_.maxWeight);

  // Refuse before the results file is touched when the machine cannot hold the tables.
  const bool shareParallelTable = sharesParallelTable(turbo, context_.engine);
  const auto planMemory = [&]() {
    return lowWeight > 0 ? planLowWeightMemory(turbo, lowWeight) : planRunMemory(turbo, context_);
  };
  RunMemoryPlan plan = planMemory();
  // The given permutation and the size of its search, settled before anything is written.
  std::optional<GivenInterleaverCode> given;
  std::uint64_t searchBytes = 0;
  if (searchesGivenInterleaver(inputs_)) {
    GivenInterleaverSetup setup = setUpGivenInterleaver(inputs_, turbo);
    if (!setup.code) {
      return failed(context_, printableText(setup.refusal));
    }
    given = std::move(setup.code);
    searchBytes = givenInterleaverSearchBytes(*given);
    const std::string tooLarge = givenSearchSizeRefusal(
        estimateGivenInterleaverSearch(*given, inputs_.maxWeight, kGivenSearchLimits));
    if (!tooLarge.empty()) {
      return failed(context_, tooLarge);
    }
  }
  // The simulation's threads hold a decoder each while the tables are still held.
  const std::uint64_t simulationBytes =
      inputs_.simulation.simulate ? simulationCost(inputs_, turbo, context_.workerThreads()).bytes
                                  : 0;
  // The worker threads beside this one take address space for their stacks and arenas.
  const int extraThreads = context_.engine == Engine::Fast ? context_.workerThreads() - 1 : 0;
  // What the run holds beside the tables: the given interleaver's search, the decoders.
  const std::uint64_t besideTables = searchBytes + simulationBytes;
  // Double precision by default that the machine cannot hold falls back to single precision,
  // and the file says so; a precision asked for is kept (and refused when it does not fit).
  std::string precisionLine;
  if (tablePrecision(inputs_) == TablePrecision::Double) {
    precisionLine = kDoublePrecisionLine;
    if (const auto shortfall = memoryShortfall(plan.peak() + besideTables, extraThreads);
        shortfall && !inputs_.precision) {
      run.setPrecision(TablePrecision::Single);
      plan = planMemory();
      precisionLine = "\n Table Precision : single (double would need " +
                      formatBytes(shortfall->needed) + ", " + formatBytes(shortfall->available) +
                      " available) \n";
      inputs_.precision = TablePrecision::Single;
    }
  }
  inputs_.precision = tablePrecision(inputs_);  // the record names the precision used
  if (const auto shortfall = memoryShortfall(plan.peak() + besideTables, extraThreads)) {
    return failed(context_,
                  "Not enough memory: a frame of N = " + std::to_string(inputs_.inputFrameLength) +
                      " needs " + formatBytes(shortfall->needed) + ", " +
                      formatBytes(shortfall->available) + " available");
  }

  // A simulation that cannot run is refused before the results file is touched.
  if (const std::string refusal = checkSimulation(inputs_); !refusal.empty()) {
    return failed(context_, printableText(refusal));
  }

  if (const auto reason = file.open(inputs_.resultsFileName, context_.cancelFlag)) {
    if (*reason == kCancelledOpen) {
      return cancelled(context_);
    }
    return failed(context_, "Cannot open the results file '" +
                                printableText(inputs_.resultsFileName) + "': " + *reason);
  }
  printTurboParameters(run.file(), turbo);
  std::fputs(precisionLine.c_str(), run.file());
  if (auto stop = writeFailed(context_, file, inputs_.resultsFileName)) {
    return *stop;
  }

  const std::int32_t lastWeight = lowWeight > 0 ? lowWeight : turbo.outputFrameLength;
  run.allocateSpectra(lastWeight);
  if (lowWeight > 0) {
    if (runLowWeightEnumeratorStages(turbo, lowWeight, context_) == StageEnd::Cancelled) {
      return cancelled(context_);
    }
  } else {
    run.enumerator(0).allocate(run.code(0));
    if (!shareParallelTable) {
      for (std::int32_t c = 1; c < turbo.constituentCount; ++c) {
        run.enumerator(c).allocate(run.code(c));
      }
    }
    if (runEnumeratorStages(run, shareParallelTable, context_) == StageEnd::Cancelled) {
      return cancelled(context_);
    }
  }

  context_.postLogLine(" TWEF Calculation .. ");
  std::span<double> codeword(run.codewordSpectrum());
  std::span<double> weighted(run.weightedSpectrum());
  const StageResult<std::int32_t> spectrum =
      lowWeight > 0 ? computeLowWeightSpectrum(turbo, lowWeight, codeword, weighted, context_)
      : turbo.concatenationType == ConcatenationType::Parallel
          ? turbo.computeParallelSpectrum(codeword, weighted, context_)
          : turbo.computeSerialSpectrum(codeword, weighted, context_);
  if (spectrum.wasCancelled()) {
    return cancelled(context_);
  }
  if (!spectrum) {
    return failed(context_, spectrum.failure());
  }
  const std::int32_t maxWeight = *spectrum;
  // The bounds read the weighted spectrum before scaling: for long frames scaling by 10^−e
  // flushes the low-weight entries, which dominate the bounds at high signal-to-noise ratios,
  // to zero. The report prints such entries from these logarithms too.
  const std::vector<double> log10Weighted(weighted.begin(), weighted.end());
  const std::vector<double> log10Codeword(codeword.begin(), codeword.end());
  const double codewordScale = scaleSpectrum(codeword, maxWeight);
  const double weightedScale = scaleSpectrum(weighted, maxWeight);
  const SpectrumTruncation truncation{turbo.outputFrameLength,
                                      derivedInputWeightLimit(turbo, lowWeight).value_or(-1)};
  printDistanceSpectrum(run.file(), turbo.frameLengths[0], codeword, weighted, maxWeight,
                        codewordScale, weightedScale, log10Codeword, log10Weighted,
                        lowWeight > 0 ? &truncation : nullptr);
  if (auto stop = writeFailed(context_, file, inputs_.resultsFileName)) {
    return *stop;
  }
  context_.postLogLine(kCompletedText);

  DistanceSearchResult search;
  if (given) {
    context_.postLogLine(" Given Interleaver Search .. ");
    search = searchGivenInterleaver(*given, inputs_.maxWeight, kGivenSearchLimits, context_);
    if (search.outcome == DistanceSearchOutcome::Cancelled) {
      return cancelled(context_);
    }
    if (search.outcome != DistanceSearchOutcome::Complete) {
      return failed(context_, "The search of the given interleaver stopped: " + search.message);
    }
    context_.postLogLine(kCompletedText);
  }

  BoundTables bounds;
  if (!inputs_.boundSelection.empty()) {
    context_.postLogLine(" BER Calculation .. ");
    std::optional<BoundTables> evaluated =
        writeBerBounds(run.file(), inputs_, turbo.rate, log10Weighted, maxWeight,
                       lowWeight > 0 ? turbo.outputFrameLength : 0, context_);
    if (!evaluated) {
      return cancelled(context_);
    }
    bounds = std::move(*evaluated);
    if (auto stop = writeFailed(context_, file, inputs_.resultsFileName)) {
      return *stop;
    }
    context_.postLogLine(kCompletedText);
  }
  FurtherBoundTables furtherBounds;
  if (auto stop = writeFurtherBounds(
          file, inputs_,
          furtherBoundInputsFromLog10(log10Codeword, log10Weighted, maxWeight,
                                      turbo.outputFrameLength, turbo.frameLengths[0]),
          context_, furtherBounds)) {
    return *stop;
  }
  // The given permutation's section comes after the bound sections, before the simulation's.
  std::optional<RecordGivenInterleaver> givenRecord;
  GivenErrorFloorTable givenEstimates;
  if (given) {
    givenEstimates =
        givenErrorFloorTable(search.spectrum, log10Weighted, turbo.rate, inputs_.ebn0Grid);
    givenRecord = givenInterleaverRecord(search, inputs_.interleaver);
    printGivenInterleaverSection(run.file(), *givenRecord, givenEstimates);
    if (auto stop = writeFailed(context_, file, inputs_.resultsFileName)) {
      return *stop;
    }
  }
  RecordSimulation simulation;
  if (inputs_.simulation.simulate) {
    context_.postLogLine(" Simulation .. ");
    std::string failure;
    const std::int32_t simulated =
        runSimulationStage(run.file(), inputs_, turbo, context_, simulation, failure);
    if (simulated == -2) {
      return failed(context_, failure);
    }
    if (simulated == -1) {
      return cancelled(context_);  // the section keeps the points finished, marked
    }
    if (auto stop = writeFailed(context_, file, inputs_.resultsFileName)) {
      return *stop;
    }
    context_.postLogLine(kCompletedText);
  }
  RunOutputs outputs{log10Codeword, log10Weighted, maxWeight, codewordScale, weightedScale};
  outputs.bounds = !inputs_.boundSelection.empty() ? &bounds : nullptr;
  outputs.furtherBounds = !inputs_.furtherBounds.empty() ? &furtherBounds : nullptr;
  RunRecord made = makeRunRecord(inputs_, turbo, outputs);
  if (givenRecord) {
    made.givenInterleaver = std::move(givenRecord);
    keepGivenEstimates(made, givenEstimates);
  }
  if (inputs_.simulation.simulate) {
    made.simulation = std::move(simulation);
  }
  auto record = std::make_shared<const RunRecord>(std::move(made));

  run.releaseAll();
  if (const auto reason = file.commit()) {
    return failed(context_, writeFailureText(inputs_.resultsFileName, *reason));
  }
  context_.postLogLine(" " + printableText(inputs_.resultsFileName) + "  Created.");
  context_.postLogLine(timeLine());
  context_.postRunFinished();
  return RunResult{RunOutcome::Finished, maxWeight, {}, std::move(record)};
}

}  // namespace brevandor

namespace brevandor {

RunResult CalculationRun::executeSpectrumStages(ResultsFile& file) {
  const SpectrumInput& input = *inputs_.spectrumInput;
  if (const auto reason = file.open(inputs_.resultsFileName, context_.cancelFlag)) {
    if (*reason == kCancelledOpen) {
      return cancelled(context_);
    }
    return failed(context_, "Cannot open the results file '" +
                                printableText(inputs_.resultsFileName) + "': " + *reason);
  }
  printSpectrumInput(file.stream(), input.path, input.codeLength, input.infoBits);
  if (auto stop = writeFailed(context_, file, inputs_.resultsFileName)) {
    return *stop;
  }
  const SpectrumFile& spectrum = input.spectrum;
  FurtherBoundTables shownFurther;
  if (!inputs_.boundSelection.empty()) {
    context_.postLogLine(" BER Calculation .. ");
    if (!writeBerBounds(file.stream(), inputs_,
                        static_cast<double>(input.infoBits) / input.codeLength,
                        spectrum.log10Weighted, input.codeLength, 0, context_)) {
      return cancelled(context_);
    }
    if (auto stop = writeFailed(context_, file, inputs_.resultsFileName)) {
      return *stop;
    }
    context_.postLogLine(kCompletedText);
  }
  if (auto stop = writeFurtherBounds(
          file, inputs_,
          furtherBoundInputsFromLog10(spectrum.log10Codewords, spectrum.log10Weighted,
                                      input.codeLength, input.codeLength, input.infoBits),
          context_, shownFurther)) {
    return *stop;
  }
  if (const auto reason = file.commit()) {
    return failed(context_, writeFailureText(inputs_.resultsFileName, *reason));
  }
  context_.postLogLine(" " + printableText(inputs_.resultsFileName) + "  Created.");
  context_.postLogLine(timeLine());
  context_.postRunFinished();
  return RunResult{RunOutcome::Finished, input.codeLength, {}};
}

}  // namespace brevandor
