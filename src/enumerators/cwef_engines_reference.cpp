#include <cstdint>
#include <vector>

#include "enumerators/cwef_engines.h"
#include "logmath/log_domain.h"
#include "progress/progress_report.h"

namespace brevandor {

namespace {

constexpr const char* kTailOverflowText = " -- Error occured in Tail bits op ";

// The sizes every pass of the recursion works with.
struct CwefShape {
  std::int32_t states;     // S
  std::int32_t maxInput;   // N, the last input-weight column
  std::int32_t maxOutput;  // D, the last output-weight row of the layers
};

// Frees the log transfer matrix and both layers on every way out of the stage, cancellation
// and failed allocations included.
class WorkTables {
 public:
  WorkTables(WeightEnumerator& enumerator, const ConvCode& code)
      : enumerator_(enumerator), code_(code) {}
  // Creates the tables; whatever was created is freed even when a later one cannot be had.
  void allocate() {
    enumerator_.allocateLogTransferMatrix(code_);
    enumerator_.allocateLayers(code_);
  }
  ~WorkTables() {
    enumerator_.releaseLayers(code_);
    enumerator_.releaseLogTransferMatrix(code_);
  }
  WorkTables(const WorkTables&) = delete;
  WorkTables& operator=(const WorkTables&) = delete;

 private:
  WeightEnumerator& enumerator_;
  const ConvCode& code_;
};

// Sets rows 0 … D, columns 0 … N of one state's block to `value`.
template <typename Cell>
void fillBlock(BasicLogTable<Cell>& layer, std::int32_t state, const CwefShape& shape, Cell value) {
  for (std::int32_t d = 0; d <= shape.maxOutput; ++d) {
    Cell* row = layer.row(state, d);
    for (std::int32_t w = 0; w <= shape.maxInput; ++w) {
      row[w] = value;
    }
  }
}

template <typename Cell>
void fillLayer(BasicLogTable<Cell>& layer, const CwefShape& shape, Cell value) {
  for (std::int32_t s = 0; s < shape.states; ++s) {
    fillBlock(layer, s, shape, value);
  }
}

// Whether a path weight lands inside the layers. Weights below zero only arise when a
// non-systematic code counts output minus input bits; such a cell has no row to go to.
bool insideLayer(std::int32_t outputWeight, std::int32_t inputWeight, const CwefShape& shape) {
  return outputWeight >= 0 && outputWeight <= shape.maxOutput && inputWeight <= shape.maxInput;
}

// The branch weights of each section: the log transfer matrix, or with puncturing the
// matrix of the section's phase t mod T of the period, made when the phase changes.
class SectionBranches {
 public:
  SectionBranches(const WeightEnumerator& enumerator, const ConvCode& code)
      : enumerator_(enumerator), code_(code) {}
  const TransitionMatrix& of(std::int32_t section) {
    if (enumerator_.puncturing.empty()) {
      return enumerator_.logTransferMatrix;
    }
    const std::int32_t phase = section % enumerator_.puncturing.period();
    if (phase != phase_) {
      matrix_ = enumerator_.sectionLogTransferMatrix(code_, phase);
      phase_ = phase;
    }
    return matrix_;
  }

