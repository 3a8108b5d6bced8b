#include "report/output_target.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>

namespace brevandor {

namespace {

// Links followed before a chain counts as a loop, as the system counts them.
constexpr int kMostLinks = 40;
// Bytes of the target's name kept in the temporary's name, so that the temporary's name stays
// within the system's limit of 255 bytes whatever the target is called.
constexpr std::size_t kNameBytesKept = 200;

std::string folderOf(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  return slash == std::string::npos ? "." : slash == 0 ? "/" : path.substr(0, slash);
}

std::string nameOf(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

// Whether `path` is an entry of a process's table of open files (/proc/self/fd/1, which
// /dev/stdout and /dev/fd/1 lead to): its folder, resolved, is /proc/PID/fd.
bool isOpenFileEntry(const std::string& path) {
  char* resolved = realpath(folderOf(path).c_str(), nullptr);
  if (resolved == nullptr) {
    return false;
  }
  const std::string folder(resolved);
  std::free(resolved);
  return folder.starts_with("/proc/") && folder.ends_with("/fd");
}

// Follows the chain of symbolic links that starts at `path` one link at a time, as far as it
// leads: to an existing file, to a name that does not exist yet (a dangling link), or to a
// process's open file. Nothing when the chain is a loop.
std::optional<std::string> endOfLinks(std::string path, bool& openFile) {
  openFile = false;
  for (int hop = 0; hop <= kMostLinks; ++hop) {
    openFile = openFile || isOpenFileEntry(path);
    struct stat status {};
    if (lstat(path.c_str(), &status) != 0 || !S_ISLNK(status.st_mode)) {
      return path;
    }
    char link[PATH_MAX];
    const ssize_t size = readlink(path.c_str(), link, sizeof link - 1);
    if (size < 0) {
      return path;
    }
    const std::string next(link, static_cast<std::size_t>(size));
    path = next.starts_with('/') ? next : folderOf(path) + "/" + next;
  }
  return std::nullopt;
}

}  // namespace

OutputTargetCheck resolveOutputTarget(const std::string& path) {
  OutputTarget target;
  bool openFile = false;
  const std::optional<std::string> end = endOfLinks(path, openFile);
  if (!end) {
    return {std::nullopt, "its symbolic links lead round in a loop"};
  }
  target.exists = ::stat(end->c_str(), &target.status) == 0;
  if (!target.exists && errno != ENOENT) {
    return {std::nullopt, std::strerror(errno)};
  }
  target.special = openFile || (target.exists && !S_ISREG(target.status.st_mode));
  // A process's open file is opened by its own name, which the system resolves to that file.
  target.path = openFile ? path : *end;
  if (!target.special) {
    // The real name of the file, or of its folder, so that the temporary goes beside it.
    const bool whole = target.exists;
    if (char* resolved = realpath(whole ? end->c_str() : folderOf(*end).c_str(), nullptr)) {
      const std::string real(resolved);
      std::free(resolved);
      target.path = whole ? real : (real == "/" ? "" : real) + "/" + nameOf(*end);
    }
  }
  return {std::move(target), {}};
}

std::string temporaryName(const std::string& target, const std::string& suffix) {
  const std::size_t slash = target.rfind('/');
  const std::string folder = slash == std::string::npos ? "" : target.substr(0, slash + 1);
  return folder + "." + nameOf(target).substr(0, kNameBytesKept) + "." + suffix;
}

std::optional<std::string> replaceProblem(const OutputTarget& target) {
  if (target.special) {
    return std::nullopt;
  }
  const std::string folder = folderOf(target.path);
  const long longestName = pathconf(folder.c_str(), _PC_NAME_MAX);
  if (longestName > 0 && nameOf(target.path).size() > static_cast<std::size_t>(longestName)) {
    return std::strerror(ENAMETOOLONG);
  }
  // The earlier file is replaced only where it could have been overwritten.
  if (target.exists && faccessat(AT_FDCWD, target.path.c_str(), W_OK, AT_EACCESS) != 0) {
    return std::strerror(errno);
  }
  struct stat folderStatus {};
  if (target.exists && ::stat(folder.c_str(), &folderStatus) == 0 &&
      (folderStatus.st_mode & S_ISVTX) != 0) {
    // In a sticky folder only the file's owner, the folder's owner or the superuser may
    // replace a file.
    const uid_t user = geteuid();
    if (user != 0 && user != target.status.st_uid && user != folderStatus.st_uid) {
      return std::strerror(EPERM);
    }
  }
  const std::string probe = temporaryName(target.path, "probe" + std::to_string(getpid()));
  const int descriptor = ::open(probe.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
  if (descriptor < 0) {
    return errno == EEXIST ? std::nullopt : std::optional<std::string>(std::strerror(errno));
  }
  close(descriptor);
  unlink(probe.c_str());
  return std::nullopt;
}

}  // namespace brevandor
