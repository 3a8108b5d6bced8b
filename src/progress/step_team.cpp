#include "progress/step_team.h"

namespace brevandor {

StepTeam::StepTeam(std::int32_t members) : members_(members < 1 ? 1 : members) {
  helpers_.reserve(static_cast<std::size_t>(members_ - 1));
  for (std::int32_t member = 1; member < members_; ++member) {
    helpers_.emplace_back([this, member] { serve(member); });
  }
}

StepTeam::~StepTeam() {
  {
    const std::lock_guard lock(mutex_);
    closing_ = true;
  }
  started_.notify_all();
  for (std::thread& helper : helpers_) {
    helper.join();
  }
}

void StepTeam::run(const std::function<void(std::int32_t)>& work) {
  {
    const std::lock_guard lock(mutex_);
    work_ = &work;
    running_ = members_ - 1;
    failure_ = nullptr;
    ++generation_;
  }
  started_.notify_all();
  std::exception_ptr own;
  try {
    work(0);
  } catch (...) {
    own = std::current_exception();
  }
  std::unique_lock lock(mutex_);
  finished_.wait(lock, [this] { return running_ == 0; });
  work_ = nullptr;
  if (own) {
    std::rethrow_exception(own);
  }
  if (failure_) {
    std::rethrow_exception(failure_);
  }
}

void StepTeam::serve(std::int32_t member) {
  std::uint64_t seen = 0;
  std::unique_lock lock(mutex_);
  while (true) {
    started_.wait(lock, [&] { return closing_ || generation_ != seen; });
    if (closing_) {
      return;
    }
    seen = generation_;
    const std::function<void(std::int32_t)>& work = *work_;
    lock.unlock();
    std::exception_ptr failure;
    try {
      work(member);
    } catch (...) {
      failure = std::current_exception();
    }
    lock.lock();
    if (failure && !failure_) {
      failure_ = failure;
    }
    if (--running_ == 0) {
      finished_.notify_one();
    }
  }
}

}  // namespace brevandor
