// The fast serial spectrum: the reference stage with the same additions into every cell in
// the same order. The first stage reads the outer table in place instead of a copy of it;
// each step v visits only the rows whose table cell (d, v) holds a count, and in them only
// the outer input weights that the entering row can reach. Each thread owns a share of the
// target rows for the whole stage and takes their steps in order without waiting for the
// others; the progress and the cancel request are handled after every step on the calling
// thread, as in the reference.

#include <algorithm>
#include <atomic>
#include <cmath>
#include <functional>
#include <limits>
#include <vector>

#include "logmath/log_domain.h"
#include "logmath/simd_log_add.h"
#include "progress/parallel_for.h"
#include "progress/progress_report.h"
#include "progress/step_team.h"
#include "turbo/spectrum_engines.h"

namespace brevandor {

namespace {

// Below this many cells a step, one thread does the work (waking others costs more).
constexpr std::int64_t kCellsPerExtraThread = 1 << 16;

struct Span {
  std::int32_t first = 0;
  std::int32_t last = -1;
};

template <typename Cell>
Span countedSpan(const Cell* row, std::int32_t last) {
  std::int32_t first = 0;
  while (first <= last && row[first] == kLogZeroCell<Cell>) {
    ++first;
  }
  while (last >= first && row[last] == kLogZeroCell<Cell>) {
    --last;
  }
  return Span{first, last};
}

std::int32_t threadsFor(const TurboCode& turbo, const RunContext& context) {
  const std::int64_t cells = (static_cast<std::int64_t>(turbo.outputFrameLength) + 1) *
                             (static_cast<std::int64_t>(turbo.frameLengths[0]) + 1);
  const std::int64_t useful = std::max<std::int64_t>(cells / kCellsPerExtraThread, 1);
  return static_cast<std::int32_t>(std::min<std::int64_t>(context.workerThreads(), useful));
}

// Orders of ten below a cell's lower bound from which a term is left out, plus one for the
// single-precision rounding of the bound: even all the terms of a cell left out together
// move its sum by less than 10^−20 of itself.
constexpr float kNegligibleOrders = 24.0f + 1.0f;
// Outer input weights per block of the bound tests.
constexpr std::int32_t kBlock = 64;
// Every how many entering rows the lower bound looks at.
constexpr std::int32_t kBoundStride = 4;
template <typename Cell>
constexpr Cell kNone = -std::numeric_limits<Cell>::infinity();

// One stage of the chain: the words leaving the constituents so far (`source`, rows by
// weight v) pass through constituent c's table into `target`. Before the steps, a lower
// bound of every target cell's final sum is worked out (the largest of a sample of its
// terms); a step then skips every block of terms that lies entirely below the bounds of
// the cells it would reach.
template <typename Cell>
class SerialStage {
 public:
  SerialStage(const BasicLogTable<Cell>& table, const BasicLogTable<Cell>& source,
              std::int32_t innerLength, std::int32_t innerMaxWeight, std::int32_t frameLength,
              const BasicLogAddRowKernels<Cell>& kernels, StepTeam& team)
      : table_(table),
        source_(source),
        innerLength_(innerLength),
        innerMaxWeight_(innerMaxWeight),
        frameLength_(frameLength),
        blocks_(frameLength / kBlock + 1),
        kernels_(kernels),
        team_(team),
        spans_(static_cast<std::size_t>(innerLength) + 1),
        sourceMaximum_(spans_.size() * static_cast<std::size_t>(blocks_)),
        floorMinimum_((static_cast<std::size_t>(innerMaxWeight) + 1) *
                      static_cast<std::size_t>(blocks_)),
        interleavings_(log10BinomialRow(innerLength)) {
    for (std::int32_t v = 0; v <= innerLength_; ++v) {
      describeSource(v);
    }
    boundTargets();
  }

