#include "progress/parallel_for.h"

#include <atomic>
#include <exception>
#include <mutex>
#include <thread>
#include <vector>

namespace brevandor {

void parallelFor(std::int32_t threads, std::int64_t count,
                 const std::function<void(std::int64_t, std::int32_t)>& work) {
  std::atomic<std::int64_t> next{0};
  std::mutex failureMutex;
  std::exception_ptr failure;
  auto drain = [&](std::int32_t thread) {
    try {
      for (std::int64_t item = next++; item < count; item = next++) {
        work(item, thread);
      }
    } catch (...) {
      next = count;  // nobody takes another item
      const std::lock_guard lock(failureMutex);
      if (!failure) {
        failure = std::current_exception();
      }
    }
  };
  {
    std::vector<std::jthread> helpers;
    for (std::int32_t thread = 1; thread < threads && thread < count; ++thread) {
      helpers.emplace_back(drain, thread);
    }
    drain(0);
  }
  if (failure) {
    std::rethrow_exception(failure);
  }
}

}  // namespace brevandor
