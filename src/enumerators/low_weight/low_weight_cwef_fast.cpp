// The fast low-weight CWEF: the reference's additions, cell by cell in the same order, summed
// by the vector kernels in as few and as long runs as the layer allows. Each kept cell
// receives one term per from-state, from-states in increasing order, as in the reference.
//
// Each section's branches weigh the bits its phase of the puncturing pattern sends.
//
// A narrow layer (few input weights kept, the parallel and serial codes) is summed a whole
// state block per branch: the block of the from-state, shifted by the branch's weights, is
// one run of cells. A guard column after the last input weight catches what a branch of
// input weight 1 carries past the row's end, and whatever lands outside the cut is cleared
// before the next section reads the layer.
//
// A wide layer (every input weight kept, the code behind the repetition code) is summed row
// by row over the input weights reached so far, at most one more per section, and its rows
// are shared among the worker threads: each target row is written by one thread only.

#include <algorithm>
#include <memory>
#include <vector>

#include "enumerators/cwef_engines.h"
#include "enumerators/low_weight/low_weight_cwef.h"
#include "enumerators/low_weight/low_weight_cwef_frame.h"
#include "progress/step_team.h"

namespace brevandor {

namespace {

// Layers with at most this many input weights are summed by whole blocks.
constexpr std::int32_t kBlockLayerColumns = 512;
// Cells one section must add before it is worth waking the other threads.
constexpr std::int64_t kCellsPerThreadedSection = 1 << 15;

// Both layers of the fast engine: the cut's shape plus the guard column, LogZero throughout.
template <typename Cell>
struct FastLayers {
  BasicLogTable<Cell> layers[2];

  FastLayers(const ConvCode& code, const LowWeightCut& cut) {
    for (BasicLogTable<Cell>& layer : layers) {
      layer = BasicLogTable<Cell>(code.stateCount, cut.maxOutputWeight + 1, cut.maxInputWeight + 2);
      layer.fill(kLogZeroCell<Cell>);
    }
  }
};

// One section of a narrow layer, a whole to-state block at a time.
template <typename Cell>
void blockSection(const TransitionMatrix& logMatrix, const BasicLogTable<Cell>& previous,
                  BasicLogTable<Cell>& current, const LowWeightCut& cut,
                  const BasicLogAddRowKernels<Cell>& kernels) {
  const auto stride = static_cast<std::ptrdiff_t>(current.stride());
  const std::int32_t rows = current.rows();
  for (std::int32_t to = 0; to < current.blocks(); ++to) {
    Cell* block = current.row(to, 0);
    std::fill(block, block + rows * stride, kLogZeroCell<Cell>);
    for (std::int32_t from = 0; from < current.blocks(); ++from) {
      const TransitionWeight& branch = logMatrix.at(to, from);
      if (branch.multiplicity == kLogZeroInt || branch.outputWeight >= rows) {
        continue;
      }
      // Branch multiplicity 0: each term is the source count itself, log-added as it stands
      // (a LogZero count, outside the cut or in the padding, leaves the cell as it is).
      Cell* target = block + branch.outputWeight * stride + branch.inputWeight;
      const std::ptrdiff_t cells = (rows - branch.outputWeight) * stride - branch.inputWeight;
      kernels.sumPairs(target, target, previous.row(from, 0), static_cast<std::size_t>(cells));
    }
    for (std::int32_t d = 0; d < rows; ++d) {
      Cell* row = current.row(to, d);
      std::fill(row + std::max(cut.lastInputWeight(d) + 1, 0), row + cut.maxInputWeight + 2,
                kLogZeroCell<Cell>);
    }
  }
}

// One target row of a wide layer: the paths of every from-state that reach it, over the
// input weights 0 … reached of the previous layer.
template <typename Cell>
void wideRow(const TransitionMatrix& logMatrix, const BasicLogTable<Cell>& previous,
             BasicLogTable<Cell>& current, const LowWeightCut& cut,
             const BasicLogAddRowKernels<Cell>& kernels, std::int32_t to, std::int32_t d,
             std::int32_t reached) {
  Cell* row = current.row(to, d);
  std::fill(row, row + std::min(reached + 1, cut.maxInputWeight) + 1, kLogZeroCell<Cell>);
  for (std::int32_t from = 0; from < current.blocks(); ++from) {
    const TransitionWeight& branch = logMatrix.at(to, from);
    const std::int32_t source = d - branch.outputWeight;
    const std::int32_t last = std::min(reached, cut.lastInputWeight(d) - branch.inputWeight);
    if (branch.multiplicity == kLogZeroInt || source < 0 || source >= current.rows() || last < 0) {
      continue;
    }
    Cell* cells = row + branch.inputWeight;
    kernels.sumPairs(cells, cells, previous.row(from, source), static_cast<std::size_t>(last) + 1);
  }
}

// The input weights section t can reach: one input bit per section.
std::int32_t reachedInputWeight(std::int32_t t, const LowWeightCut& cut) {
  return std::min(t, cut.maxInputWeight);
}

// Runs sections 1 … sections − 1 of one start state's recursion; false when cancelled.
template <typename Cell>
class FastSections {
 public:
  FastSections(const ConvCode& code, const LowWeightCut& cut,
               const std::vector<TransitionMatrix>& phases, const RunContext& context)
      : cut_(cut),
        phases_(phases),
        kernels_(rowKernels<Cell>()),
        wide_(cut.maxInputWeight + 1 > kBlockLayerColumns),
        rows_(cut.maxOutputWeight + 1),
        targetRows_(code.stateCount * rows_),
        threads_(std::max(1, context.workerThreads())) {}

