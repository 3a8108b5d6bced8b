// Arbitrary values for the command line's options, checked as the program checks them: no
// crash, no undefined behaviour; a refusal always says why, without a control character once
// escaped, and an accepted command line is always within the limits.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "bounds/further_bounds.h"
#include "cli/cli_options.h"
#include "progress/printable_text.h"

namespace {

using namespace brevandor;

// The input's fields, separated by NUL bytes, in the order of the fields of CommandLine.
cli::CommandLine commandLineFrom(std::string_view input) {
  cli::CommandLine commandLine;
  std::string* fields[] = {&commandLine.numerator, &commandLine.denominator,
                           &commandLine.type,      &commandLine.frameLength,
                           &commandLine.output,    &commandLine.bounds,
                           &commandLine.threads,   &commandLine.engine,
                           &commandLine.maxWeight, &commandLine.ebn0};
  for (std::string* field : fields) {
    if (input.empty()) {
      break;
    }
    const std::size_t end = std::min(input.find('\0'), input.size());
    *field = std::string(input.substr(0, end));
    input.remove_prefix(std::min(end + 1, input.size()));
  }
  return commandLine;
}

bool hasControlCharacter(const std::string& text) {
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 0x20 || byte == 0x7f) {
      return true;
    }
  }
  return false;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  const cli::CommandLine commandLine = commandLineFrom(input);
  const cli::CheckedCommandLine checked = cli::checkCommandLine(commandLine);
  if (!checked.inputs) {
    if (checked.message.empty() || hasControlCharacter(printableText(checked.message))) {
      __builtin_trap();
    }
    return 0;
  }
  const RunInputs& inputs = *checked.inputs;
  if (inputs.inputFrameLength < kMinFrameLength ||
      inputs.inputFrameLength > maxFrameLengthFor(inputs.maxWeight) || inputs.maxWeight < 0 ||
      checked.threads < 0 || checked.threads > maxWorkerThreads() ||
      (inputs.boundSelection.bits() & ~kAllBerBounds.bits()) != 0 ||
      inputs.resultsFileName.empty()) {
    __builtin_trap();
  }
  const EbN0Grid& grid = inputs.ebn0Grid;
  if (inputs.furtherBounds.bits() >= (1U << kFurtherBoundCount) || !(grid.step > 0.0) ||
      grid.from < kMinEbN0Decibels || grid.to > kMaxEbN0Decibels || grid.count() < 1 ||
      grid.count() > kMaxEbN0Points) {
    __builtin_trap();
  }
  // The window's fields read their numbers from the first 31 characters only.
  checkFrameLength(commandLine.frameLength);
  checkMaxWeight(commandLine.maxWeight);
  return 0;
}
