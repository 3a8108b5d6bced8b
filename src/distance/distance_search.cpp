#include "distance/distance_search.h"

#include <algorithm>
#include <bit>
#include <chrono>
#include <functional>
#include <optional>
#include <vector>

#include "distance/constituent_tables.h"
#include "progress/progress_report.h"

namespace brevandor {

namespace {

// How many candidates pass between two looks at the cancel flag and the limit.
constexpr std::uint64_t kCheckInterval = 1u << 14;
// First-one positions whose subtrees the estimate searches.
constexpr std::int32_t kEstimateSamples = 48;

// The depth-first search. A node is a prefix of the input word: its first t bits are fixed,
// the first code is in `state` at section t, its (parallel) weight so far is `direct`, and
// the second code's input is known to be 1 at the sorted positions `ones_`. The node's lower
// bound on the weight of every word below it is the first code's weight so far plus the least
// it can still add, plus the second code's least weight through the known ones; a node whose
// bound passes D has no word of weight ≤ D below it, so it is not entered. Each word has
// exactly one path (its ones in order), so each is counted once.
//
// Parallel codes with a systematic bit that is always sent get a second bound as well, with
// the future ones' systematic weight moved from encoder 1 to encoder 2: encoder 1's rest is
// counted without it, and encoder 2 pays 1 for every 1 it places freely (each will be an
// input 1 of encoder 1 as well). Encoder 2 alone can otherwise null its parity with free ones
// almost everywhere, which leaves the first bound weak. The larger of the two bounds is used.
class GivenInterleaverSearcher {
 public:
  GivenInterleaverSearcher(const GivenInterleaverCode& code, std::int32_t maxWeight)
      : parallel_(code.concatenation == GivenConcatenation::Parallel),
        first_(code.first),
        second_(code.second),
        maxWeight_(maxWeight),
        inverse_(code.permutation.size()) {
    if (parallel_ && sendsEverySystematicBit(code)) {
      firstParity_.emplace(code.first, -1);
      secondCharged_.emplace(code.second, +1);
    }
    for (std::size_t j = 0; j < code.permutation.size(); ++j) {
      inverse_[static_cast<std::size_t>(code.permutation[j])] = static_cast<std::int32_t>(j);
    }
    if (!parallel_) {
      buildOuterPositions();
    }
    spectrum_.maxWeight = maxWeight;
    spectrum_.frameLength = code.first.frameLength;
    spectrum_.codewords.assign(static_cast<std::size_t>(maxWeight) + 1, 0);
    spectrum_.inputWeights.assign(static_cast<std::size_t>(maxWeight) + 1, 0);
  }

  // The subtree of the words whose first 1 is at section `first`.
  void searchFirstOne(std::int32_t first) { tryOne(first, 0, 0, 0); }

  // Stops the search at the next check: `check` returns true to stop.
  template <typename Check>
  void setStopCheck(Check check) {
    stopCheck_ = check;
  }

  std::int32_t sections() const { return first_.sections(); }
  bool stopped() const { return stopped_; }
  std::uint64_t candidates() const { return candidates_; }
  GivenSpectrum& spectrum() { return spectrum_; }

 private:
  // Serial: where each sent bit of the outer code lands in the inner frame.
  void buildOuterPositions() {
    sentBefore_.assign(static_cast<std::size_t>(first_.sections()) + 1, 0);
    for (std::int32_t t = 0; t < first_.sections(); ++t) {
      sentBefore_[static_cast<std::size_t>(t) + 1] =
          sentBefore_[static_cast<std::size_t>(t)] + std::popcount(first_.sentBits(t));
    }
  }

  bool overBudget(std::int32_t bound) const { return bound > maxWeight_; }

  // Whether encoder 1 counts every input bit once and encoder 2 counts parity only.
  static bool sendsEverySystematicBit(const GivenInterleaverCode& code) {
    if (!code.first.countsInputBits || code.second.countsInputBits) {
      return false;
    }
    const auto systematicBit = 1u << (code.first.code->n - 1);
    for (const std::uint32_t mask : code.first.puncturing.masks) {
      if ((mask & systematicBit) == 0) {
        return false;
      }
    }
    return isSystematic(code.first.code->kind);
  }