  // Runs steps v = 0 … L: in step v every row d with a count in cell (d, v) receives the
  // entering row v. Rows are independent and each takes its steps in order, so every member
  // of the team walks all steps over its own share of the rows without waiting for the
  // others; the calling thread meanwhile hands each step to `stepDone` (in order, once every
  // member is past it). When that returns false the others are stopped and run returns false.
  bool run(BasicLogTable<Cell>& target, const std::function<bool(std::int32_t)>& stepDone) {
    const std::int32_t members = team_.members();
    std::vector<std::atomic<std::int32_t>> stepsDone(static_cast<std::size_t>(members));
    for (auto& done : stepsDone) {
      done.store(0, std::memory_order_relaxed);
    }
    std::atomic<bool> stop{false};
    std::int32_t reported = 0;
    // On the calling thread: passes on every step all members have finished; with `wait`,
    // waits for them until the last step. False when stepDone asked to stop.
    auto report = [&](bool wait) {
      while (reported <= innerLength_) {
        for (auto& done : stepsDone) {
          std::int32_t seen = done.load(std::memory_order_acquire);
          while (seen <= reported) {
            if (!wait) {
              return true;
            }
            done.wait(seen, std::memory_order_acquire);
            seen = done.load(std::memory_order_acquire);
          }
        }
        if (!stepDone(reported)) {
          stop.store(true, std::memory_order_relaxed);
          return false;
        }
        ++reported;
      }
      return true;
    };
    bool finished = true;
    team_.run([&](std::int32_t member) {
      std::atomic<std::int32_t>& done = stepsDone[static_cast<std::size_t>(member)];
      try {
        for (std::int32_t v = 0; v <= innerLength_; ++v) {
          if (stop.load(std::memory_order_relaxed)) {
            return;
          }
          stepRows(v, member, members, target);
          done.store(v + 1, std::memory_order_release);
          done.notify_one();
          if (member == 0 && !report(false)) {
            finished = false;
            return;
          }
        }
        if (member == 0) {
          finished = report(true);
        }
      } catch (...) {
        // Nobody may wait for this member any more; the team rethrows the failure.
        stop.store(true, std::memory_order_relaxed);
        done.store(innerLength_ + 1, std::memory_order_release);
        done.notify_one();
        throw;
      }
    });
    return finished;
  }

 private:
  // Member `member`'s share of step v: rows d ≡ member (mod members).
  void stepRows(std::int32_t v, std::int32_t member, std::int32_t members,
                BasicLogTable<Cell>& target) {
    const Span span = spans_[static_cast<std::size_t>(v)];
    if (span.first > span.last) {
      return;
    }
    for (std::int32_t d = member; d <= innerMaxWeight_; d += members) {
      if (table_.at(d, v) != kLogZeroCell<Cell>) {
        addRow(v, span, d, target.row(d));
      }
    }
  }

  // Where entering row v holds counts, and its largest count per block.
  void describeSource(std::int32_t v) {
    const Cell* row = source_.row(v);
    const Span span = countedSpan(row, frameLength_);
    spans_[static_cast<std::size_t>(v)] = span;
    Cell* maximum = sourceMaximum_.data() + static_cast<std::size_t>(v) * blocks_;
    std::fill(maximum, maximum + blocks_, kNone<Cell>);
    for (std::int32_t w = span.first; w <= span.last; ++w) {
      if (row[w] != kLogZeroCell<Cell>) {
        maximum[w / kBlock] = std::max(maximum[w / kBlock], row[w]);
      }
    }
  }

  // For every target row d and block: the lowest floor of its cells, the floor being the
  // largest sampled term of a cell less kNegligibleOrders (−∞ where no term was sampled).
  void boundTargets() {
    parallelFor(team_.members(), innerMaxWeight_ + 1, [&](std::int64_t item, std::int32_t) {
      const auto d = static_cast<std::int32_t>(item);
      std::vector<Cell> best(static_cast<std::size_t>(frameLength_) + 1, kNone<Cell>);
      const Cell* cells = table_.row(d);
      for (std::int32_t v = 0; v <= innerLength_; v += kBoundStride) {
        const Span span = spans_[static_cast<std::size_t>(v)];
        if (cells[v] == kLogZeroCell<Cell> || span.first > span.last) {
          continue;
        }
        const auto x = static_cast<Cell>(static_cast<double>(cells[v]) -
                                         interleavings_[static_cast<std::size_t>(v)]);
        kernels_.maxTerms(best.data() + span.first, source_.row(v) + span.first,
                          static_cast<std::size_t>(span.last - span.first + 1), x);
      }
      Cell* floor = floorMinimum_.data() + static_cast<std::size_t>(d) * blocks_;
      for (std::int32_t b = 0; b < blocks_; ++b) {
        const auto first = best.begin() + b * kBlock;
        const auto last = best.begin() + std::min(frameLength_ + 1, (b + 1) * kBlock);
        floor[b] = *std::min_element(first, last) - kNegligibleOrders;
      }
    });
  }

