#pragma once

#include <cstdint>
#include <string>

namespace brevandor {

// What a notice from a running calculation asks its receiver to do.
enum class NoticeKind : std::int32_t {
  RunFinished = 0,  // the run completed and has closed its results file
  LogLine = 1,      // append the text to the log
  StatusLine = 2,   // show the text as the status line
};

// One notice from a run. It carries its own copy of the text, so nothing is lost or torn
// however many notices wait for the receiver.
struct RunNotice {
  NoticeKind kind = NoticeKind::LogLine;
  std::string text;
};

// Whoever shows a run's progress: the window queues notices to its own thread, the command
// line prints them. Called from the run's thread.
class NoticeTarget {
 public:
  virtual ~NoticeTarget() = default;
  virtual void receiveNotice(RunNotice notice) = 0;
};

}  // namespace brevandor
