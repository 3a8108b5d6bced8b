#pragma once

#include <CLI/CLI.hpp>
#include <optional>

namespace brevandor::cli {

// The exit status of a refused command line, the same for every command-line program.
inline constexpr int kExitRefused = 2;

// Reads the arguments as every command-line program of the project does: CLI11's messages
// with the offending argument's control characters escaped, --help and --version, the hidden
// --manual-options that prints the OPTIONS section of the manual page (the build writes the
// page with it), and status 2 for a refused line. Returns the status to end the program with,
// or nothing when the program goes on with the options it has read.
std::optional<int> readProgramArguments(CLI::App& app, int argc, char** argv);

}  // namespace brevandor::cli
