#include "run/calculation_run.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <exception>
#include <memory>
#include <new>
#include <span>
#include <vector>

#include "bounds/ber_bounds.h"
#include "code/conv_code.h"
#include "enumerators/weight_enumerator.h"
#include "report/results_report.h"
#include "run/memory_budget.h"
#include "run/run_memory.h"
#include "logmath/log_domain.h"
#include "turbo/turbo_code.h"

namespace brevandor {

namespace {

constexpr const char* kCancelledText = "\n -- Calculation Canceled \n";
constexpr const char* kCompletedText = " Completed \n";

struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};
using ResultsFile = std::unique_ptr<std::FILE, FileCloser>;

// " " followed by the calendar time as ctime writes it (its line feed included).
std::string timeLine() {
  const std::time_t now = std::time(nullptr);
  char text[64];
  std::snprintf(text, sizeof text, " %s", std::ctime(&now));
  return text;
}

// The code the run builds: for the repetition-outer type, the non-systematic counterpart of
// the described code (one output bit per input bit, from the same numerator and denominator).
CodeDescription preparedCode(const RunInputs& inputs) {
  if (inputs.selectedType == RepetitionSerial) {
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

// Everything one run creates, released in this order when the run ends whichever way:
// the enumerators' tables, the code, the turbo code, the spectra; the file last.
class RunObjects {
 public:
  explicit RunObjects(const RunInputs& inputs)
      : code_(preparedCode(inputs)),
        turbo_(inputs.selectedType, kConstituentCount) {
    turbo_.attachConstituent(0, code_, enumerators_[0]);
    turbo_.attachConstituent(1, code_, enumerators_[1]);
    for (WeightEnumerator& enumerator : enumerators_) {
      enumerator.precision = inputs.precision;
    }
  }
  RunObjects(const RunObjects&) = delete;
  RunObjects& operator=(const RunObjects&) = delete;
  ~RunObjects() { releaseAll(); }

  // Creates or truncates the results file; false when it cannot be opened.
  bool openFile(const std::string& path) {
    file_.reset(std::fopen(path.c_str(), "w+"));
    return file_ != nullptr;
  }
  std::FILE* file() { return file_.get(); }
  ConvCode& code() { return code_; }
  WeightEnumerator& enumerator(int index) { return enumerators_[index]; }
  TurboCode& turbo() { return turbo_; }
  std::vector<double>& codewordSpectrum() { return codewordSpectrum_; }
  std::vector<double>& weightedSpectrum() { return weightedSpectrum_; }

  void allocateSpectra() {
    const auto entries = static_cast<std::size_t>(turbo_.outputFrameLength) + 1;
    codewordSpectrum_.assign(entries, 0.0);
    weightedSpectrum_.assign(entries, 0.0);
  }

  void releaseAll() {
    for (WeightEnumerator& enumerator : enumerators_) {
      enumerator.releaseLayers(code_);
      enumerator.releaseLogTransferMatrix(code_);
      enumerator.release(code_);
    }
    codewordSpectrum_ = {};
    weightedSpectrum_ = {};
    file_.reset();
  }

 private:
  ResultsFile file_;
  ConvCode code_;
  WeightEnumerator enumerators_[2];
  TurboCode turbo_;
  std::vector<double> codewordSpectrum_;
  std::vector<double> weightedSpectrum_;
};

// The "TM" and "CWEF" stages of each concatenation type. Returns 0, or −1 when cancelled.
std::int32_t runEnumeratorStages(RunObjects& run, bool shareParallelTable,
                                 const RunContext& context) {
  ConvCode& code = run.code();
  WeightEnumerator& first = run.enumerator(0);
  WeightEnumerator& second = run.enumerator(1);
  context.postLogLine("\n TM Calculation .. ");
  switch (run.turbo().concatenationType) {
    case Parallel:
      first.computeTransferMatrix(code);
      context.postLogLine(kCompletedText);
      context.postLogLine(" CWEF Calculation .. ");
      if (first.computeCwef(code, context) < 0) {
        return -1;
      }
      if (!shareParallelTable) {
        first.copyTo(second, code);
      }
      context.postLogLine(kCompletedText);
      return 0;
    case Serial:
      first.computeTransferMatrix(code);
      second.computeTransferMatrix(code);
      context.postLogLine(kCompletedText);
      context.postLogLine(" CWEF 1 Calculation .. ");
      if (first.computeCwef(code, context) < 0) {
        return -1;
      }
      context.postLogLine(kCompletedText);
      break;
    default:
      if (first.computeRepetitionCwef(code) < 0) {
        return -1;
      }
      second.computeTransferMatrix(code);
      context.postLogLine(kCompletedText);
      break;
  }
  context.postLogLine(" CWEF 2 Calculation .. ");
  if (second.computeCwef(code, context) < 0) {
    return -1;
  }
  context.postLogLine(kCompletedText);
  return 0;
}

}  // namespace

RunResult CalculationRun::execute() {
  try {
    return executeStages();
  } catch (const std::bad_alloc&) {
    return failed(context_, "Not enough memory for the tables of this frame");
  } catch (const std::exception& error) {
    return failed(context_, std::string("Calculation failed: ") + error.what());
  }
}

RunResult CalculationRun::executeStages() {
  context_.postLogLine("\n> Start Calculation ");
  context_.postLogLine(timeLine());

  RunObjects run(inputs_);
  TurboCode& turbo = run.turbo();
  turbo.setFrameLength(inputs_.inputFrameLength, kRepetitionFactor);

  // Refuse before the results file is touched when the machine cannot hold the tables.
  const bool shareParallelTable = sharesParallelTable(turbo, context_.engine);
  const RunMemoryPlan plan = planRunMemory(turbo, context_);
  if (const auto available = availableMemoryBytes(); available && plan.peak() > *available) {
    return failed(context_, "Not enough memory: a frame of N = " +
                                std::to_string(inputs_.inputFrameLength) + " needs " +
                                formatBytes(plan.peak()) + ", " + formatBytes(*available) +
                                " available");
  }

  errno = 0;
  if (!run.openFile(inputs_.resultsFileName)) {
    return failed(context_, "Cannot open the results file '" + inputs_.resultsFileName +
                                "': " + std::strerror(errno));
  }
  printTurboParameters(run.file(), turbo);

  ConvCode& code = run.code();
  run.enumerator(0).allocate(code);
  if (!shareParallelTable) {
    run.enumerator(1).allocate(code);
  }
  run.allocateSpectra();

  if (runEnumeratorStages(run, shareParallelTable, context_) < 0) {
    return cancelled(context_);
  }

  context_.postLogLine(" TWEF Calculation .. ");
  std::span<double> codeword(run.codewordSpectrum());
  std::span<double> weighted(run.weightedSpectrum());
  const std::int32_t maxWeight = turbo.concatenationType == Parallel
                                     ? turbo.computeParallelSpectrum(codeword, weighted, context_)
                                     : turbo.computeSerialSpectrum(codeword, weighted, context_);
  if (maxWeight == -1) {
    return cancelled(context_);
  }
  if (maxWeight < 0) {
    return failed(context_, "The spectrum stage found the constituent tables incomplete");
  }
  // The bounds read the weighted spectrum before scaling: for long frames scaling by 10^−e
  // flushes the low-weight entries, which dominate the bounds at high signal-to-noise ratios,
  // to zero. The report prints such entries from these logarithms too.
  const std::vector<double> log10Weighted(weighted.begin(), weighted.end());
  const std::vector<double> log10Codeword(codeword.begin(), codeword.end());
  const double codewordScale = scaleSpectrum(codeword, maxWeight);
  const double weightedScale = scaleSpectrum(weighted, maxWeight);
  printDistanceSpectrum(run.file(), turbo.frameLengths[0], codeword, weighted, maxWeight,
                        codewordScale, weightedScale, log10Codeword, log10Weighted);
  context_.postLogLine(kCompletedText);

  if (inputs_.boundSelection != 0) {
    context_.postLogLine(" BER Calculation .. ");
    if (computeBerBoundsFromLog10(run.file(), turbo.rate, log10Weighted, maxWeight,
                                  inputs_.boundSelection, context_) < 0) {
      return cancelled(context_);
    }
    context_.postLogLine(kCompletedText);
  }

  run.releaseAll();
  context_.postLogLine(" " + inputs_.resultsFileName + "  Created.");
  context_.postLogLine(timeLine());
  context_.postRunFinished();
  return RunResult{RunOutcome::Finished, maxWeight, {}};
}

}  // namespace brevandor