  const BasicLogAddRowKernels<Cell>& kernels() const { return kernels_; }

  template <typename SectionDone>
  bool run(FastLayers<Cell>& work, std::int32_t sections, SectionDone&& sectionDone) {
    for (std::int32_t t = 1; t < sections; ++t) {
      step(work.layers[(t + 1) % 2], work.layers[t % 2], t);
      if (!sectionDone(t)) {
        return false;
      }
    }
    return true;
  }

 private:
  void step(const BasicLogTable<Cell>& previous, BasicLogTable<Cell>& current, std::int32_t t) {
    const std::int32_t reached = reachedInputWeight(t, cut_);
    const TransitionMatrix& logMatrix = phases_[static_cast<std::size_t>(t) % phases_.size()];
    if (!wide_) {
      blockSection(logMatrix, previous, current, cut_, kernels_);
    } else if (threads_ > 1 &&
               std::int64_t{2} * targetRows_ * reached >= kCellsPerThreadedSection) {
      if (!team_) {
        team_ = std::make_unique<StepTeam>(threads_);
      }
      team_->run([&](std::int32_t member) {
        for (std::int32_t i = member; i < targetRows_; i += threads_) {
          wideRow(logMatrix, previous, current, cut_, kernels_, i / rows_, i % rows_, reached);
        }
      });
    } else {
      for (std::int32_t i = 0; i < targetRows_; ++i) {
        wideRow(logMatrix, previous, current, cut_, kernels_, i / rows_, i % rows_, reached);
      }
    }
  }

  const LowWeightCut& cut_;
  const std::vector<TransitionMatrix>& phases_;
  const BasicLogAddRowKernels<Cell>& kernels_;
  bool wide_;
  std::int32_t rows_;
  std::int32_t targetRows_;
  std::int32_t threads_;
  std::unique_ptr<StepTeam> team_;
};

template <typename Cell>
StageEnd runFast(WeightEnumerator& enumerator, const ConvCode& code, const LowWeightCut& cut,
                 const std::vector<TransitionMatrix>& phases, const RunContext& context) {
  FastLayers<Cell> work(code, cut);
  FastSections<Cell> recursion(code, cut, phases, context);
  return runLowWeightFrame(
      enumerator, code, cut, phases[0], work.layers, recursion.kernels(), context,
      [&](std::int32_t start, std::int32_t sections, auto&& sectionDone) {
        if (start > 0) {
          work.layers[1].fill(kLogZeroCell<Cell>);  // the guard column, the cells outside the cut
        }
        return recursion.run(work, sections, sectionDone);
      });
}

}  // namespace

StageEnd computeLowWeightCwefFast(WeightEnumerator& enumerator, const ConvCode& code,
                                  const LowWeightCut& cut, const RunContext& context) {
  const std::vector<TransitionMatrix> phases = lowWeightPhaseMatrices(enumerator, code);
  for (const TransitionMatrix& logMatrix : phases) {
    for (const TransitionWeight& branch : logMatrix.entries()) {
      if (branch.multiplicity != kLogZeroInt &&
          (branch.outputWeight < 0 || branch.inputWeight > 1)) {
        // Only a non-systematic code counting parity bits has such a branch; no run builds one.
        return computeLowWeightCwefReference(enumerator, code, cut, context);
      }
    }
  }
  return enumerator.precision == TablePrecision::Double
             ? runFast<double>(enumerator, code, cut, phases, context)
             : runFast<float>(enumerator, code, cut, phases, context);
}

}  // namespace brevandor