  // The terms of row d of step v, block runs below every floor they reach left out.
  void addRow(std::int32_t v, Span span, std::int32_t d, Cell* target) {
    const double cell = static_cast<double>(table_.at(d, v));
    const double interleavings = interleavings_[static_cast<std::size_t>(v)];
    const Cell* entering = source_.row(v);
    const Cell* maximum = sourceMaximum_.data() + static_cast<std::size_t>(v) * blocks_;
    const Cell* floor = floorMinimum_.data() + static_cast<std::size_t>(d) * blocks_;
    const double x = cell - interleavings;
    std::int32_t runFirst = -1;
    std::int32_t runLast = -1;
    auto flush = [&] {
      if (runFirst >= 0) {
        kernels_.addTerms(target + runFirst, entering + runFirst,
                          static_cast<std::size_t>(runLast - runFirst + 1), cell, interleavings);
        runFirst = -1;
      }
    };
    for (std::int32_t b = span.first / kBlock; b <= span.last / kBlock; ++b) {
      if (x + static_cast<double>(maximum[b]) < static_cast<double>(floor[b])) {
        flush();
        continue;
      }
      if (runFirst < 0) {
        runFirst = std::max(span.first, b * kBlock);
      }
      runLast = std::min(span.last, b * kBlock + kBlock - 1);
    }
    flush();
  }

