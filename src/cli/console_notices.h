#pragma once

#include <mutex>
#include <string>

#include "progress/notices.h"

namespace brevandor::cli {

// Shows a run's notices on the console: log texts on standard output exactly as the window's
// log would show them, run together; the status line on standard error, rewritten in place,
// only when standard error is a terminal. A log that can no longer be written stops.
class ConsoleNotices : public NoticeTarget {
 public:
  ConsoleNotices(bool showLog, bool showStatus) : showLog_(showLog), showStatus_(showStatus) {}

  void receiveNotice(RunNotice notice) override;
  // Whether log texts are still shown: not when quiet, nor once standard output is closed.
  bool showsLog();
  // Clears the status line, if one is shown.
  void clearStatus();

 private:
  // Rewrites the status line with `text`, when standard error is a terminal.
  void showStatusLine(const std::string& text);

  bool showLog_;
  bool showStatus_;
  bool statusShown_ = false;
  bool progressShown_ = false;  // the run has reported progress across its stages
  std::mutex mutex_;
};

}  // namespace brevandor::cli
