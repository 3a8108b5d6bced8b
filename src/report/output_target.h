#pragma once

#include <sys/stat.h>

#include <optional>
#include <string>

namespace brevandor {

// What an output path names, decided by what the file is rather than by how its name reads:
// the file to be replaced through a temporary beside it (a regular file, or none yet), or a
// special file written in place (a FIFO, a terminal, a device, or a process's open file such
// as /dev/stdout, whatever that leads to).
struct OutputTarget {
  std::string path;  // the file itself: symbolic links followed, a dangling link's target
  bool special = false;
  bool exists = false;
  struct stat status {};  // of the existing file
};

// The target of `path`, or why it cannot be one ("'x' is a loop of symbolic links").
struct OutputTargetCheck {
  std::optional<OutputTarget> target;
  std::string reason;
};

OutputTargetCheck resolveOutputTarget(const std::string& path);

// The reason a regular target could not be replaced as the results file replaces it, found
// without touching it: a name longer than the folder allows, a folder where no file may be
// created (the temporary file beside the target is created and removed again), an existing
// file that the process may not replace (read-only, or another user's in a sticky folder).
// Nothing for a special target, which is written in place.
std::optional<std::string> replaceProblem(const OutputTarget& target);

// The temporary file's name beside `target`: ".NAME.SUFFIX", the name shortened so that the
// whole stays within the system's limit whatever the target is called.
std::string temporaryName(const std::string& target, const std::string& suffix);

}  // namespace brevandor
