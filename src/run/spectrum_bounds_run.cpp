#include "run/spectrum_bounds_run.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <exception>
#include <memory>
#include <new>

#include "run/bound_stages.h"

namespace brevandor {

namespace {

struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};

std::string timeLine() {
  const std::time_t now = std::time(nullptr);
  char text[64];
  std::snprintf(text, sizeof text, " %s", std::ctime(&now));
  return text;
}

RunResult failed(const RunContext& context, const std::string& what) {
  context.postLogLine("\n -- " + what + " \n");
  return RunResult{RunOutcome::Failed, -1, what};
}

RunResult cancelled(const RunContext& context) {
  context.postLogLine("\n -- Calculation Canceled \n");
  return RunResult{RunOutcome::Cancelled, -1, {}};
}

void printSpectrumInput(std::FILE* file, const SpectrumBoundsInputs& inputs) {
  std::fprintf(file, "\n Spectrum Input -----------------------------\n");
  std::fprintf(file, "\n Spectrum File : %s ", inputs.spectrumPath.c_str());
  std::fprintf(file, "\n Code Length n = %d [bits]", inputs.codeLength);
  std::fprintf(file, "\n Information Bits K = %d [bits]", inputs.infoBits);
  std::fprintf(file, "\n Rate : %f \n", static_cast<double>(inputs.infoBits) / inputs.codeLength);
  std::fprintf(file, "\n End of Spectrum Input ----------------------\n");
  std::fflush(file);
}

RunResult executeSpectrumBounds(const SpectrumBoundsInputs& inputs, const RunContext& context) {
  context.postLogLine("\n> Start Calculation ");
  context.postLogLine(timeLine());
  errno = 0;
  std::unique_ptr<std::FILE, FileCloser> file(std::fopen(inputs.resultsFileName.c_str(), "w+"));
  if (!file) {
    return failed(context, "Cannot open the results file '" + inputs.resultsFileName +
                               "': " + std::strerror(errno));
  }
  printSpectrumInput(file.get(), inputs);
  const double rate = static_cast<double>(inputs.infoBits) / inputs.codeLength;
  if (runBoundStages(file.get(), rate, inputs.spectrum.log10Codewords,
                     inputs.spectrum.log10Weighted, inputs.codeLength, inputs.infoBits,
                     inputs.boundSelection, inputs.furtherBounds, inputs.ebn0Grid, context) < 0) {
    return cancelled(context);
  }
  file.reset();
  context.postLogLine(" " + inputs.resultsFileName + "  Created.");
  context.postLogLine(timeLine());
  context.postRunFinished();
  return RunResult{RunOutcome::Finished, inputs.codeLength, {}};
}

}  // namespace

RunResult runSpectrumBounds(const SpectrumBoundsInputs& inputs, const RunContext& context) {
  try {
    return executeSpectrumBounds(inputs, context);
  } catch (const std::bad_alloc&) {
    return failed(context, "Not enough memory for the bounds of this spectrum");
  } catch (const std::exception& error) {
    return failed(context, std::string("Calculation failed: ") + error.what());
  }
}

}  // namespace brevandor
