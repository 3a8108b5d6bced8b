#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "progress/run_context.h"
#include "report/run_record.h"
#include "run/run_inputs.h"

namespace brevandor {

class ResultsFile;

// How a calculation ended.
enum class RunOutcome {
  Finished,   // every section written, the file closed, RunFinished posted
  Cancelled,  // a stage saw the cancel request; "\n -- Calculation Canceled \n" logged and
              // written at the end of the sections already in the file
  Failed,     // the file could not be opened or written, or the tables not allocated; logged
};

struct RunResult {
  RunOutcome outcome = RunOutcome::Failed;
  std::int32_t maxWeight = -1;                // D, the largest codeword weight, when finished
  std::string failure;                        // what went wrong, when failed
  std::shared_ptr<const RunRecord> record{};  // everything the run produced, when finished
};

// One complete calculation: opens the results file, builds the code, its enumerators and
// the turbo code, runs the stages "TM", "CWEF", "TWEF" and, when bounds are selected, "BER"
// and "Further Bounds", writes the report, frees everything and posts RunFinished. With a
// spectrum read from a file (inputs.spectrumInput) it writes that spectrum's bounds alone. Runs on
// the calling thread (the front ends call it from their worker thread); log and status text, the
// cancel request and the engine come through the context. No exception leaves it.
class CalculationRun {
 public:
  CalculationRun(RunInputs inputs, const RunContext& context)
      : inputs_(std::move(inputs)), context_(context) {}

  RunResult execute();

 private:
  RunResult executeGuarded(ResultsFile& file);
  RunResult executeStages(ResultsFile& file);
  // Only the bound sections, of the spectrum read from a file (inputs_.spectrumInput).
  RunResult executeSpectrumStages(ResultsFile& file);

  RunInputs inputs_;
  const RunContext& context_;
};

}  // namespace brevandor
