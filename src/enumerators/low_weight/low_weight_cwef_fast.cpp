// The fast low-weight CWEF: the reference's additions, cell by cell in the same order, summed
// by the vector kernels in as few and as long runs as the layer allows. Each kept cell
// receives one term per from-state, from-states in increasing order, as in the reference.
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

template <typename Cell>
StageEnd runFast(WeightEnumerator& enumerator, const ConvCode& code, const LowWeightCut& cut,
                 const TransitionMatrix& logMatrix, const RunContext& context) {
  const BasicLogAddRowKernels<Cell>& kernels = rowKernels<Cell>();
  FastLayers<Cell> work(code, cut);
  startLowWeightFrame(work.layers[0], logMatrix, cut);
  const bool wide = cut.maxInputWeight + 1 > kBlockLayerColumns;
  const std::int32_t rows = cut.maxOutputWeight + 1;
  const std::int32_t targetRows = code.stateCount * rows;
  const std::int32_t threads = std::max(1, context.workerThreads());
  std::unique_ptr<StepTeam> team;

  const std::int32_t sections = code.sectionCount(enumerator.frameLength);
  SectionProgress progress(context, sections);
  progress.start();
  for (std::int32_t t = 1; t < sections; ++t) {
    const BasicLogTable<Cell>& previous = work.layers[(t + 1) % 2];
    BasicLogTable<Cell>& current = work.layers[t % 2];
    const std::int32_t reached = reachedInputWeight(t, cut);
    if (!wide) {
      blockSection(logMatrix, previous, current, cut, kernels);
    } else if (threads > 1 && std::int64_t{2} * targetRows * reached >= kCellsPerThreadedSection) {
      if (!team) {
        team = std::make_unique<StepTeam>(threads);
      }
      team->run([&](std::int32_t member) {
        for (std::int32_t i = member; i < targetRows; i += threads) {
          wideRow(logMatrix, previous, current, cut, kernels, i / rows, i % rows, reached);
        }
      });
    } else {
      for (std::int32_t i = 0; i < targetRows; ++i) {
        wideRow(logMatrix, previous, current, cut, kernels, i / rows, i % rows, reached);
      }
    }
    if (!progress.sectionDone(t)) {
      return StageEnd::Cancelled;
    }
  }
  progress.finish();
  finishLowWeightFrame(enumerator, code, cut, work.layers[(sections - 1) % 2], kernels, context);
  return StageEnd::Completed;
}

}  // namespace

StageEnd computeLowWeightCwefFast(WeightEnumerator& enumerator, const ConvCode& code,
                                  const LowWeightCut& cut, const RunContext& context) {
  const TransitionMatrix logMatrix = lowWeightLogMatrix(enumerator, code);
  for (const TransitionWeight& branch : logMatrix.entries()) {
    if (branch.multiplicity != kLogZeroInt && (branch.outputWeight < 0 || branch.inputWeight > 1)) {
      // Only a non-systematic code counting parity bits has such a branch; no run builds one.
      return computeLowWeightCwefReference(enumerator, code, cut, context);
    }
  }
  return enumerator.precision == TablePrecision::Double
             ? runFast<double>(enumerator, code, cut, logMatrix, context)
             : runFast<float>(enumerator, code, cut, logMatrix, context);
}

}  // namespace brevandor
