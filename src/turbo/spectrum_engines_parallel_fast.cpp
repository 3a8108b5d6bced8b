// The fast parallel spectrum: the reference stage with the same additions into every cell in
// the same order, reading the first constituent's table for every constituent whose table
// equals it (same code, frame length and pattern) and its own table otherwise. Rows of
// input weights are built on all threads, a block of columns at
// a time, and added into the spectra in increasing input weight on the calling thread,
// which also reports progress and reads the cancel request after each input weight.

#include <algorithm>
#include <array>
#include <cmath>
#include <condition_variable>
#include <mutex>
#include <thread>
#include <vector>

#include "logmath/log_domain.h"
#include "logmath/simd_log_add.h"
#include "progress/progress_report.h"
#include "turbo/parallel_spectrum_rows.h"
#include "turbo/spectrum_engines.h"

namespace brevandor {

using detail::gatherColumns;
using detail::ParallelRowBuilder;
using detail::ParallelShape;
using detail::parallelShapeOf;
using detail::RowSpan;

namespace {

constexpr const char* kConstituentOverflowText = " oops \n";
constexpr const char* kCodewordOverflowText = " -- oops \n";
// Input weights whose columns are gathered and whose rows are built together.
constexpr std::int32_t kBlockColumns = 16;

// The constituent whose table constituent c reads: the first, when the two tables are equal
// (a run on this engine then keeps the first only), else c itself.
std::size_t tableReader(const TurboCode& turbo, std::int32_t c) {
  return c == 0 || turbo.sameTableAsFirst(c) ? 0 : static_cast<std::size_t>(c);
}

// Where each constituent's gathered columns start in a thread's buffer, and its size in
// cells; the columns of one table are gathered once, whoever reads them.
struct ColumnLayout {
  std::array<std::size_t, TurboCode::kMaxConstituents> offset{};
  std::array<bool, TurboCode::kMaxConstituents> gathers{};  // the first to read its table
  std::size_t cells = 0;

  ColumnLayout(const TurboCode& turbo, const ParallelShape& shape) {
    for (std::int32_t c = 0; c < shape.constituentCount; ++c) {
      const auto index = static_cast<std::size_t>(c);
      const std::size_t reader = tableReader(turbo, c);
      if (reader == index) {
        gathers[index] = true;
        offset[index] = cells;
        cells += static_cast<std::size_t>(kBlockColumns) *
                 (static_cast<std::size_t>(shape.counted[index]) + 1);
      } else {
        offset[index] = offset[reader];
      }
    }
  }
};

std::int32_t blockCount(const ParallelShape& shape) {
  return (shape.frameLength + kBlockColumns) / kBlockColumns;
}

// One thread per block of rows at most: a thread more would find nothing to build.
std::int32_t threadsFor(const ParallelShape& shape, const RunContext& context) {
  return std::clamp(context.workerThreads(), 1, blockCount(shape));
}

std::int32_t slotsFor(std::int32_t threads) {
  return 2 * threads;
}

// The rows of one block of input weights, waiting to be added into the spectra.
template <typename Cell>
struct RowBlock {
  std::vector<Cell> rows;  // kBlockColumns rows of D + 1 cells
  std::array<RowSpan, kBlockColumns> spans{};
  std::array<std::int64_t, kBlockColumns> overflows{};
  bool ready = false;
};

// What one thread needs to build rows: its copy of the block's columns and its builder.
template <typename Cell>
struct RowWorker {
  RowWorker(const ParallelShape& shape, const ColumnLayout& layout,
            const BasicLogAddRowKernels<Cell>& kernels, const std::vector<double>& interleavings)
      : columns(layout.cells), builder(shape, kernels, interleavings) {}
  std::vector<Cell> columns;
  ParallelRowBuilder<Cell> builder;
};

template <typename Cell>
class FastParallelSpectrum {
 public:
  FastParallelSpectrum(TurboCode& turbo, std::span<double> codewordSpectrum,
                       std::span<double> weightedSpectrum, const RunContext& context)
      : shape_(parallelShapeOf(turbo)),
        layout_(turbo, shape_),
        codewordSpectrum_(codewordSpectrum),
        weightedSpectrum_(weightedSpectrum),
        context_(context),
        kernels_(rowKernels<Cell>()),
        interleavings_(log10BinomialRow(shape_.frameLength)),
        threads_(threadsFor(shape_, context)),
        blocks_(blockCount(shape_)),
        slots_(static_cast<std::size_t>(slotsFor(threads_))),
        shifted_(static_cast<std::size_t>(shape_.maxWeight) + 1) {
    for (RowBlock<Cell>& slot : slots_) {
      slot.rows.resize(static_cast<std::size_t>(kBlockColumns) * rowLength());
    }
    for (std::int32_t c = 0; c < shape_.constituentCount; ++c) {
      tables_[static_cast<std::size_t>(c)] =
          &resultTable<Cell>(*turbo.enumerators[tableReader(turbo, c)]);
    }
  }

