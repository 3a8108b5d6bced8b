#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <string_view>

#include "progress/notices.h"

namespace brevandor {

class StageProgress;

// The cancel request: the front end sets it to 1, the long stages read it once per step.
using CancelFlag = std::atomic<int>;

// A clock in milliseconds, as the remaining-time estimate reads it. Injectable for tests.
using MillisecondClock = std::function<std::int32_t()>;

// Milliseconds of a monotonic clock (wall time, so that work spread over several threads
// is timed as the user sees it).
std::int32_t steadyMilliseconds();

// Which implementation of the hot stages runs: the plain transcription kept for tests and
// benchmarks, or the fast one that users get.
enum class Engine { Reference, Fast };

// What every long stage of a run shares with the front end that started it: the cancel
// request, the receiver of log and status lines, the clock of the remaining-time estimate
// and the choice of engine. Plain values; the run hands it to each stage by reference.
struct RunContext {
  const CancelFlag* cancelFlag = nullptr;  // null: the stage is never cancelled
  NoticeTarget* noticeTarget = nullptr;    // null: posted text is not shown anywhere
  MillisecondClock clock = steadyMilliseconds;
  Engine engine = Engine::Fast;
  int threads = 0;                         // worker threads of the fast engine; 0 = all cores
  StageProgress* stageProgress = nullptr;  // null: no progress across the stages is posted
  int cores = 0;  // hardware threads the run may count on; 0 = as many as the machine reports

  bool cancelRequested() const {
    return cancelFlag != nullptr && cancelFlag->load(std::memory_order_relaxed) != 0;
  }
  // Posts one text to the log; always returns 0.
  std::int32_t postLogLine(std::string_view text) const;
  // Posts one text as the status line; always returns 0.
  std::int32_t postStatusLine(std::string_view text) const;
  // Tells the receiver that the run completed.
  void postRunFinished() const;
  // Posts how far the run is across its stages, with the same in words.
  void postProgress(const RunProgress& progress, std::string_view text) const;
  // The number of worker threads the fast engine should use (at least 1, at most
  // maxWorkerThreads()).
  int workerThreads() const;
  // The hardware threads the run counts on: `cores` when given, else the machine's.
  int hardwareThreads() const;
};

// The most worker threads a run may ask for: four per hardware thread, at most 1024.
int maxWorkerThreads();

}  // namespace brevandor
