#pragma once

#include <optional>
#include <string>
#include <vector>

#include "cli/simulation_options.h"
#include "progress/run_context.h"
#include "report/export_files.h"
#include "run/run_inputs.h"

namespace brevandor::cli {

// What the user asked for on the command line, before validation.
struct CommandLine {
  std::string numerator{kDefaultNumerator};
  std::string denominator{kDefaultDenominator};
  std::string type = "pccc";
  std::string frameLength = std::to_string(kDefaultFrameLength);
  std::string output{kDefaultResultsFile};
  std::string bounds = "q";
  bool quiet = false;
  std::string threads = "0";
  std::string engine = "fast";
  std::string ebn0 = "0:0.25:5";
  std::string spectrumIn;  // bounds of a spectrum read from this file instead of a code
  std::string codeLength;  // n of the spectrum read
  std::string infoBits;    // K of the spectrum read
  std::string precision;   // empty: the run's default (double for low-weight and N > 1023)
  // The second constituent code; each polynomial not given is the first code's.
  std::string numerator2;
  std::string denominator2;
  // Puncturing patterns; not given: nothing punctured.
  std::string puncture;               // PCCC: SYS,PAR1,PAR2
  std::string punctureOuter;          // SCCC: SYS,PAR of the outer code
  std::string punctureInner;          // SCCC: SYS,PAR of the inner code
  std::string constituents = "2";     // PCCC encoders, 2 … 4
  std::string termination = "both";   // both, first, open, tail-biting
  std::string tailInputs = "all";     // all, first: the encoders that send tail input bits
  std::string tailPattern = "whole";  // whole, punctured: the tails keep the pattern
  std::string code;                   // a standard code by name; empty: none
  std::string maxWeight;      // empty: the whole spectrum; D: low-weight mode, weights d ≤ D only
  std::string interleaver;    // one permutation ("qpp:3,10"); with D, its spectrum is searched
  std::string json;           // --json: the run's record; empty for none
  std::string csv;            // --csv: the bound table
  std::string spectrumCsv;    // --spectrum-csv: the spectrum table
  std::string simulationCsv;  // --simulation-csv: the simulated points
  SimulationTexts simulation;  // --simulate and its options
};

// A validated calculation, or the message that refuses the command line.
struct CheckedCommandLine {
  std::optional<RunInputs> inputs;
  Engine engine = Engine::Fast;
  ExportFiles exports;
  int threads = 0;  // worker threads; 0: all cores
  std::string message;
  std::vector<std::string> warnings;  // for standard error; the run goes ahead
};

// Applies the window's rules to the command line: the frame length (the whole argument), the
// polynomials' lengths, the polynomials (the denominator's message first) and the code; the
// type and bounds names; the thread count; the second code by the same rules, and the
// puncturing patterns for the type. The output path may be as long as the system allows.
CheckedCommandLine checkCommandLine(const CommandLine& commandLine);

}  // namespace brevandor::cli
