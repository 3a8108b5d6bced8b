#include "progress/run_context.h"

#include <algorithm>
#include <chrono>
#include <string>
#include <thread>

namespace brevandor {

std::int32_t steadyMilliseconds() {
  using namespace std::chrono;
  const auto now = duration_cast<milliseconds>(steady_clock::now().time_since_epoch());
  // The estimate takes differences modulo 2^31, so wrapping at 2^31 ms is harmless.
  return static_cast<std::int32_t>(now.count() & 0x7fffffff);
}

namespace {

std::int32_t post(NoticeTarget* target, NoticeKind kind, std::string_view text) {
  if (target != nullptr) {
    target->receiveNotice(RunNotice{kind, std::string(text)});
  }
  return 0;
}

}  // namespace

std::int32_t RunContext::postLogLine(std::string_view text) const {
  return post(noticeTarget, NoticeKind::LogLine, text);
}

std::int32_t RunContext::postStatusLine(std::string_view text) const {
  return post(noticeTarget, NoticeKind::StatusLine, text);
}

void RunContext::postRunFinished() const {
  post(noticeTarget, NoticeKind::RunFinished, {});
}

void RunContext::postProgress(const RunProgress& progress, std::string_view text) const {
  if (noticeTarget != nullptr) {
    noticeTarget->receiveNotice(RunNotice{NoticeKind::Progress, std::string(text), progress});
  }
}

namespace {

int hardwareThreads() {
  const unsigned cores = std::thread::hardware_concurrency();
  return cores == 0 ? 1 : static_cast<int>(std::min(cores, 1024u));
}

}  // namespace

int maxWorkerThreads() {
  return std::min(4 * hardwareThreads(), 1024);
}

int RunContext::workerThreads() const {
  if (threads > 0) {
    return std::min(threads, maxWorkerThreads());
  }
  return hardwareThreads();
}

int RunContext::hardwareThreads() const {
  return cores > 0 ? cores : brevandor::hardwareThreads();
}

}  // namespace brevandor