  // Returns D, or −1 when the cancel request was seen.
  StageResult<std::int32_t> run() {
    ProgressReport progress(context_);
    progress.start();
    bool finished = false;
    // Every thread's scratch is made here, so that a failed allocation reaches the caller.
    std::vector<RowWorker<Cell>> workers;
    workers.reserve(static_cast<std::size_t>(threads_));
    for (std::int32_t t = 0; t < threads_; ++t) {
      workers.emplace_back(shape_, layout_, kernels_, interleavings_);
    }
    {
      std::vector<std::jthread> helpers;
      for (std::int32_t t = 1; t < threads_; ++t) {
        helpers.emplace_back([this, &workers, t] { help(workers[static_cast<std::size_t>(t)]); });
      }
      try {
        finished = lead(workers[0], progress);
      } catch (...) {
        stop();
        throw;
      }
      stop();
    }
    if (!finished) {
      return StageResult<std::int32_t>::cancelled();
    }
    progress.finish();
    return shape_.maxWeight;
  }

 private:
  std::size_t rowLength() const { return static_cast<std::size_t>(shape_.maxWeight) + 1; }
  RowBlock<Cell>& slotOf(std::int32_t block) {
    return slots_[static_cast<std::size_t>(block) % slots_.size()];
  }
  // Whether another block may be built: one is left and its slot has been added up.
  bool buildable() const {
    return nextToBuild_ < blocks_ &&
           nextToBuild_ < nextToAdd_ + static_cast<std::int32_t>(slots_.size());
  }

  void stop() {
    {
      const std::lock_guard lock(mutex_);
      stopped_ = true;
    }
    changed_.notify_all();
  }

  // A helper thread: builds blocks while there are any and room for them.
  void help(RowWorker<Cell>& worker) {
    std::unique_lock lock(mutex_);
    while (true) {
      changed_.wait(lock, [this] { return stopped_ || buildable() || nextToBuild_ >= blocks_; });
      if (stopped_ || nextToBuild_ >= blocks_) {
        return;
      }
      buildTaken(worker, lock);
    }
  }

  // Takes the next block and builds it with the lock released.
  void buildTaken(RowWorker<Cell>& worker, std::unique_lock<std::mutex>& lock) {
    const std::int32_t block = nextToBuild_++;
    lock.unlock();
    build(block, slotOf(block), worker);
    lock.lock();
    slotOf(block).ready = true;
    changed_.notify_all();
  }

  // The calling thread: adds the blocks in order, building blocks itself while the next
  // one to add is not ready. Returns false when cancelled.
  bool lead(RowWorker<Cell>& worker, ProgressReport& progress) {
    std::unique_lock lock(mutex_);
    while (nextToAdd_ < blocks_) {
      if (slotOf(nextToAdd_).ready) {
        const std::int32_t block = nextToAdd_;
        lock.unlock();
        const bool carryOn = addBlock(block, slotOf(block), progress);
        lock.lock();
        if (!carryOn) {
          return false;
        }
        slotOf(block).ready = false;
        ++nextToAdd_;
        changed_.notify_all();
      } else if (buildable()) {
        buildTaken(worker, lock);
      } else {
        changed_.wait(lock);
      }
    }
    return true;
  }

  void build(std::int32_t block, RowBlock<Cell>& slot, RowWorker<Cell>& worker) {
    const std::int32_t first = block * kBlockColumns;
    const std::int32_t count = std::min(kBlockColumns, shape_.frameLength + 1 - first);
    const auto constituents = static_cast<std::size_t>(shape_.constituentCount);
    for (std::size_t k = 0; k < constituents; ++k) {
      if (layout_.gathers[k]) {
        gatherColumns(*tables_[k], first, count, shape_.counted[k],
                      worker.columns.data() + layout_.offset[k]);
      }
    }
    std::array<const Cell*, TurboCode::kMaxConstituents> columns{};
    for (std::int32_t c = 0; c < count; ++c) {
      const auto index = static_cast<std::size_t>(c);
      for (std::size_t k = 0; k < constituents; ++k) {
        columns[k] = worker.columns.data() + layout_.offset[k] +
                     index * (static_cast<std::size_t>(shape_.counted[k]) + 1);
      }
      slot.overflows[index] = 0;
      slot.spans[index] =
          worker.builder.build(first + c, {columns.data(), constituents},
                               slot.rows.data() + index * rowLength(), slot.overflows[index]);
    }
  }

  bool addBlock(std::int32_t block, const RowBlock<Cell>& slot, ProgressReport& progress) {
    const std::int32_t first = block * kBlockColumns;
    const std::int32_t count = std::min(kBlockColumns, shape_.frameLength + 1 - first);
    for (std::int32_t c = 0; c < count; ++c) {
      const auto index = static_cast<std::size_t>(c);
      const std::int32_t w = first + c;
      for (std::int64_t k = 0; k < slot.overflows[index]; ++k) {
        context_.postLogLine(kConstituentOverflowText);
      }
      addRow(w, slot.rows.data() + index * rowLength(), slot.spans[index]);
      if (context_.cancelRequested()) {
        return false;
      }
      progress.step(shape_.frameLength - w);
    }
    return true;
  }

