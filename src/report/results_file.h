#pragma once

#include <sys/types.h>

#include <atomic>
#include <cstdio>
#include <optional>
#include <string>

namespace brevandor {

// The results file of one run. The report writers print into stream() as into any C file;
// every write, the flush and the close are checked, and the first failure is kept with the
// system's reason. A regular file is written to a temporary file in the same folder and
// renamed over the target only by commit(), so the earlier file stays whole until a new one
// is complete, and two runs writing one name leave one complete file; the new file keeps the
// earlier one's owner, group and mode where the process may set them. A symbolic link keeps
// pointing to its file (a dangling link gets its file). A special file (a FIFO, a terminal, a
// device, a process's open file such as /dev/stdout) is written directly. Whatever is neither
// committed nor kept when the object goes is thrown away: the temporary file is removed.
// The reason ResultsFile::open gives when it was cancelled while waiting for a reader.
inline constexpr const char* kCancelledOpen = "cancelled while waiting for a reader";

// Removes every temporary file of a ResultsFile not yet committed or discarded. Only system
// calls that are safe in a signal handler: for a process that ends at once on a signal.
void removeTemporaryFiles();

class ResultsFile {
 public:
  ResultsFile() = default;
  ~ResultsFile();
  ResultsFile(const ResultsFile&) = delete;
  ResultsFile& operator=(const ResultsFile&) = delete;

  // Opens the file for `path`; nothing when it is open, else the system's reason. Every
  // check that the file could be replaced is made here, before anything is written. A FIFO
  // without a reader is waited for until one comes or `cancel` is set (then the reason is
  // kCancelledOpen).
  std::optional<std::string> open(const std::string& path,
                                  const std::atomic<int>* cancel = nullptr);

  std::FILE* stream() { return stream_; }
  bool isOpen() const { return stream_ != nullptr; }
  // Whether the file is written in place (a special file) rather than through a temporary.
  bool direct() const { return direct_; }

  // The system's reason for the first failed write, if any write failed so far.
  std::optional<std::string> failure() const;

  // Flushes, closes and, for a regular file, moves the temporary over the target. Nothing
  // when the file is complete in its place, else the reason; then the target is untouched.
  std::optional<std::string> commit();

  // Writes `text` at the end and commits, so that the sections written so far stand with a
  // line that says why the file ends there.
  std::optional<std::string> commitWithLastLine(const std::string& text);

  // Gives up the file: a special file gets `text` as its last line (as far as it can still be
  // written); a temporary file is removed and the target stays as it was.
  void discard(const std::string& text);

 private:
  std::optional<std::string> finish();
  void removeTemporary();
  void recordError(int error);
  static ssize_t writeCookie(void* cookie, const char* data, std::size_t size);
  static int closeCookie(void* cookie);

  std::FILE* stream_ = nullptr;
  int descriptor_ = -1;
  bool direct_ = false;
  std::string target_;
  std::string temporary_;
  int temporarySlot_ = -1;  // where removeTemporaryFiles finds the temporary's name
  int error_ = 0;           // errno of the first failed write, flush or close
};

}  // namespace brevandor
