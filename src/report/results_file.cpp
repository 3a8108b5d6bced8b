#include "report/results_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <random>

#include "report/output_target.h"

namespace brevandor {

namespace {

constexpr int kBufferBytes = 1 << 16;
// How often a FIFO without a reader is tried again, and the cancel request looked at.
constexpr long kReaderPollNanoseconds = 20'000'000;

// The names of the temporary files not yet committed or removed, where a signal handler can
// reach them: fixed storage, a slot taken by an atomic flag.
struct TemporarySlot {
  std::atomic<bool> used{false};
  char name[PATH_MAX] = {};
};
constexpr int kTemporarySlots = 16;
TemporarySlot temporarySlots[kTemporarySlots];

int rememberTemporary(const std::string& name) {
  if (name.size() >= PATH_MAX) {
    return -1;
  }
  for (int slot = 0; slot < kTemporarySlots; ++slot) {
    TemporarySlot& entry = temporarySlots[slot];
    bool expected = false;
    if (entry.used.load(std::memory_order_acquire) ||
        !entry.used.compare_exchange_strong(expected, true, std::memory_order_acq_rel)) {
      continue;
    }
    // A handler that runs before the name is whole unlinks a name that does not exist.
    std::memcpy(entry.name, name.c_str(), name.size() + 1);
    return slot;
  }
  return -1;
}

void forgetTemporary(int slot) {
  if (slot >= 0) {
    temporarySlots[slot].name[0] = '\0';
    temporarySlots[slot].used.store(false, std::memory_order_release);
  }
}

// Creates a new, empty file beside `target` with a name no other file has, as open(2) would
// create the target itself (the permissions 0666 less the umask); −1 with errno set when it
// cannot.
int createTemporary(const std::string& target, std::string& name) {
  static constexpr char kLetters[] = "abcdefghijklmnopqrstuvwxyz0123456789";
  std::random_device entropy;
  for (int attempt = 0; attempt < 100; ++attempt) {
    std::uint64_t bits = (static_cast<std::uint64_t>(entropy()) << 32) ^ entropy();
    std::string suffix;
    for (int i = 0; i < 8; ++i, bits /= 36) {
      suffix += kLetters[bits % 36];
    }
    name = temporaryName(target, suffix);
    const int descriptor = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (descriptor >= 0 || errno != EEXIST) {
      return descriptor;
    }
  }
  return -1;
}

// Opens a special file for writing without blocking, so that a FIFO without a reader is
// waited for here, where a cancel request can end the wait; then makes the file blocking for
// the writes. −1 with errno set when it cannot be opened.
int openSpecial(const std::string& path, const std::atomic<int>* cancel, bool& cancelled) {
  cancelled = false;
  while (true) {
    // Write-only: a FIFO waits for its reader instead of swallowing the output.
    const int descriptor = ::open(
        path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC | O_NOCTTY | O_NONBLOCK, 0666);
    if (descriptor >= 0) {
      const int flags = fcntl(descriptor, F_GETFL);
      if (flags >= 0) {
        fcntl(descriptor, F_SETFL, flags & ~O_NONBLOCK);
      }
      return descriptor;
    }
    if (errno != ENXIO && errno != EINTR) {
      return -1;
    }
    if (cancel != nullptr && cancel->load(std::memory_order_relaxed) != 0) {
      cancelled = true;
      return -1;
    }
    const timespec pause{0, kReaderPollNanoseconds};
    nanosleep(&pause, nullptr);
  }
}

// Gives the new file the earlier one's owner and group (as far as the process may: a user
// keeps at least a group of their own) and then its mode, which a change of owner may clear.
void keepOwnerAndMode(int descriptor, const struct stat& earlier) {
  if (fchown(descriptor, earlier.st_uid, earlier.st_gid) != 0 &&
      fchown(descriptor, static_cast<uid_t>(-1), earlier.st_gid) != 0) {
    // The file stays the process's own: all a user may do.
  }
  fchmod(descriptor, earlier.st_mode & 07777);
}

}  // namespace

void removeTemporaryFiles() {
  for (TemporarySlot& entry : temporarySlots) {
    if (entry.used.load(std::memory_order_acquire) && entry.name[0] != '\0') {
      unlink(entry.name);
    }
  }
}

ResultsFile::~ResultsFile() {
  discard({});
}

std::optional<std::string> ResultsFile::open(const std::string& path,
                                             const std::atomic<int>* cancel) {
  const OutputTargetCheck check = resolveOutputTarget(path);
  if (!check.target) {
    return check.reason;
  }
  const OutputTarget& target = *check.target;
  direct_ = target.special;
  if (direct_) {
    bool cancelled = false;
    descriptor_ = openSpecial(target.path, cancel, cancelled);
    if (cancelled) {
      return kCancelledOpen;
    }
  } else {
    if (auto problem = replaceProblem(target)) {
      return problem;
    }
    target_ = target.path;
    descriptor_ = createTemporary(target_, temporary_);
    if (descriptor_ >= 0) {
      temporarySlot_ = rememberTemporary(temporary_);
      if (target.exists) {
        keepOwnerAndMode(descriptor_, target.status);
      }
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
  forgetTemporary(temporarySlot_);
  temporarySlot_ = -1;
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
  removeTemporary();
}

void ResultsFile::removeTemporary() {
  if (!temporary_.empty()) {
    unlink(temporary_.c_str());
    temporary_.clear();
  }
  forgetTemporary(temporarySlot_);
  temporarySlot_ = -1;
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
