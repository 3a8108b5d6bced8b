#include "cli/console_notices.h"

#include <cstdio>

namespace brevandor::cli {

namespace {

// Carriage return, then erase to the end of the line.
constexpr const char* kEraseLine = "\r\033[K";

}  // namespace

void ConsoleNotices::receiveNotice(RunNotice notice) {
  const std::lock_guard lock(mutex_);
  switch (notice.kind) {
    case NoticeKind::LogLine:
      if (showLog_) {
        if (statusShown_) {
          std::fputs(kEraseLine, stderr);
          statusShown_ = false;
        }
        // Once standard output is closed (its reader gone), the log stops; the run goes on.
        if (std::fwrite(notice.text.data(), 1, notice.text.size(), stdout) != notice.text.size() ||
            std::fflush(stdout) != 0) {
          showLog_ = false;
        }
      }
      break;
    case NoticeKind::StatusLine:
      // Once the run reports its progress across the stages, that line (the stage's and the
      // whole run's time left) stands in for each stage's own estimate.
      if (!progressShown_) {
        showStatusLine(notice.text);
      }
      break;
    case NoticeKind::Progress:
      progressShown_ = true;
      showStatusLine(notice.text);
      break;
    case NoticeKind::RunFinished:
      break;
  }
}

void ConsoleNotices::showStatusLine(const std::string& text) {
  if (showStatus_) {
    std::fprintf(stderr, "%s%s", kEraseLine, text.c_str());
    std::fflush(stderr);
    statusShown_ = true;
  }
}

bool ConsoleNotices::showsLog() {
  const std::lock_guard lock(mutex_);
  return showLog_;
}

void ConsoleNotices::clearStatus() {
  const std::lock_guard lock(mutex_);
  if (statusShown_) {
    std::fputs(kEraseLine, stderr);
    std::fflush(stderr);
    statusShown_ = false;
  }
}

}  // namespace brevandor::cli
