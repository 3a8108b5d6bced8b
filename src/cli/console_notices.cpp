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
      if (showStatus_) {
        std::fprintf(stderr, "%s%s", kEraseLine, notice.text.c_str());
        std::fflush(stderr);
        statusShown_ = true;
      }
      break;
    case NoticeKind::Progress:
    case NoticeKind::RunFinished:
      break;
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