  const BasicLogTable<Cell>& table_;
  const BasicLogTable<Cell>& source_;
  std::int32_t innerLength_;
  std::int32_t innerMaxWeight_;
  std::int32_t frameLength_;
  std::int32_t blocks_;
  const BasicLogAddRowKernels<Cell>& kernels_;
  StepTeam& team_;
  std::vector<Span> spans_;
  std::vector<Cell> sourceMaximum_;    // per entering row and block
  std::vector<Cell> floorMinimum_;     // per target row and block
  std::vector<double> interleavings_;  // log10 C(L, v)
};

template <typename Cell>
void fillRows(BasicLogTable<Cell>& matrix, std::int32_t lastRow, std::int32_t lastColumn,
              Cell value) {
  for (std::int32_t d = 0; d <= lastRow; ++d) {
    std::fill(matrix.row(d), matrix.row(d) + lastColumn + 1, value);
  }
}

// Sums the finished matrix over outer input weights into both spectra, rows in parallel;
// the weighted spectrum counts each word by its share w / N of erroneous input bits.
template <typename Cell>
void sumIntoSpectra(const BasicLogTable<Cell>& result, std::int32_t maxWeight,
                    std::int32_t frameLength, std::span<double> codewordSpectrum,
                    std::span<double> weightedSpectrum, const BasicLogAddRowKernels<Cell>& kernels,
                    std::int32_t threads) {
  std::vector<double> share(static_cast<std::size_t>(frameLength) + 1);
  for (std::int32_t w = 0; w <= frameLength; ++w) {
    share[static_cast<std::size_t>(w)] =
        std::log10(static_cast<double>(w) / static_cast<double>(frameLength));
  }
  constexpr std::int32_t kRowsPerItem = 16;
  const std::int64_t items = maxWeight / kRowsPerItem + 1;
  parallelFor(threads, items, [&](std::int64_t item, std::int32_t /*thread*/) {
    const auto first = static_cast<std::int32_t>(item) * kRowsPerItem;
    const std::int32_t count = std::min(kRowsPerItem, maxWeight + 1 - first);
    const Cell* rows[kRowsPerItem];
    for (std::int32_t r = 0; r < count; ++r) {
      rows[r] = result.row(first + r);
    }
    const auto columns = static_cast<std::size_t>(frameLength) + 1;
    const auto size = static_cast<std::size_t>(count);
    kernels.foldRows(codewordSpectrum.data() + first, rows, size, columns, nullptr);
    kernels.foldRows(weightedSpectrum.data() + first, rows, size, columns, share.data());
  });
}

template <typename Cell>
StageResult<std::int32_t> runFast(TurboCode& turbo, SpectrumOutput spectra,
                                  const RunContext& context) {
  const std::int32_t frameLength = turbo.frameLengths[0];
  const std::int32_t maxWeight = turbo.outputFrameLength;
  const std::int32_t count = turbo.constituentCount;
  const BasicLogAddRowKernels<Cell>& kernels = rowKernels<Cell>();
  // Indexed [weight of the word after the constituents so far][outer input weight]; the
  // outer table itself plays the part of the first matrix.
  std::vector<BasicLogTable<Cell>> matrices;
  matrices.emplace_back(1, maxWeight + 1, frameLength + 1);
  if (count > 2) {
    matrices.emplace_back(1, maxWeight + 1, frameLength + 1);
  }

  clearSpectraAndZeroWord<Cell>(turbo, maxWeight, spectra);

  ProgressReport progress(context);
  progress.start();
  const std::int32_t totalSteps = serialProgressSteps(turbo);
  StepTeam team(threadsFor(turbo, context));
  const BasicLogTable<Cell>* source = &resultTable<Cell>(*turbo.enumerators[0]);
  const BasicLogTable<Cell>* result = source;
  std::int32_t stepsDone = 0;
  for (std::int32_t c = 1; c < count; ++c) {
    const auto index = static_cast<std::size_t>(c);
    BasicLogTable<Cell>& target = matrices[(index - 1) % matrices.size()];
    fillRows(target, maxWeight, frameLength, kLogZeroCell<Cell>);
    const std::int32_t innerLength = turbo.frameLengths[index];
    SerialStage<Cell> stage(resultTable<Cell>(*turbo.enumerators[index]), *source, innerLength,
                            turbo.frameLengths[index + 1], frameLength, kernels, team);
    const bool finished = stage.run(target, [&](std::int32_t /*v*/) {
      if (context.cancelRequested()) {
        return false;
      }
      ++stepsDone;
      progress.step(totalSteps + 1 - stepsDone);
      return true;
    });
    if (!finished) {
      return StageResult<std::int32_t>::cancelled();  // the spectra still hold LogZero
    }
    source = &target;
    result = &target;
  }
  progress.finish();

  sumIntoSpectra(*result, maxWeight, frameLength, spectra.codeword, spectra.weighted, kernels,
                 team.members());
  return maxWeight;
}

}  // namespace

std::uint64_t fastSerialSpectrumWorkBytes(const TurboCode& turbo) {
  // One matrix, and a second one only when a chain has more than one stage after the first.
  const std::uint64_t matrices = turbo.constituentCount > 2 ? 2 : 1;
  const std::int32_t rows = turbo.outputFrameLength + 1;
  const std::int32_t columns = turbo.frameLengths[0] + 1;
  const std::uint64_t matrix = tablePrecision(turbo) == TablePrecision::Double
                                   ? LogTableDouble::bytesFor(1, rows, columns)
                                   : LogTable::bytesFor(1, rows, columns);
  return matrices * matrix +
         (static_cast<std::uint64_t>(turbo.frameLengths[0]) + 1) * sizeof(double);
}

StageResult<std::int32_t> computeSerialSpectrumFast(TurboCode& turbo, SpectrumOutput spectra,
                                                    const RunContext& context) {
  return onTableCells(turbo, runFast<float>, runFast<double>, turbo, spectra, context);
}

}  // namespace brevandor