  // The bound of encoder 2's part given its known ones (and the future systematic weight
  // when the second bound is on).
  std::int32_t secondBound() const {
    const std::int32_t plain = second_.forcedOnesBound(ones_);
    return secondCharged_ ? std::max(plain, secondCharged_->forcedOnesBound(ones_)) : plain;
  }
  // The bound of a child: encoder 1's weight so far and rest, plus encoder 2's part.
  std::int32_t childBound(std::int32_t direct, std::int32_t t, std::int32_t state) const {
    const std::int32_t plain = direct + first_.freeToEnd(t, state) + second_.forcedOnesBound(ones_);
    if (!secondCharged_) {
      return plain;
    }
    return std::max(
        plain, direct + firstParity_->freeToEnd(t, state) + secondCharged_->forcedOnesBound(ones_));
  }
  // Whether a further 1 from state 0 at section t is affordable.
  bool affordsNewOne(std::int32_t direct, std::int32_t t) const {
    if (!parallel_) {
      return !overBudget(second_.forcedOnesBound(ones_));
    }
    std::int32_t bound = direct + first_.oneFromZeroToEnd(t) + second_.forcedOnesBound(ones_);
    if (secondCharged_) {
      bound = std::max(bound, direct + firstParity_->oneFromZeroToEnd(t) +
                                  secondCharged_->forcedOnesBound(ones_));
    }
    return !overBudget(bound);
  }

  void insertOne(std::int32_t position) {
    ones_.insert(std::upper_bound(ones_.begin(), ones_.end(), position), position);
    emitted_.push_back(position);
  }
  void undoOnes(std::size_t mark) {
    while (emitted_.size() > mark) {
      ones_.erase(std::lower_bound(ones_.begin(), ones_.end(), emitted_.back()));
      emitted_.pop_back();
    }
  }

  // The second code's ones that the first code's branch (section t, state, input) adds:
  // parallel, the input bit itself; serial, every sent 1 of the outer output word, the
  // systematic bit first.
  void emitBranch(std::int32_t t, std::int32_t state, std::int32_t input) {
    if (parallel_) {
      if (input == 1) {
        insertOne(inverse_[static_cast<std::size_t>(t)]);
      }
      return;
    }
    const auto word = static_cast<std::uint32_t>(first_.output(state, input)) & first_.sentBits(t);
    std::int32_t index = sentBefore_[static_cast<std::size_t>(t)];
    for (std::int32_t bit = first_.outputBits() - 1; bit >= 0; --bit) {
      if (((first_.sentBits(t) >> bit) & 1u) == 0) {
        continue;
      }
      if (((word >> bit) & 1u) != 0) {
        insertOne(inverse_[static_cast<std::size_t>(index)]);
      }
      ++index;
    }
  }
  // Serial: the ones of the outer tail from `state`, as many of its bits as it sends.
  void emitTail(std::int32_t state) {
    std::int32_t index = sentBefore_.back();
    const std::int32_t inputs = first_.tailInputs(state);
    for (std::int32_t i = 0; i < first_.tailSections(); ++i) {
      const std::int32_t input = (inputs >> i) & 1;
      const auto word = static_cast<std::uint32_t>(first_.output(state, input));
      const std::uint32_t sent = first_.tailSentBits(i);
      for (std::int32_t bit = first_.outputBits() - 1; bit >= 0; --bit) {
        if (((sent >> bit) & 1u) == 0) {
          continue;
        }
        if (((word >> bit) & 1u) != 0) {
          insertOne(inverse_[static_cast<std::size_t>(index)]);
        }
        ++index;
      }
      state = first_.next(state, input);
    }
  }

  void countCandidate() {
    ++candidates_;
    if (candidates_ % kCheckInterval == 0 && stopCheck_ && stopCheck_(candidates_)) {
      stopped_ = true;
    }
  }

