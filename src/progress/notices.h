#pragma once

#include <cstdint>
#include <string>

namespace brevandor {

// What a notice from a running calculation asks its receiver to do.
enum class NoticeKind : std::int32_t {
  RunFinished = 0,  // the run completed and has closed its results file
  LogLine = 1,      // append the text to the log
  StatusLine = 2,   // show the text as the status line
  Progress = 3,     // how far the run is across its stages; the text says it in words
};

// How far a run is across its long stages (the stages that report progress).
struct RunProgress {
  std::int32_t stage = 0;  // the current stage, 1 … stageCount
  std::int32_t stageCount = 0;
  double stageFraction = 0.0;          // 0 … 1 of the current stage
  double runFraction = 0.0;            // 0 … 1 of the whole run, stages weighed by expected time
  std::int64_t stageRemainingMs = -1;  // time left in the current stage; −1 not known yet
  std::int64_t runRemainingMs = -1;    // time left in the whole run; −1 not known yet
};

// One notice from a run. It carries its own copy of the text, so nothing is lost or torn
// however many notices wait for the receiver.
struct RunNotice {
  NoticeKind kind = NoticeKind::LogLine;
  std::string text;
  RunProgress progress{};  // for Progress notices
};

// Whoever shows a run's progress: the window queues notices to its own thread, the command
// line prints them. Called from the run's thread.
class NoticeTarget {
 public:
  virtual ~NoticeTarget() = default;
  virtual void receiveNotice(RunNotice notice) = 0;
};

}  // namespace brevandor
