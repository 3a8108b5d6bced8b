#pragma once

#include <functional>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

#include "progress/notices.h"

namespace brevandor::testing {

// A notice target that keeps every notice it receives, in order, and can run a hook on each
// one (for example to request a cancel at a chosen moment of a stage). Safe to post to from
// any thread.
class RecordingTarget : public NoticeTarget {
 public:
  using Hook = std::function<void(const RunNotice&)>;

  RecordingTarget() = default;
  explicit RecordingTarget(Hook hook) : hook_(std::move(hook)) {}

  void receiveNotice(RunNotice notice) override {
    std::lock_guard lock(mutex_);
    notices_.push_back(std::move(notice));
    if (hook_) {
      hook_(notices_.back());
    }
  }

  std::vector<RunNotice> notices() const {
    std::lock_guard lock(mutex_);
    return notices_;
  }
  // The texts of the notices of one kind, in the order received.
  std::vector<std::string> texts(NoticeKind kind) const {
    std::lock_guard lock(mutex_);
    std::vector<std::string> texts;
    for (const RunNotice& notice : notices_) {
      if (notice.kind == kind) {
        texts.push_back(notice.text);
      }
    }
    return texts;
  }
  std::vector<std::string> logLines() const { return texts(NoticeKind::LogLine); }
  std::vector<std::string> statusLines() const { return texts(NoticeKind::StatusLine); }

 private:
  mutable std::mutex mutex_;
  std::vector<RunNotice> notices_;
  Hook hook_;
};

}  // namespace brevandor::testing
