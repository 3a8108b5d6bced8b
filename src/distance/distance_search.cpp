#include "distance/distance_search.h"

#include <algorithm>
#include <bit>
#include <chrono>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "distance/constituent_tables.h"
#include "distance/forced_ones_chain.h"
#include "progress/progress_report.h"

namespace brevandor {

namespace {

// How many candidates pass between two looks at the cancel flag and the limit.
constexpr std::uint64_t kCheckInterval = 1u << 14;
// First-one positions whose subtrees the estimate searches.
constexpr std::int32_t kEstimateSamples = 48;

// One encoder that reads its input in permuted order (encoder 2, 3, … of a PCCC, or the inner
// code of an SCCC): its tables, where each bit of the permuted sequence lands in its frame,
// and its known ones. With the charged form on (see GivenInterleaverSearcher) it keeps a
// second chain over tables that charge every free 1.
struct PermutedEncoder {
  PermutedEncoder(const WeightedConstituent& constituent,
                  const std::vector<std::int32_t>& permutation, bool charged)
      : tables(constituent), ones(tables), inverse(permutation.size()) {
    if (charged) {
      chargedTables.emplace(constituent, +1);
      chargedOnes.emplace(*chargedTables);
    }
    for (std::size_t j = 0; j < permutation.size(); ++j) {
      inverse[static_cast<std::size_t>(permutation[j])] = static_cast<std::int32_t>(j);
    }
  }
  PermutedEncoder(const PermutedEncoder&) = delete;
  PermutedEncoder& operator=(const PermutedEncoder&) = delete;

  std::int32_t place(std::int32_t index) const { return inverse[static_cast<std::size_t>(index)]; }