  void record(std::int32_t weight, std::int32_t inputWeight) {
    ++spectrum_.codewords[static_cast<std::size_t>(weight)];
    spectrum_.inputWeights[static_cast<std::size_t>(weight)] +=
        static_cast<std::uint64_t>(inputWeight);
  }

  // The word of the node's prefix followed by zeros only.
  void finishWithZeros(std::int32_t t, std::int32_t state, std::int32_t direct,
                       std::int32_t inputWeight) {
    if (inputWeight == 0) {
      return;
    }
    if (parallel_) {
      const std::int32_t weight = direct + first_.zeroToEnd(t, state) + second_.exactWeight(ones_);
      if (!overBudget(weight)) {
        record(weight, inputWeight);
      }
      return;
    }
    // Serial: the outer zero run still sends ones until its state returns to 0; every one
    // can only raise the inner bound, so the run stops as soon as the bound passes D.
    const std::size_t mark = emitted_.size();
    bool cut = false;
    for (std::int32_t u = t; u < first_.sections() && state != 0 && !cut; ++u) {
      const std::size_t before = emitted_.size();
      emitBranch(u, state, 0);
      state = first_.next(state, 0);
      cut = emitted_.size() != before && overBudget(second_.forcedOnesBound(ones_));
    }
    if (!cut) {
      emitTail(state);
      const std::int32_t weight = second_.exactWeight(ones_);
      if (!overBudget(weight)) {
        record(weight, inputWeight);
      }
    }
    undoOnes(mark);
  }

  // The child with its next 1 at section t, reached from `state` after a run of zeros.
  void tryOne(std::int32_t t, std::int32_t state, std::int32_t direct, std::int32_t inputWeight) {
    countCandidate();
    const std::size_t mark = emitted_.size();
    emitBranch(t, state, 1);
    const std::int32_t next = first_.next(state, 1);
    if (parallel_) {
      const std::int32_t childDirect = direct + first_.weight(t, state, 1);
      if (!overBudget(childBound(childDirect, t + 1, next))) {
        explore(t + 1, next, childDirect, inputWeight + 1, secondBound());
      }
    } else {
      const std::int32_t bound = second_.forcedOnesBound(ones_);
      if (!overBudget(bound)) {
        explore(t + 1, next, 0, inputWeight + 1, bound);
      }
    }
    undoOnes(mark);
  }

  void explore(std::int32_t t, std::int32_t state, std::int32_t direct, std::int32_t inputWeight,
               std::int32_t knownBound) {
    if (stopped_) {
      return;
    }
    finishWithZeros(t, state, direct, inputWeight);
    const std::size_t mark = emitted_.size();
    // Zeros from a state other than 0 cost weight (parallel) or send ones (serial); the run
    // grows the bound monotonically, so the first run length over budget ends the loop.
    std::int32_t u = t;
    for (; u < first_.sections() && state != 0 && !stopped_; ++u) {
      tryOne(u, state, direct, inputWeight);
      if (parallel_) {
        direct += first_.weight(u, state, 0);
      } else {
        const std::size_t before = emitted_.size();
        emitBranch(u, state, 0);
        if (emitted_.size() != before) {
          knownBound = second_.forcedOnesBound(ones_);
        }
      }
      state = first_.next(state, 0);
      if (overBudget(direct + knownBound)) {
        undoOnes(mark);
        return;
      }
    }
    // In state 0 zeros are free: the next 1 may come anywhere, if a 1 is affordable at all.
    if (state == 0 && u < first_.sections() && affordsNewOne(direct, u)) {
      for (; u < first_.sections() && !stopped_; ++u) {
        tryOne(u, 0, direct, inputWeight);
      }
    }
    undoOnes(mark);
  }

