#include "report/results_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <random>

namespace brevandor {

namespace {

constexpr int kBufferBytes = 1 << 16;
// Bytes of the target's name kept in the temporary's name, so that the temporary's name stays
// within the system's limit of 255 bytes whatever the target is called.
constexpr std::size_t kNameBytesKept = 200;

// Paths that name a device or a process's open file, even where they lead to a regular file
// (`/dev/stdout` redirected to a file): written in place, like any special file.
bool namesSpecialFile(const std::string& path) {
  return path.starts_with("/dev/") || path.starts_with("/proc/");
}

// The regular file that a path names, following symbolic links; the path itself when it is
// no link or the link leads nowhere yet.
std::string resolvedTarget(const std::string& path) {
  struct stat status {};
  if (lstat(path.c_str(), &status) != 0 || !S_ISLNK(status.st_mode)) {
    return path;
  }
  char* resolved = realpath(path.c_str(), nullptr);
  if (resolved == nullptr) {
    return path;
  }
  std::string target(resolved);
  std::free(resolved);
  return target;
}

// Creates a new, empty file beside `target` with a name no other file has, as open(2) would
// create the target itself (the permissions 0666 less the umask); −1 with errno set when it
// cannot.
int createTemporary(const std::string& target, std::string& name) {
  const std::size_t slash = target.rfind('/');
  const std::string folder = slash == std::string::npos ? "" : target.substr(0, slash + 1);
  const std::string base = target.substr(slash == std::string::npos ? 0 : slash + 1);
  static constexpr char kLetters[] = "abcdefghijklmnopqrstuvwxyz0123456789";
  std::random_device entropy;
  for (int attempt = 0; attempt < 100; ++attempt) {
    std::uint64_t bits = (static_cast<std::uint64_t>(entropy()) << 32) ^ entropy();
    std::string suffix;
    for (int i = 0; i < 8; ++i, bits /= 36) {
      suffix += kLetters[bits % 36];
    }
    name = folder + "." + base.substr(0, kNameBytesKept) + "." + suffix;
    const int descriptor = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (descriptor >= 0 || errno != EEXIST) {
      return descriptor;
    }
  }
  return -1;
}

}  // namespace

ResultsFile::~ResultsFile() {
  discard({});
}

std::optional<std::string> ResultsFile::open(const std::string& path) {
  struct stat status {};
  const bool exists = ::stat(path.c_str(), &status) == 0;
  direct_ = namesSpecialFile(path) || (exists && !S_ISREG(status.st_mode));
  if (direct_) {
    // Write-only: a FIFO waits here for its reader instead of swallowing the output.
    descriptor_ = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC | O_NOCTTY, 0666);
  } else {
    target_ = resolvedTarget(path);
    // The earlier file is replaced only where it could have been overwritten.
    if (exists && faccessat(AT_FDCWD, target_.c_str(), W_OK, AT_EACCESS) != 0) {
      return std::strerror(errno);
    }
    descriptor_ = createTemporary(target_, temporary_);
    if (descriptor_ >= 0 && exists) {
      fchmod(descriptor_, status.st_mode & 07777);
    }
  }
  if (descriptor_ < 0) {
    const int error = errno;
    temporary_.clear();
    return std::strerror(error);
  }
  stream_ =
      fopencookie(this, "w", cookie_io_functions_t{nullptr, writeCookie, nullptr, closeCookie});
  if (stream_ == nullptr) {
    const int error = errno;
    discard({});
    return std::strerror(error);
  }
  std::setvbuf(stream_, nullptr, _IOFBF, kBufferBytes);
  return std::nullopt;
}

std::optional<std::string> ResultsFile::failure() const {
  if (error_ == 0) {
    return std::nullopt;
  }
  return std::strerror(error_);
}

std::optional<std::string> ResultsFile::commit() {
  if (stream_ == nullptr) {
    return std::strerror(EBADF);
  }
  if (std::fflush(stream_) == 0 && !direct_ && fsync(descriptor_) != 0) {
    recordError(errno);
  }
  if (auto reason = finish()) {
    discard({});
    return reason;
  }
  if (!direct_ && std::rename(temporary_.c_str(), target_.c_str()) != 0) {
    const int error = errno;
    discard({});
    return std::strerror(error);
  }
  temporary_.clear();
  return std::nullopt;
}

std::optional<std::string> ResultsFile::commitWithLastLine(const std::string& text) {
  if (stream_ != nullptr) {
    std::fputs(text.c_str(), stream_);
  }
  return commit();
}

void ResultsFile::discard(const std::string& text) {
  if (stream_ != nullptr && direct_ && error_ == 0) {
    std::fputs(text.c_str(), stream_);
  }
  finish();
  if (!temporary_.empty()) {
    unlink(temporary_.c_str());
    temporary_.clear();
  }
}

// Closes the stream (which flushes it and closes the descriptor); the reason of the first
// failure of any write, the flush or the close.
std::optional<std::string> ResultsFile::finish() {
  if (stream_ != nullptr) {
    std::fclose(stream_);
    stream_ = nullptr;
  } else if (descriptor_ >= 0) {
    closeCookie(this);
  }
  return failure();
}

void ResultsFile::recordError(int error) {
  if (error_ == 0) {
    error_ = error == 0 ? EIO : error;
  }
}

ssize_t ResultsFile::writeCookie(void* cookie, const char* data, std::size_t size) {
  auto& file = *static_cast<ResultsFile*>(cookie);
  if (file.error_ != 0) {
    return 0;  // nothing more is written after a failure
  }
  std::size_t written = 0;
  while (written < size) {
    const ssize_t count = ::write(file.descriptor_, data + written, size - written);
    if (count > 0) {
      written += static_cast<std::size_t>(count);
    } else if (count < 0 && errno == EINTR) {
      continue;
    } else {
      // A file-size limit shows here as EFBIG once SIGXFSZ is ignored.
      file.recordError(count == 0 ? EIO : errno);
      return 0;
    }
  }
  return static_cast<ssize_t>(size);
}

int ResultsFile::closeCookie(void* cookie) {
  auto& file = *static_cast<ResultsFile*>(cookie);
  const int descriptor = file.descriptor_;
  file.descriptor_ = -1;
  if (descriptor >= 0 && ::close(descriptor) != 0 && errno != EINTR) {
    file.recordError(errno);
    return -1;
  }
  return 0;
}

}  // namespace brevandor
