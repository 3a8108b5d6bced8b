#include "ui/window_arguments.h"

#include <cstdio>
#include <string_view>

#include "brevandor_version.h"

namespace brevandor {

namespace {

constexpr const char* kHelp =
    "Usage: brevandor [Qt options]\n"
    "       brevandor --help | --version\n"
    "\n"
    "Opens the Brevandor window: the average distance spectrum of a turbo code over a uniform\n"
    "interleaver and the bit-error-rate bounds that follow from it, computed on a worker\n"
    "thread into a results file. brevandor-cli runs the same calculation without a window.\n"
    "\n"
    "Options:\n"
    "  -h,--help                   Print this help message and exit\n"
    "  --version                   Display program version information and exit\n"
    "\n"
    "The standard options of Qt programs (such as -platform NAME or -style NAME) are\n"
    "accepted as well.\n";

}  // namespace

std::optional<int> answerHelpOrVersion(int argc, const char* const* argv) {
  for (int i = 1; i < argc; ++i) {
    const std::string_view argument = argv[i];
    if (argument == "--help" || argument == "-h") {
      std::fputs(kHelp, stdout);
      return 0;
    }
    if (argument == "--version") {
      std::puts("brevandor (Brevandor) Version " BREVANDOR_VERSION);
      return 0;
    }
  }
  return std::nullopt;
}

}  // namespace brevandor