 private:
  const WeightEnumerator& enumerator_;
  const ConvCode& code_;
  TransitionMatrix matrix_;
  std::int32_t phase_ = -1;
};

// The first section: paths start in state 0, so layer 0 holds one path per branch that
// leaves state 0, at that branch's weights.
template <typename Cell>
void firstSection(WeightEnumerator& enumerator, const TransitionMatrix& branches,
                  const CwefShape& shape) {
  BasicLogTable<Cell>& layer = workLayers<Cell>(enumerator)[0];
  for (std::int32_t s = 0; s < shape.states; ++s) {
    fillBlock(layer, s, shape, kLogZeroCell<Cell>);
    const TransitionWeight& branch = branches.at(s, 0);
    if (insideLayer(branch.outputWeight, branch.inputWeight, shape)) {
      layer.at(s, branch.outputWeight, branch.inputWeight) = static_cast<Cell>(branch.multiplicity);
    }
  }
}

// Extends every path of one from-state by the branch into one to-state.
template <typename Cell>
void extendPaths(const BasicLogTable<Cell>& previous, BasicLogTable<Cell>& current, std::int32_t to,
                 std::int32_t from, const TransitionWeight& branch, const CwefShape& shape) {
  for (std::int32_t d = 0; d <= shape.maxOutput; ++d) {
    const std::int32_t extendedOutput = d + branch.outputWeight;
    if (!insideLayer(extendedOutput, 0, shape)) {
      continue;
    }
    const Cell* source = previous.row(from, d);
    Cell* target = current.row(to, extendedOutput);
    // Columns whose extended input weight would pass N have no cell to go to.
    for (std::int32_t w = 0; w + branch.inputWeight <= shape.maxInput; ++w) {
      const Cell x = source[w];
      if (x == kLogZeroCell<Cell>) {
        continue;
      }
      Cell& cell = target[w + branch.inputWeight];
      // The term is formed in double; the sum is rounded to single precision on storing.
      cell = static_cast<Cell>(
          logAdd(static_cast<double>(cell),
                 static_cast<double>(branch.multiplicity) + static_cast<double>(x)));
    }
  }
}

// One section step: layer `current` receives every path of layer `previous` extended by
// one branch, to-states in order, and within a to-state the from-states in order.
template <typename Cell>
void sectionStep(WeightEnumerator& enumerator, const TransitionMatrix& branches,
                 std::int32_t current, const CwefShape& shape) {
  const BasicLogTable<Cell>& previousLayer = workLayers<Cell>(enumerator)[1 - current];
  BasicLogTable<Cell>& currentLayer = workLayers<Cell>(enumerator)[current];
  fillLayer(currentLayer, shape, kLogZeroCell<Cell>);
  for (std::int32_t to = 0; to < shape.states; ++to) {
    for (std::int32_t from = 0; from < shape.states; ++from) {
      const TransitionWeight& branch = branches.at(to, from);
      if (branch.multiplicity == kLogZeroInt) {
        continue;
      }
      extendPaths(previousLayer, currentLayer, to, from, branch, shape);
    }
  }
}

// Brings the end-of-frame values into layer 1, whichever layer the last section wrote.
template <typename Cell>
void moveEndOfFrameToLayerOne(WeightEnumerator& enumerator, std::int32_t sections,
                              const CwefShape& shape) {
  const std::int32_t lastWritten = sections > 1 ? (sections - 1) % 2 : 0;
  if (lastWritten != 0) {
    return;
  }
  for (std::int32_t s = 0; s < shape.states; ++s) {
    for (std::int32_t d = 0; d <= shape.maxOutput; ++d) {
      const Cell* source = workLayers<Cell>(enumerator)[0].row(s, d);
      Cell* target = workLayers<Cell>(enumerator)[1].row(s, d);
      for (std::int32_t w = 0; w <= shape.maxInput; ++w) {
        target[w] = source[w];
      }
    }
  }
}

// Termination: every path ending in state s is driven to state 0 by its tail, which adds
// the tail's output weight. Layer 1 holds the paths at the end of the frame; layer 0
// receives them shifted by the tail weight.
template <typename Cell>
void terminate(WeightEnumerator& enumerator, const ConvCode& code, const CwefShape& shape,
               const RunContext& context) {
  std::vector<std::int32_t> tailWeights(static_cast<std::size_t>(shape.states), 0);
  enumerator.computeTailWeights(code, tailWeights, context);
  for (std::int32_t s = 0; s < shape.states; ++s) {
    const std::int32_t tail = tailWeights[static_cast<std::size_t>(s)];
    for (std::int32_t d = 0; d <= shape.maxOutput; ++d) {
      const Cell* source = workLayers<Cell>(enumerator)[1].row(s, d);
      const std::int32_t terminated = d + tail;
      if (!insideLayer(terminated, 0, shape)) {
        for (std::int32_t w = 0; w <= shape.maxInput; ++w) {
          if (source[w] != kLogZeroCell<Cell>) {
            context.postLogLine(kTailOverflowText);
          }
        }
        continue;
      }
      Cell* target = workLayers<Cell>(enumerator)[0].row(s, terminated);
      for (std::int32_t w = 0; w <= shape.maxInput; ++w) {
        target[w] = source[w];  // a plain store: each (s, d) lands on its own row
      }
    }
  }
}

// Sums the terminated paths of every end state into state 0's block of layer 0.
template <typename Cell>
void sumOverEndStates(WeightEnumerator& enumerator, const CwefShape& shape) {
  BasicLogTable<Cell>& layer = workLayers<Cell>(enumerator)[0];
  for (std::int32_t d = 0; d <= shape.maxOutput; ++d) {
    Cell* sum = layer.row(0, d);
    for (std::int32_t w = 0; w <= shape.maxInput; ++w) {
      for (std::int32_t s = 1; s < shape.states; ++s) {
        sum[w] = static_cast<Cell>(
            logAdd(static_cast<double>(sum[w]), static_cast<double>(layer.at(s, d, w))));
      }
    }
  }
}

template <typename Cell>
void storeResult(WeightEnumerator& enumerator, const CwefShape& shape) {
  for (std::int32_t d = 0; d <= shape.maxOutput; ++d) {
    const Cell* source = workLayers<Cell>(enumerator)[0].row(0, d);
    Cell* target = resultTable<Cell>(enumerator).row(d);
    for (std::int32_t w = 0; w <= shape.maxInput; ++w) {
      target[w] = source[w];
    }
  }
}

template <typename Cell>
StageEnd runReference(WeightEnumerator& enumerator, const ConvCode& code,
                      const RunContext& context) {
  WorkTables work(enumerator, code);
  work.allocate();
  enumerator.computeLogTransferMatrix(code);
  const CwefShape shape{code.stateCount, enumerator.frameLength, enumerator.layerMaxWeight(code)};
  const std::int32_t sections = code.sectionCount(enumerator.frameLength);
  SectionBranches branches(enumerator, code);

  firstSection<Cell>(enumerator, branches.of(0), shape);
  ProgressReport progress(context);
  progress.start();
  for (std::int32_t t = 1; t < sections; ++t) {
    sectionStep<Cell>(enumerator, branches.of(t), t % 2, shape);
    if (context.cancelRequested()) {
      return StageEnd::Cancelled;  // the work tables go with `work`; the result table stays
                                   // untouched
    }
    progress.step(sections - t);
  }
  progress.finish();

  moveEndOfFrameToLayerOne<Cell>(enumerator, sections, shape);
  fillLayer(workLayers<Cell>(enumerator)[0], shape, kLogZeroCell<Cell>);
  terminate<Cell>(enumerator, code, shape, context);
  sumOverEndStates<Cell>(enumerator, shape);
  storeResult<Cell>(enumerator, shape);
  return StageEnd::Completed;
}

}  // namespace

StageEnd computeCwefReference(WeightEnumerator& enumerator, const ConvCode& code,
                              const RunContext& context) {
  return enumerator.precision == TablePrecision::Double
             ? runReference<double>(enumerator, code, context)
             : runReference<float>(enumerator, code, context);
}

}  // namespace brevandor