  ConstituentTables tables;
  ForcedOnesChain ones;
  std::optional<ConstituentTables> chargedTables;
  std::optional<ForcedOnesChain> chargedOnes;
  std::vector<std::int32_t> inverse;  // position in this encoder's frame of each bit
};

// The permuted encoders' part of a bound: the sum of their forced-ones bounds, and the same
// with the largest gain of one encoder's charged form (used beside encoder 1's rest without
// the systematic bits).
struct LaterBound {
  std::int32_t plain = 0;
  std::int32_t charged = 0;
};

// The depth-first search. A node is a prefix of the input word: its first t bits are fixed,
// the first code is in `state` at section t, its (parallel) weight so far is `direct`, and
// each permuted encoder's input is known to be 1 at some positions. The node's lower bound on
// the weight of every word below it is the first code's weight so far plus the least it can
// still add, plus each permuted encoder's least weight through its known ones; a node whose
// bound passes D has no word of weight ≤ D below it, so it is not entered. Each word has
// exactly one path (its ones in order), so each is counted once.
//
// Parallel codes with a systematic bit that is always sent get a second bound as well, with
// the future ones' systematic weight moved from encoder 1 to one permuted encoder k: encoder
// 1's rest is counted without it, and encoder k pays 1 for every 1 it places freely (each will
// be an input 1 of encoder 1 as well; the others are counted as they are). A permuted encoder
// alone can otherwise null its parity with free ones almost everywhere, which leaves the first
// bound weak. The largest of these bounds is used.
class GivenInterleaverSearcher {
 public:
  GivenInterleaverSearcher(const GivenInterleaverCode& code, std::int32_t maxWeight)
      : parallel_(code.concatenation == GivenConcatenation::Parallel),
        charged_(parallel_ && sendsEverySystematicBit(code)),
        first_(code.first),
        maxWeight_(maxWeight) {
    if (charged_) {
      firstParity_.emplace(code.first, -1);
    }
    encoders_.push_back(std::make_unique<PermutedEncoder>(code.second, code.permutation, charged_));
    for (const FurtherEncoder& further : code.further) {
      encoders_.push_back(
          std::make_unique<PermutedEncoder>(further.constituent, further.permutation, charged_));
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

  // Whether encoder 1 counts every input bit once and the permuted encoders count parity only.
  static bool sendsEverySystematicBit(const GivenInterleaverCode& code) {
    if (!code.first.countsInputBits || code.second.countsInputBits) {
      return false;
    }
    for (const FurtherEncoder& further : code.further) {
      if (further.constituent.countsInputBits) {
        return false;
      }
    }
    const auto systematicBit = 1u << (code.first.code->n - 1);
    for (const std::uint32_t mask : code.first.puncturing.masks) {
      if ((mask & systematicBit) == 0) {
        return false;
      }
    }
    return isSystematic(code.first.code->kind);
  }

  // The permuted encoders' part from bounds P_k and charged bounds C_k, read by `plain` and
  // `charged` from each encoder.
  template <typename Plain, typename Charged>
  LaterBound laterBound(Plain plain, Charged charged) const {
    LaterBound bound;
    std::int32_t gain = 0;
    for (const auto& encoder : encoders_) {
      const std::int32_t p = plain(*encoder);
      bound.plain += p;
      if (charged_) {
        gain = std::max(gain, charged(*encoder) - p);
      }
    }
    bound.charged = bound.plain + gain;
    return bound;
  }
  // Through the known ones.
  LaterBound knownLater() const {
    return laterBound([](const PermutedEncoder& e) { return e.ones.bound(); },
                      [](const PermutedEncoder& e) { return e.chargedOnes->bound(); });
  }
  // Whether the child with a further 1 at input section t (parallel) passes D, from encoder 1's
  // weight with that 1 and its least rest in each form. The same bounds as knownLater() with
  // the 1 added, read in an order that usually settles the answer after one chain: encoder 2's
  // charged form (mostly the strongest) first, the plain form next, the others' charged forms
  // last.
  bool childOverBudget(std::int32_t t, std::int32_t direct, std::int32_t rest,
                       std::int32_t parityRest) const {
    std::int32_t others = 0;  // Σ P_k over the encoders after encoder 2
    for (std::size_t k = 1; k < encoders_.size(); ++k) {
      others += encoders_[k]->ones.boundWith(encoders_[k]->place(t));
    }
    const PermutedEncoder& second = *encoders_.front();
    if (charged_ &&
        overBudget(direct + parityRest + others + second.chargedOnes->boundWith(second.place(t)))) {
      return true;
    }
    const std::int32_t secondPlain = second.ones.boundWith(second.place(t));
    if (overBudget(direct + rest + secondPlain + others)) {
      return true;
    }
    for (std::size_t k = 1; charged_ && k < encoders_.size(); ++k) {
      const PermutedEncoder& encoder = *encoders_[k];
      const std::int32_t gain = encoder.chargedOnes->boundWith(encoder.place(t)) -
                                encoder.ones.boundWith(encoder.place(t));
      if (overBudget(direct + parityRest + secondPlain + others + gain)) {
        return true;
      }
    }
    return false;
  }
  // The permuted encoders' bound of the node, for the zero runs below it.
  std::int32_t knownBound() const {
    const LaterBound later = knownLater();
    return std::max(later.plain, later.charged);
  }
  // The bound of a node from encoder 1's weight so far and its least rest in each form.
  std::int32_t combined(std::int32_t direct, std::int32_t rest, std::int32_t parityRest,
                        const LaterBound& later) const {
    const std::int32_t plain = direct + rest + later.plain;
    return charged_ ? std::max(plain, direct + parityRest + later.charged) : plain;
  }
  // Whether a further 1 from state 0 at section t is affordable.
  bool affordsNewOne(std::int32_t direct, std::int32_t t) const {
    if (!parallel_) {
      return !overBudget(encoders_.front()->ones.bound());
    }
    return !overBudget(combined(direct, first_.oneFromZeroToEnd(t),
                                charged_ ? firstParity_->oneFromZeroToEnd(t) : 0, knownLater()));
  }

  // Marks the bit `index` of the permuted sequence (the input section, or the outer codeword's
  // bit) as a 1 in every permuted encoder.
  void emit(std::int32_t index) {
    for (const auto& encoder : encoders_) {
      encoder->ones.push(encoder->place(index));
      if (encoder->chargedOnes) {
        encoder->chargedOnes->push(encoder->place(index));
      }
    }
  }
  std::size_t mark() const { return encoders_.front()->ones.depth(); }
  void undoTo(std::size_t depth) {
    for (const auto& encoder : encoders_) {
      encoder->ones.popTo(depth);
      if (encoder->chargedOnes) {
        encoder->chargedOnes->popTo(depth);
      }
    }
  }

  // Serial: the inner code's ones that the outer branch (section t, state, input) sends, the
  // systematic bit first.
  void emitBranch(std::int32_t t, std::int32_t state, std::int32_t input) {
    const auto word = static_cast<std::uint32_t>(first_.output(state, input)) & first_.sentBits(t);
    std::int32_t index = sentBefore_[static_cast<std::size_t>(t)];
    for (std::int32_t bit = first_.outputBits() - 1; bit >= 0; --bit) {
      if (((first_.sentBits(t) >> bit) & 1u) == 0) {
        continue;
      }
      if (((word >> bit) & 1u) != 0) {
        emit(index);
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
          emit(index);
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
      std::int32_t weight = direct + first_.zeroToEnd(t, state);
      for (const auto& encoder : encoders_) {
        weight += encoder->tables.exactWeight(encoder->ones.ones());
      }
      if (!overBudget(weight)) {
        record(weight, inputWeight);
      }
      return;
    }
    // Serial: the outer zero run still sends ones until its state returns to 0; every one
    // can only raise the inner bound, so the run stops as soon as the bound passes D.
    const PermutedEncoder& inner = *encoders_.front();
    const std::size_t before = mark();
    bool cut = false;
    for (std::int32_t u = t; u < first_.sections() && state != 0 && !cut; ++u) {
      const std::size_t sent = mark();
      emitBranch(u, state, 0);
      state = first_.next(state, 0);
      cut = mark() != sent && overBudget(inner.ones.bound());
    }
    if (!cut) {
      emitTail(state);
      const std::int32_t weight = inner.tables.exactWeight(inner.ones.ones());
      if (!overBudget(weight)) {
        record(weight, inputWeight);
      }
    }
    undoTo(before);
  }

  // The child with its next 1 at section t, reached from `state` after a run of zeros.
  void tryOne(std::int32_t t, std::int32_t state, std::int32_t direct, std::int32_t inputWeight) {
    countCandidate();
    const std::int32_t next = first_.next(state, 1);
    if (parallel_) {
      // The child's bound with the new 1 is read from the chains before any is changed.
      const std::int32_t childDirect = direct + first_.weight(t, state, 1);
      if (!childOverBudget(t, childDirect, first_.freeToEnd(t + 1, next),
                           charged_ ? firstParity_->freeToEnd(t + 1, next) : 0)) {
        const std::size_t before = mark();
        emit(t);
        explore(t + 1, next, childDirect, inputWeight + 1, knownBound());
        undoTo(before);
      }
      return;
    }
    const std::size_t before = mark();
    emitBranch(t, state, 1);
    const std::int32_t bound = encoders_.front()->ones.bound();
    if (!overBudget(bound)) {
      explore(t + 1, next, 0, inputWeight + 1, bound);
    }
    undoTo(before);
  }

  void explore(std::int32_t t, std::int32_t state, std::int32_t direct, std::int32_t inputWeight,
               std::int32_t knownLaterBound) {
    if (stopped_) {
      return;
    }
    finishWithZeros(t, state, direct, inputWeight);
    const std::size_t before = mark();
    // Zeros from a state other than 0 cost weight (parallel) or send ones (serial); the run
    // grows the bound monotonically, so the first run length over budget ends the loop.
    std::int32_t u = t;
    for (; u < first_.sections() && state != 0 && !stopped_; ++u) {
      tryOne(u, state, direct, inputWeight);
      if (parallel_) {
        direct += first_.weight(u, state, 0);
      } else {
        const std::size_t sent = mark();
        emitBranch(u, state, 0);
        if (mark() != sent) {
          knownLaterBound = encoders_.front()->ones.bound();
        }
      }
      state = first_.next(state, 0);
      if (overBudget(direct + knownLaterBound)) {
        undoTo(before);
        return;
      }
    }
    // In state 0 zeros are free: the next 1 may come anywhere, if a 1 is affordable at all.
    if (state == 0 && u < first_.sections() && affordsNewOne(direct, u)) {
      for (; u < first_.sections() && !stopped_; ++u) {
        tryOne(u, 0, direct, inputWeight);
      }
    }
    undoTo(before);
  }

  bool parallel_;
  bool charged_;  // the second form of the bound is on
  ConstituentTables first_;
  std::optional<ConstituentTables> firstParity_;  // the second form's encoder 1
  std::vector<std::unique_ptr<PermutedEncoder>> encoders_;
  std::int32_t maxWeight_;
  std::vector<std::int32_t> sentBefore_;  // serial: outer bits sent before section t
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
  GivenInterleaverSearcher searcher(code, maxWeight);
  // The tables are built once for the search as well: only the sample's own time is scaled.
  const auto start = std::chrono::steady_clock::now();
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
  if (estimate.passes(limits)) {
    result.outcome = DistanceSearchOutcome::OverLimit;
    result.message = "the search would pass its limit of " + std::to_string(limits.maxCandidates) +
                     " candidates or its time limit";
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
