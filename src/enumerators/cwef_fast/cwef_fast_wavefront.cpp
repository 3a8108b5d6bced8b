#include "enumerators/cwef_fast/cwef_fast_wavefront.h"

#include <algorithm>
#include <atomic>
#include <limits>
#include <thread>
#include <vector>

#include "enumerators/cwef_fast/cwef_fast_step.h"

namespace brevandor {

namespace {

// The steps-done mark of a section that has reached row 0.
constexpr std::int32_t kComplete = std::numeric_limits<std::int32_t>::max();

// The highest row that can hold a count after each section: the first section's highest,
// growing by each section's largest branch weight, up to D.
std::vector<std::int32_t> highestRows(const CwefPlan& plan) {
  std::vector<std::int32_t> highest(static_cast<std::size_t>(std::max(plan.sections, 1)), 0);
  for (const auto& start : plan.start) {
    if (start.has_value()) {
      highest[0] = std::max(highest[0], start->outputWeight);
    }
  }
  for (std::size_t t = 1; t < highest.size(); ++t) {
    highest[t] = std::min(plan.maxWeight,
                          highest[t - 1] + plan.branchWeightLimit(static_cast<std::int32_t>(t)));
  }
  return highest;
}

std::int32_t ceilDivide(std::int32_t numerator, std::int32_t denominator) {
  return numerator <= 0 ? 0 : (numerator + denominator - 1) / denominator;
}

// The sections first … first + count − 1 that sweep together. At step q section first + j
// advances rows base … base + chunk − 1 (within 0 … its highest row), base = origin −
// q·chunk + j·skew. The skew of chunk + largest branch weight keeps every section at least
// one branch below the rows its predecessor is writing, and exactly one step behind what
// it needs: its step q needs its predecessor's steps up to q − 1.
struct Batch {
  std::int32_t first = 0;
  std::int32_t count = 0;
  std::int32_t origin = 0;
  std::int32_t steps = 0;
  std::int32_t chunk = 1;
  std::int32_t skew = 1;

  std::int32_t base(std::int32_t j, std::int32_t q) const { return origin - q * chunk + j * skew; }
};

Batch makeBatch(std::int32_t first, std::int32_t count, const WavefrontShape& shape,
                const CwefPlan& plan, const std::vector<std::int32_t>& highest) {
  Batch batch;
  batch.first = first;
  batch.count = count;
  batch.chunk = shape.chunk;
  batch.skew = shape.chunk + plan.maxBranchWeight;
  batch.origin = std::numeric_limits<std::int32_t>::min();
  for (std::int32_t j = 0; j < count; ++j) {
    batch.origin = std::max(batch.origin, highest[static_cast<std::size_t>(first + j)] -
                                              j * batch.skew - batch.chunk + 1);
  }
  batch.steps = ceilDivide(batch.origin + (count - 1) * batch.skew, batch.chunk) + 1;
  return batch;
}

template <typename Cell>
class Wavefront {
 public:
  Wavefront(const CwefPlan& plan, CompactLayer<Cell>& layer,
            const BasicLogAddRowKernels<Cell>& kernels, const WavefrontShape& shape,
            const std::function<bool(std::int32_t)>& sectionDone)
      : plan_(plan),
        layer_(layer),
        shape_(shape),
        sectionDone_(sectionDone),
        highest_(highestRows(plan)),
        stepsDone_(static_cast<std::size_t>(std::max(plan.sections, 1))) {
    for (auto& steps : stepsDone_) {
      steps.store(0, std::memory_order_relaxed);
    }
    stepsDone_[0].store(kComplete, std::memory_order_relaxed);  // the first section
    advancers_.reserve(static_cast<std::size_t>(shape.depth));
    for (std::int32_t slot = 0; slot < shape.depth; ++slot) {
      advancers_.emplace_back(plan, kernels);
    }
  }

  bool run() {
    std::vector<std::jthread> helpers;
    try {
      for (std::int32_t thread = 1; thread < shape_.threads; ++thread) {
        helpers.emplace_back([this, thread] { work(thread); });
      }
      work(0);
      reportCompleted(true);
    } catch (...) {
      stop();
      throw;  // the helpers see the stop and are joined on the way out
    }
    helpers.clear();
    return !stopped();
  }

 private:
  bool complete(std::int32_t section) const {
    return stepsDone_[static_cast<std::size_t>(section)].load(std::memory_order_acquire) ==
           kComplete;
  }

  bool stopped() const { return stop_.load(std::memory_order_acquire); }

