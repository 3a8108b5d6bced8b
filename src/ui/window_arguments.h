#pragma once

#include <optional>

namespace brevandor {

// Answers --help and --version of the desktop program before any window system is touched,
// so that both work without a display. Returns the exit status when one was answered, and
// nothing when the window should start (Qt then reads its own options).
std::optional<int> answerHelpOrVersion(int argc, const char* const* argv);

}  // namespace brevandor
