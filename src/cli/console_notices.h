#pragma once

#include <mutex>

#include "progress/notices.h"

namespace brevandor::cli {

// Shows a run's notices on the console: log texts on standard output exactly as the window's
// log would show them, run together; the status line on standard error, rewritten in place,
// only when standard error is a terminal.
class ConsoleNotices : public NoticeTarget {
 public:
  ConsoleNotices(bool showLog, bool showStatus) : showLog_(showLog), showStatus_(showStatus) {}

  void receiveNotice(RunNotice notice) override;
  // Clears the status line, if one is shown.
  void clearStatus();

 private:
  bool showLog_;
  bool showStatus_;
  bool statusShown_ = false;
  std::mutex mutex_;
};

}  // namespace brevandor::cli
