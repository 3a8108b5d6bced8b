// brevandor-cli: the average distance spectrum of a turbo code and its bit-error-rate bounds,
// computed headless into a results file. Same calculation as the window.

#include <unistd.h>

#include <CLI/CLI.hpp>
#include <cstdio>

#include "brevandor_version.h"
#include "cli/cancel_signals.h"
#include "cli/cli_options.h"
#include "cli/console_notices.h"
#include "cli/program_arguments.h"
#include "progress/printable_text.h"
#include "run/bound_lists.h"
#include "run/calculation_run.h"
#include "run/standard_codes.h"

namespace {

using namespace brevandor;

constexpr int kExitSuccess = 0;
constexpr int kExitRunFailed = 1;
constexpr int kExitUsage = 2;
constexpr int kExitCancelled = 130;

constexpr const char* kDescription =
    "Computes the average distance spectrum of a turbo code over uniform interleavers, and\n"
    "the error-rate bounds of maximum-likelihood decoding that follow from it for Eb/N0 from\n"
    "0 to 5 dB (or the points of --ebn0). The constituents are systematic convolutional codes\n"
    "( 1, numerator / denominator ), by default two copies of one rate-1/2 code, concatenated\n"
    "in parallel (pccc, two to four encoders) or in series (sccc), or behind a rate-1/3\n"
    "repetition code (rep); --code names a standard code. Writes the code's trellis, the\n"
    "spectrum and the bounds to the results file.\n"
    "With --interleaver and --max-weight it also finds the low-weight codewords of one given\n"
    "permutation; with --simulate it also simulates iterative decoding of the code; with\n"
    "--spectrum-in it computes only the bounds of a spectrum read from a file.";

constexpr const char* kFooter =
    "\nExample:\n"
    "  brevandor-cli --numerator \"1+D^2\" --denominator \"1+D+D^2\" --type pccc \\\n"
    "                --frame-length 1000 --bounds all --output pccc-1000.txt\n"
    "\nExit status: 0 done, 1 the run failed (file, memory), 2 the command line was refused,\n"
    "130 cancelled by Ctrl-C or SIGTERM (the file keeps the sections already written).";

void describeOptions(CLI::App& app, cli::CommandLine& commandLine) {
  app.add_option("-n,--numerator", commandLine.numerator,
                 "Feedforward polynomial in D, e.g. \"1+D+D^2\" (exponents 0 to 9); up to four "
                 "separated by commas for a code ( 1, g1/h, ..., gm/h ) of m parity outputs")
      ->capture_default_str();
  app.add_option("-d,--denominator", commandLine.denominator,
                 "Feedback polynomial in D; \"1\" for a feedforward code")
      ->capture_default_str();
  app.add_option("-t,--type", commandLine.type,
                 "Concatenation: pccc (parallel), sccc (serial), rep (repetition code, then the "
                 "convolutional code)")
      ->capture_default_str();
  app.add_option("-N,--frame-length", commandLine.frameLength,
                 "Input frame length in bits, 10 to 10000 (to 1000000 with --max-weight)")
      ->capture_default_str();
  app.add_option("-o,--output", commandLine.output,
                 "Results file (created, or replaced once complete)")
      ->capture_default_str();
  app.add_option("-b,--bounds", commandLine.bounds, boundListHelp())->capture_default_str();
  app.add_option("--max-weight", commandLine.maxWeight,
                 "Low-weight mode: compute A_d and B_d for weights d <= D only (1 to 1000000); "
                 "the bounds become estimates of the error floor")
      ->type_name("D");
  app.add_option("--interleaver", commandLine.interleaver,
                 "One permutation: random:SEED, s-random:S[:SEED], qpp:F1,F2, lte, ccsds or "
                 "file:PATH. With --max-weight D, every codeword of weight <= D of the code with "
                 "this permutation is found by an exact search (section \"Distance Spectrum of "
                 "the Given Interleaver\"; with --constituents M, encoder c reads the input "
                 "through it applied c - 1 times); the average spectrum is then the low-weight "
                 "one. "
                 "With --simulate, the simulated code's interleaver, where random (the default "
                 "there) draws a new permutation every frame")
      ->type_name("SPEC");
  app.add_option("--ebn0", commandLine.ebn0,
                 "Eb/N0 points of every bound section, FROM:STEP:TO in dB (-5 to 30 dB, at "
                 "most 1001 points)")
      ->capture_default_str();
  CLI::Option* spectrumIn = app.add_option(
      "--spectrum-in", commandLine.spectrumIn,
      "Bounds only, of the spectrum in this CSV file (header d,A,B or d,log10_A,log10_B) of a "
      "code of --code-length n bits and --info-bits K");
  app.add_option("--code-length", commandLine.codeLength,
                 "Code length n of the --spectrum-in spectrum")
      ->needs(spectrumIn);
  app.add_option("--info-bits", commandLine.infoBits,
                 "Information bits K of the --spectrum-in spectrum")
      ->needs(spectrumIn);
  app.add_option("--code", commandLine.code,
                 "A standard turbo code by name: " + standardCodeNames() +
                     ". Sets the polynomials, the pattern, the termination and the tail rules "
                     "(options given beside it must agree); a frame length the standard does "
                     "not define runs with a warning")
      ->type_name("NAME");
  for (const char* codeOption : {"--numerator", "--denominator", "--type", "--frame-length",
                                 "--max-weight", "--interleaver", "--code"}) {
    spectrumIn->excludes(app.get_option(codeOption));
  }
  app.add_flag("-q,--quiet", commandLine.quiet, "Print no log lines");
  app.add_option("--json", commandLine.json,
                 "Also write the whole result as JSON (inputs, code, spectrum, bounds)");
  app.add_option("--csv", commandLine.csv, "Also write the bound table as CSV");
  app.add_option("--spectrum-csv", commandLine.spectrumCsv, "Also write the spectrum as CSV");
  app.add_option("--simulation-csv", commandLine.simulationCsv,
                 "Also write the simulated points as CSV (with --simulate)");
  app.add_option("-j,--threads", commandLine.threads,
                 "Worker threads of the calculation (0: all cores; at most four per hardware "
                 "thread)")
      ->capture_default_str();
  app.add_option("--numerator2", commandLine.numerator2,
                 "Second constituent code's feedforward polynomial or comma-separated list (PCCC "
                 "encoder 2, SCCC inner code); default: --numerator");
  app.add_option("--denominator2", commandLine.denominator2,
                 "Second constituent code's feedback polynomial; default: --denominator");
  app.add_option("--constituents", commandLine.constituents,
                 "PCCC: encoders M (2 to 4), each after an independent uniform interleaver but "
                 "the first; encoders after the first use the second code")
      ->capture_default_str()
      ->type_name("M");
  app.add_option("--termination", commandLine.termination,
                 "How the encoders' frames end: both (each terminated by its own tail), first "
                 "(encoder 1 / the outer code terminated, the others open), open (no tails), "
                 "tail-biting (PCCC, SCCC: each encoder ends in the state it began in, where every "
                 "input has one such state), tail-biting-outer, tail-biting-inner (SCCC: that "
                 "code tail-biting, the other terminated)")
      ->capture_default_str();
  app.add_option("--tail-inputs", commandLine.tailInputs,
                 "Which terminated encoders send their tail input bits: all, or first (encoder "
                 "1 only; the others send their tail parities)")
      ->capture_default_str();
  app.add_option("--tail-pattern", commandLine.tailPattern,
                 "whole: tail sections send every bit; punctured: they continue the "
                 "puncturing pattern at sections N, N+1, ...")
      ->capture_default_str();
  app.add_option("--puncture", commandLine.puncture,
                 "PCCC puncturing pattern SYS,PAR1,PAR2: rows of 0/1 of one period (1 to 64), "
                 "e.g. 11,10,01 for rate 1/2; an encoder of m parity outputs has m rows "
                 "PARc.1 ... PARc.m in polynomial order");
  app.add_option("--puncture-outer", commandLine.punctureOuter,
                 "SCCC puncturing pattern SYS,PAR of the outer code, e.g. 11,10 (SYS,PAR1,...,PARm "
                 "for m parity outputs)");
  app.add_option("--puncture-inner", commandLine.punctureInner,
                 "SCCC puncturing pattern SYS,PAR of the inner code");
  app.add_option("--precision", commandLine.precision,
                 "Weight tables in single or double precision (double: twice the memory, "
                 "spectra exact to about 1e-9); default: double for low-weight runs and frames "
                 "over 1023 bits (single when double does not fit), else single");
  cli::describeSimulationOptions(app, commandLine.simulation);
  spectrumIn->excludes(app.get_option("--simulate"));
  // Selects the plain reference implementation of the hot stages; kept for comparisons.
  app.add_option("--engine", commandLine.engine)->group("");
}

// A refusal or failure on standard error, control characters escaped.
void printError(const std::string& message) {
  std::fprintf(stderr, "brevandor-cli: %s\n", printableText(message).c_str());
}

int runCalculation(const cli::CheckedCommandLine& checked, const cli::CommandLine& commandLine) {
  cli::ignoreWriteSignals();
  cli::ConsoleNotices notices(!commandLine.quiet, isatty(STDERR_FILENO) == 1);
  RunContext context;
  context.cancelFlag = &cli::cancelOnSignals();
  context.noticeTarget = &notices;
  context.engine = checked.engine;
  context.threads = checked.threads;

  // An export that could not be written after the run fails it now, before any stage.
  if (const std::string problems = exportProblems(checked.exports); !problems.empty()) {
    printError(problems);
    return kExitRunFailed;
  }
  const RunResult result = CalculationRun(*checked.inputs, context).execute();
  notices.clearStatus();
  if (notices.showsLog()) {
    std::fputc('\n', stdout);
    std::fflush(stdout);
  }
  switch (result.outcome) {
    case RunOutcome::Finished:
      // A run from a spectrum file has no record (and its exports are refused above).
      if (result.record == nullptr) {
        return kExitSuccess;
      }
      if (const std::string failure = writeExportFiles(*result.record, checked.exports);
          !failure.empty()) {
        printError(failure);
        return kExitRunFailed;
      }
      return kExitSuccess;
    case RunOutcome::Cancelled:
      for (const std::string& line : removeStaleExports(checked.exports, "the run was cancelled")) {
        printError(line);
      }
      return kExitCancelled;
    case RunOutcome::Failed:
      printError(result.failure);
      for (const std::string& line : removeStaleExports(checked.exports, "the run failed")) {
        printError(line);
      }
      return kExitRunFailed;
  }
  return kExitRunFailed;
}

}  // namespace

int main(int argc, char** argv) {
  CLI::App app{kDescription, "brevandor-cli"};
  app.footer(kFooter);
  app.set_version_flag("--version", "brevandor-cli (Brevandor) Version " BREVANDOR_VERSION);
  cli::CommandLine commandLine;
  describeOptions(app, commandLine);
  if (const std::optional<int> ended = cli::readProgramArguments(app, argc, argv)) {
    return *ended;
  }
  for (const CLI::Option* option : app.get_options()) {
    if (option->count() > 0) {
      commandLine.given.push_back(option->get_name());
    }
  }

  const cli::CheckedCommandLine checked = cli::checkCommandLine(commandLine);
  if (!checked.inputs) {
    printError(checked.message);
    return kExitUsage;
  }
  for (const std::string& warning : checked.warnings) {
    std::fprintf(stderr, "brevandor-cli: warning: %s\n", warning.c_str());
  }
  return runCalculation(checked, commandLine);
}