  // Waits until section `section` has done `steps` steps (kComplete: all of them); false
  // when the sweep was stopped meanwhile. A short spin, then the thread sleeps on the
  // counter, leaving the processor to the threads it waits for.
  bool waitUntil(std::int32_t section, std::int32_t steps) {
    std::atomic<std::int32_t>& done = stepsDone_[static_cast<std::size_t>(section)];
    for (std::int32_t spins = 0;; ++spins) {
      const std::int32_t seen = done.load(std::memory_order_acquire);
      if (seen >= steps || stopped()) {
        return !stopped();
      }
      if (spins >= 64) {
        done.wait(seen, std::memory_order_acquire);
      }
    }
  }

  // Stops the sweep: every counter is pushed to kComplete, so that no thread sleeps on it.
  void stop() {
    stop_.store(true, std::memory_order_release);
    for (auto& done : stepsDone_) {
      done.store(kComplete, std::memory_order_release);
      done.notify_all();
    }
  }

  // One thread's share: in every batch, the sections j ≡ thread (mod threads), step by step.
  void work(std::int32_t thread) {
    for (std::int32_t first = 1; first < plan_.sections; first += shape_.depth) {
      const Batch batch =
          makeBatch(first, std::min(shape_.depth, plan_.sections - first), shape_, plan_, highest_);
      for (std::int32_t q = 0; q < batch.steps; ++q) {
        for (std::int32_t j = thread; j < batch.count; j += shape_.threads) {
          if (!advanceChunk(batch, j, q)) {
            return;
          }
        }
        if (thread == 0) {
          reportCompleted(false);
        }
      }
    }
  }

  // Section first + j's rows of step q; false when the sweep was stopped.
  bool advanceChunk(const Batch& batch, std::int32_t j, std::int32_t q) {
    const std::int32_t section = batch.first + j;
    std::atomic<std::int32_t>& done = stepsDone_[static_cast<std::size_t>(section)];
    if (done.load(std::memory_order_relaxed) == kComplete) {
      return !stopped();
    }
    // The whole previous batch must be complete before this one reuses its spare slots;
    // after that, step q needs the predecessor's steps up to q − 1.
    const bool ready = q == 0   ? waitUntil(batch.first - 1, kComplete)
                       : j == 0 ? !stopped()
                                : waitUntil(section - 1, q);
    if (!ready) {
      return false;
    }
    const std::int32_t base = batch.base(j, q);
    const std::int32_t high =
        std::min(highest_[static_cast<std::size_t>(section)], base + batch.chunk - 1);
    RowAdvancer<Cell>& advancer = advancers_[static_cast<std::size_t>(j)];
    for (std::int32_t row = high; row >= std::max(base, 0); --row) {
      advancer.advance(layer_, section, row, j);
    }
    done.store(base <= 0 ? kComplete : q + 1, std::memory_order_release);
    done.notify_all();
    return true;
  }

  // Tells the caller of every section completed so far, in order; with `wait`, of all of
  // them. Runs on the calling thread only.
  void reportCompleted(bool wait) {
    while (reported_ < plan_.sections && !stopped()) {
      if (!complete(reported_) && (!wait || !waitUntil(reported_, kComplete))) {
        return;
      }
      if (!sectionDone_(reported_)) {
        stop();
        return;
      }
      ++reported_;
    }
  }

  const CwefPlan& plan_;
  CompactLayer<Cell>& layer_;
  const WavefrontShape& shape_;
  const std::function<bool(std::int32_t)>& sectionDone_;
  std::vector<std::int32_t> highest_;
  std::vector<std::atomic<std::int32_t>> stepsDone_;
  std::vector<RowAdvancer<Cell>> advancers_;
  std::atomic<bool> stop_{false};
  std::int32_t reported_ = 1;
};

}  // namespace

template <typename Cell>
bool runSectionWavefront(const CwefPlan& plan, CompactLayer<Cell>& layer,
                         const BasicLogAddRowKernels<Cell>& kernels, const WavefrontShape& shape,
                         const std::function<bool(std::int32_t)>& sectionDone) {
  if (plan.sections <= 1) {
    return true;
  }
  Wavefront<Cell> wavefront(plan, layer, kernels, shape, sectionDone);
  return wavefront.run();
}

template bool runSectionWavefront(const CwefPlan&, CompactLayer<float>&,
                                  const BasicLogAddRowKernels<float>&, const WavefrontShape&,
                                  const std::function<bool(std::int32_t)>&);
template bool runSectionWavefront(const CwefPlan&, CompactLayer<double>&,
                                  const BasicLogAddRowKernels<double>&, const WavefrontShape&,
                                  const std::function<bool(std::int32_t)>&);

}  // namespace brevandor
