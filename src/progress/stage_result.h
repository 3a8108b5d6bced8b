#pragma once

#include <optional>
#include <string>
#include <utility>

namespace brevandor {

// How a stage that fills its tables in place ended: finished, or stopped at the cancel request
// (its result tables then left as they were).
enum class StageEnd { Completed, Cancelled };

// What a long stage ends with: its value, or why there is none. A cancel request is told
// apart from a failure (the run reports the one as cancelled, the other with its words).
template <typename T>
class StageResult {
 public:
  StageResult(T value) : value_(std::move(value)) {}  // NOLINT: a value is a result

  // `value` when the stage ran to its end, else cancelled.
  static StageResult after(StageEnd end, T value) {
    return end == StageEnd::Completed ? StageResult(std::move(value)) : cancelled();
  }
  // The stage saw the cancel request and stopped.
  static StageResult cancelled() {
    StageResult result;
    result.cancelled_ = true;
    return result;
  }
  // The stage could not run; `why` says what was missing, in the log's words.
  static StageResult failed(std::string why) {
    StageResult result;
    result.failure_ = std::move(why);
    return result;
  }

  explicit operator bool() const { return value_.has_value(); }
  bool wasCancelled() const { return cancelled_; }
  const std::string& failure() const { return failure_; }
  const T& value() const { return value_.value(); }
  const T& operator*() const { return *value_; }

 private:
  StageResult() = default;

  std::optional<T> value_;
  bool cancelled_ = false;
  std::string failure_;
};

}  // namespace brevandor