  // Adds the row of input weight w into the codeword spectrum and, weighted by w / N, into
  // the weighted spectrum, as the reference does.
  void addRow(std::int32_t w, const Cell* row, RowSpan span) {
    addInto(codewordSpectrum_, w, row, span);
    const double share =
        std::log10(static_cast<double>(w) / static_cast<double>(shape_.frameLength));
    // LogZero entries stay LogZero, as the reference keeps them: weighted, they would pass
    // for counts just below 10^−308.
    for (std::size_t p = 0; p < shifted_.size(); ++p) {
      shifted_[p] = row[p] == kLogZeroCell<Cell>
                        ? row[p]
                        : static_cast<Cell>(static_cast<double>(row[p]) + share);
    }
    addInto(weightedSpectrum_, w, shifted_.data(), RowSpan{0, shape_.maxWeight});
  }

  // spectrum[w + p] (or [p] when the input bits are part of p) = logAdd(…, row[p]) for p in
  // the span, a weight beyond D reported instead. Outside the span the caller's row holds
  // LogZero, which leaves every entry as it is.
  void addInto(std::span<double> spectrum, std::int32_t w, const Cell* row, RowSpan span) {
    if (span.empty()) {
      return;
    }
    if (!shape_.inputBitsSentOnce) {
      kernels_.accumulate(spectrum.data() + span.first, row + span.first,
                          static_cast<std::size_t>(span.last - span.first + 1));
      return;
    }
    const std::int32_t last = std::min(span.last, shape_.maxWeight - w);
    if (span.first <= last) {
      kernels_.accumulate(spectrum.data() + w + span.first, row + span.first,
                          static_cast<std::size_t>(last - span.first + 1));
    }
    for (std::int32_t p = std::max(last + 1, span.first); p <= span.last; ++p) {
      if (row[p] != kLogZeroCell<Cell>) {
        context_.postLogLine(kCodewordOverflowText);
      }
    }
  }

  const ParallelShape shape_;
  const ColumnLayout layout_;
  std::array<const BasicLogTable<Cell>*, TurboCode::kMaxConstituents> tables_{};  // per constituent
  std::span<double> codewordSpectrum_;
  std::span<double> weightedSpectrum_;
  const RunContext& context_;
  const BasicLogAddRowKernels<Cell>& kernels_;
  const std::vector<double> interleavings_;  // log10 C(N, w) for every w
  const std::int32_t threads_;
  const std::int32_t blocks_;
  std::vector<RowBlock<Cell>> slots_;
  std::vector<Cell> shifted_;
  std::mutex mutex_;
  std::condition_variable changed_;
  std::int32_t nextToBuild_ = 0;
  std::int32_t nextToAdd_ = 0;
  bool stopped_ = false;
};

}  // namespace

std::uint64_t fastParallelSpectrumWorkBytes(const TurboCode& turbo, const RunContext& context) {
  const ParallelShape shape = parallelShapeOf(turbo);
  const auto threads = static_cast<std::uint64_t>(threadsFor(shape, context));
  const std::uint64_t cell =
      tablePrecision(turbo) == TablePrecision::Double ? sizeof(double) : sizeof(float);
  const std::uint64_t row = (static_cast<std::uint64_t>(shape.maxWeight) + 1) * cell;
  const std::uint64_t columns = ColumnLayout(turbo, shape).cells * cell;
  const std::uint64_t perThread = columns + (shape.constituentCount > 2 ? 3 : 1) * row;
  const std::uint64_t interleavings =
      (static_cast<std::uint64_t>(shape.frameLength) + 1) * sizeof(double);
  return static_cast<std::uint64_t>(slotsFor(static_cast<std::int32_t>(threads))) * kBlockColumns *
             row +
         threads * perThread + row + interleavings;
}

namespace {

template <typename Cell>
StageResult<std::int32_t> runFast(TurboCode& turbo, SpectrumOutput spectra,
                                  const RunContext& context) {
  const ParallelShape shape = parallelShapeOf(turbo);
  // A run on this engine keeps only the first table of equal ones.
  clearSpectraAndZeroWord<Cell>(turbo, shape.maxWeight, spectra);
  FastParallelSpectrum<Cell> stage(turbo, spectra.codeword, spectra.weighted, context);
  return stage.run();
}

}  // namespace

StageResult<std::int32_t> computeParallelSpectrumFast(TurboCode& turbo, SpectrumOutput spectra,
                                                      const RunContext& context) {
  return onTableCells(turbo, runFast<float>, runFast<double>, turbo, spectra, context);
}

}  // namespace brevandor
