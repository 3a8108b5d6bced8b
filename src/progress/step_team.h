#pragma once

#include <condition_variable>
#include <cstdint>
#include <exception>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

namespace brevandor {

// A fixed team of threads that carry out one step of work together, step after step: the
// calling thread is member 0 and takes its share like the others. Used where a stage is a
// long series of short steps and starting threads for each would cost more than the step.
class StepTeam {
 public:
  explicit StepTeam(std::int32_t members);
  ~StepTeam();
  StepTeam(const StepTeam&) = delete;
  StepTeam& operator=(const StepTeam&) = delete;

  std::int32_t members() const { return members_; }

  // Runs work(member) on every member and returns when all have finished; an exception of
  // any member is rethrown here.
  void run(const std::function<void(std::int32_t)>& work);

 private:
  void serve(std::int32_t member);

  std::int32_t members_;
  std::mutex mutex_;
  std::condition_variable started_;
  std::condition_variable finished_;
  const std::function<void(std::int32_t)>* work_ = nullptr;
  std::uint64_t generation_ = 0;
  std::int32_t running_ = 0;
  bool closing_ = false;
  std::exception_ptr failure_;
  std::vector<std::thread> helpers_;
};

}  // namespace brevandor
