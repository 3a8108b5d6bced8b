#pragma once

#include <cstdint>
#include <functional>

namespace brevandor {

// Runs work(item, thread) for every item 0 … count − 1 on `threads` threads, the calling
// thread being thread 0; items are handed out in increasing order as threads come free.
// Returns when all items are done. An exception thrown by work stops the handing out and
// is rethrown here once every thread has stopped.
void parallelFor(std::int32_t threads, std::int64_t count,
                 const std::function<void(std::int64_t, std::int32_t)>& work);

}  // namespace brevandor
