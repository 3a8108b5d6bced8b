#include "report/record_files.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <new>
#include <optional>

#include "report/results_file.h"

namespace brevandor {

namespace {

struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

// Far above the record of the longest frame (a few megabytes); guards against reading a
// stray huge file into memory.
constexpr long kLargestRecordBytes = 256L * 1024 * 1024;

std::string failure(const char* verb, const std::string& path, int error) {
  return std::string("cannot ") + verb + " '" + path + "': " + std::strerror(error);
}

}  // namespace

std::string writeTextFile(const std::string& path, std::string_view text) {
  // Through a temporary file renamed over the target once complete, as the results file.
  ResultsFile file;
  std::optional<std::string> failed = file.open(path);
  if (!failed) {
    std::fwrite(text.data(), 1, text.size(), file.stream());
    failed = file.commit();
  }
  return failed ? "cannot write '" + path + "': " + *failed : std::string();
}

RecordReading readRunRecordFile(const std::string& path) {
  RecordReading reading;
  errno = 0;
  File file(std::fopen(path.c_str(), "rb"));
  if (!file) {
    reading.error = failure("read", path, errno);
    return reading;
  }
  std::string text;
  char buffer[65536];
  std::size_t count = 0;
  try {
    while ((count = std::fread(buffer, 1, sizeof buffer, file.get())) > 0) {
      text.append(buffer, count);
      if (static_cast<long>(text.size()) > kLargestRecordBytes) {
        reading.error = "'" + path + "' is refused: it is far too large to be a results record";
        reading.refused = true;
        return reading;
      }
    }
  } catch (const std::bad_alloc&) {
    reading.error = "cannot read '" + path + "': there is not enough memory to hold it";
    return reading;
  }
  if (std::ferror(file.get()) != 0) {
    reading.error = failure("read", path, errno);
    return reading;
  }
  reading = readRunRecordJson(text);
  if (!reading) {
    reading.error = "'" + path + "' is refused: " + reading.error;
  }
  return reading;
}

}  // namespace brevandor