  bool parallel_;
  ConstituentTables first_;
  ConstituentTables second_;
  std::optional<ConstituentTables> firstParity_;    // the second bound's encoder 1
  std::optional<ConstituentTables> secondCharged_;  // the second bound's encoder 2
  std::int32_t maxWeight_;
  std::vector<std::int32_t> inverse_;     // position in the second code's frame of each bit
  std::vector<std::int32_t> sentBefore_;  // serial: outer bits sent before section t
  std::vector<std::int32_t> ones_;        // sorted
  std::vector<std::int32_t> emitted_;     // in the order inserted, for undoing
  std::uint64_t candidates_ = 0;
  bool stopped_ = false;
  std::function<bool(std::uint64_t)> stopCheck_;
  GivenSpectrum spectrum_;
};

// The first-one positions of the estimate: evenly spread over the frame.
std::vector<std::int32_t> samplePositions(std::int32_t sections) {
  const std::int32_t count = std::min(sections, kEstimateSamples);
  std::vector<std::int32_t> positions;
  for (std::int32_t i = 0; i < count; ++i) {
    positions.push_back(static_cast<std::int32_t>(
        (static_cast<std::int64_t>(2 * i + 1) * sections) / (2 * std::int64_t{count})));
  }
  return positions;
}

double secondsSince(std::chrono::steady_clock::time_point start) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

}  // namespace

DistanceSearchEstimate estimateGivenInterleaverSearch(const GivenInterleaverCode& code,
                                                      std::int32_t maxWeight,
                                                      const DistanceSearchLimits& limits) {
  DistanceSearchEstimate estimate;
  if (!givenCodeProblem(code).empty()) {
    return estimate;
  }
  const auto start = std::chrono::steady_clock::now();
  GivenInterleaverSearcher searcher(code, maxWeight);
  const std::vector<std::int32_t> positions = samplePositions(searcher.sections());
  const double scale =
      static_cast<double>(searcher.sections()) / static_cast<double>(positions.size());
  // The sample alone passing its share of the limit already settles the answer.
  const double sampleLimit = static_cast<double>(limits.maxCandidates) / scale;
  searcher.setStopCheck(
      [&](std::uint64_t candidates) { return static_cast<double>(candidates) > sampleLimit; });
  for (const std::int32_t position : positions) {
    searcher.searchFirstOne(position);
    if (searcher.stopped()) {
      break;
    }
  }
  estimate.overLimit = searcher.stopped();
  estimate.candidates =
      static_cast<std::uint64_t>(static_cast<double>(searcher.candidates()) * scale);
  estimate.seconds = secondsSince(start) * scale;
  return estimate;
}

DistanceSearchResult searchGivenInterleaver(const GivenInterleaverCode& code,
                                            std::int32_t maxWeight,
                                            const DistanceSearchLimits& limits,
                                            const RunContext& context) {
  DistanceSearchResult result;
  result.message = givenCodeProblem(code);
  if (!result.message.empty()) {
    result.outcome = DistanceSearchOutcome::InvalidCode;
    return result;
  }
  const DistanceSearchEstimate estimate = estimateGivenInterleaverSearch(code, maxWeight, limits);
  result.estimatedCandidates = estimate.candidates;
  if (estimate.overLimit || estimate.candidates > limits.maxCandidates) {
    result.outcome = DistanceSearchOutcome::OverLimit;
    result.message = "the search would examine more than " + std::to_string(limits.maxCandidates) +
                     " candidates";
    return result;
  }
  GivenInterleaverSearcher searcher(code, maxWeight);
  bool cancelled = false;
  searcher.setStopCheck([&](std::uint64_t candidates) {
    cancelled = context.cancelRequested();
    return cancelled || candidates > limits.maxCandidates;
  });
  ProgressReport progress(context);
  progress.start();
  const std::int32_t sections = searcher.sections();
  for (std::int32_t first = 0; first < sections && !searcher.stopped(); ++first) {
    searcher.searchFirstOne(first);
    if (!searcher.stopped()) {
      progress.step(sections - first - 1);
    }
  }
  result.candidates = searcher.candidates();
  result.spectrum = std::move(searcher.spectrum());
  if (searcher.stopped()) {
    result.outcome =
        cancelled ? DistanceSearchOutcome::Cancelled : DistanceSearchOutcome::OverLimit;
    result.message =
        cancelled ? "cancelled"
                  : "the search passed " + std::to_string(limits.maxCandidates) + " candidates";
    return result;
  }
  progress.finish();
  return result;
}

}  // namespace brevandor
