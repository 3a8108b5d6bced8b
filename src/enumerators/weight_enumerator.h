#pragma once

#include <cstdint>
#include <span>
#include <type_traits>
#include <vector>

#include "code/conv_code.h"
#include "code/puncture_pattern.h"
#include "code/termination.h"
#include "enumerators/log_table.h"
#include "logmath/table_precision.h"
#include "progress/run_context.h"
#include "progress/stage_result.h"

namespace brevandor {

// The weights of one transition (or path) between two trellis states.
struct TransitionWeight {
  std::int32_t inputWeight = 0;
  std::int32_t outputWeight = 0;  // all output bits, or parity bits only (countsInputBits)
  // Linear matrix: number of paths (0 or 1). Log matrix: log10 of it, 0 or −308.
  std::int32_t multiplicity = 0;

  friend bool operator==(const TransitionWeight&, const TransitionWeight&) = default;
};

inline constexpr std::int32_t kLogZeroInt = -308;

// S × S transition weights indexed [to-state][from-state].
class TransitionMatrix {
 public:
  TransitionMatrix() = default;
  explicit TransitionMatrix(std::int32_t states)
      : states_(states), entries_(static_cast<std::size_t>(states) * states) {}

  bool exists() const { return states_ > 0; }
  std::int32_t states() const { return states_; }
  TransitionWeight& at(std::int32_t to, std::int32_t from) {
    return entries_[static_cast<std::size_t>(to) * states_ + from];
  }
  const TransitionWeight& at(std::int32_t to, std::int32_t from) const {
    return entries_[static_cast<std::size_t>(to) * states_ + from];
  }
  std::span<const TransitionWeight> entries() const { return entries_; }
  void fill(TransitionWeight value) { entries_.assign(entries_.size(), value); }
  void release() {
    entries_ = {};
    states_ = 0;
  }

 private:
  std::int32_t states_ = 0;
  std::vector<TransitionWeight> entries_;
};

// The weight structure of one constituent code for one frame: its transfer matrix and its
// conditional weight enumerating function (CWEF), held as single-precision log10 counts
// (or double-precision ones, `cwefDouble` and `layersDouble`, when `precision` says so).
// The turbo-code configuration sets the first three fields; the run creates and frees the
// tables in a fixed order through the operations below.
class WeightEnumerator {
 public:
  std::int32_t frameLength = 0;       // N, input bits of this constituent's frame
  std::uint32_t countsInputBits = 0;  // 1: output weights count all n bits; 0: parity only
  std::int32_t repetitionFactor = 0;  // r > 0 marks the outer repetition code
  TablePrecision precision = TablePrecision::Single;  // which of the tables below are used
  // The output bits each section sends (none given: all). Output weights count only sent
  // bits; when input bits are not counted, every mask keeps the systematic bits, which are
  // then taken off as before.
  SectionPuncturing puncturing;
  // How the frame ends and which tail bits are sent (default: terminated, the whole tail).
  FrameEnding ending;

  TransitionMatrix transferMatrix;  // [to][from], linear multiplicities
  LogTable cwef;                    // [output weight d][input weight w]
  LogTable layers[2];               // [state][output weight][input weight], work of the CWEF
  TransitionMatrix logTransferMatrix;
  LogTableDouble cwefDouble;  // cwef and layers of double precision
  LogTableDouble layersDouble[2];

  // Rows of the result table less one: r · N for a repetition code, else outputLength(N).
  std::int32_t resultMaxWeight(const ConvCode& code) const;
  // The output-weight range D of the work layers: outputLength(N) when input bits are
  // counted, parityLength(N) otherwise.
  std::int32_t layerMaxWeight(const ConvCode& code) const;
  // Bytes of the transfer matrix and the result table.
  std::uint64_t tableBytes(const ConvCode& code) const;
  // Bytes of the two work layers.
  std::uint64_t layerBytes(const ConvCode& code) const;

  // Creates the transfer matrix (zeroed) and the result table (contents undefined).
  void allocate(const ConvCode& code);
  void release(const ConvCode& code);
  void allocateLogTransferMatrix(const ConvCode& code);
  void releaseLogTransferMatrix(const ConvCode& code);
  // Creates both work layers (contents undefined).
  void allocateLayers(const ConvCode& code);
  void releaseLayers(const ConvCode& code);
  // Copies the transfer matrix and result rows 0 … outputLength(N) into another
  // enumerator's tables, which must already be allocated.
  void copyTo(WeightEnumerator& other, const ConvCode& code) const;

  // Fills the transfer matrix from the forward trellis.
  void computeTransferMatrix(const ConvCode& code);
  // Fills the log-domain transfer matrix (multiplicity 0 or −308).
  void computeLogTransferMatrix(const ConvCode& code);
  // The log-domain transfer matrix of the sections t ≡ phase (mod the puncturing period):
  // output weights count only the bits those sections send. Without puncturing, the log
  // transfer matrix itself.
  TransitionMatrix sectionLogTransferMatrix(const ConvCode& code, std::int32_t phase) const;
  // The output weight a trellis branch adds at the sections of that phase, as the section's
  // log transfer matrix holds it.
  std::int32_t sectionBranchWeight(const TrellisBranch& branch, std::int32_t phase) const;

  // Computes the CWEF into `cwef`. Returns 0, or −1 when the run was cancelled (the result
  // table is then left as it was). Work tables are freed before it returns.
  StageEnd computeCwef(const ConvCode& code, const RunContext& context);
  // The output weight that the tail adds from each state to state 0 (S entries): every bit of
  // the tail, or the bits the ending's tail rule sends; 0 for an open frame.
  void computeTailWeights(const ConvCode& code, std::span<std::int32_t> tailWeights,
                          const RunContext& context) const;
  // Writes the repetition code's CWEF; returns r · N.
  std::int32_t computeRepetitionCwef(const ConvCode& code);

 private:
  template <typename Cell>
  void copyRows(const BasicLogTable<Cell>& from, BasicLogTable<Cell>& to,
                const ConvCode& code) const;
};

// The result table and the work layers of an enumerator whose tables hold Cell (float for
// single precision, double for double).
template <typename Cell>
BasicLogTable<Cell>& resultTable(WeightEnumerator& enumerator) {
  if constexpr (std::is_same_v<Cell, double>) {
    return enumerator.cwefDouble;
  } else {
    return enumerator.cwef;
  }
}
template <typename Cell>
const BasicLogTable<Cell>& resultTable(const WeightEnumerator& enumerator) {
  return resultTable<Cell>(const_cast<WeightEnumerator&>(enumerator));
}
template <typename Cell>
BasicLogTable<Cell>* workLayers(WeightEnumerator& enumerator) {
  if constexpr (std::is_same_v<Cell, double>) {
    return enumerator.layersDouble;
  } else {
    return enumerator.layers;
  }
}
// The largest output weight a constituent table counts for a frame of `frameLength` input
// bits: the counted bits of every section that `puncturing` sends (all output bits, or the
// parity bits when input bits are not counted) and every bit of the tail sections. Without
// puncturing, outputLength(N) or parityLength(N).
std::int32_t countedLength(const ConvCode& code, std::int32_t frameLength, bool countsInputBits,
                           const SectionPuncturing& puncturing, const FrameEnding& ending = {});

// The bits a frame's tail sends: every bit of its K − 1 sections for a whole tail, those the
// tail rule keeps otherwise, none for an open frame.
std::int32_t tailSentLength(const ConvCode& code, std::int32_t frameLength,
                            const SectionPuncturing& puncturing, const FrameEnding& ending);

// The bits of a trellis output word that repeat the input (the top k of a systematic code).
std::uint32_t systematicBits(const ConvCode& code);

// The number of 1 bits among the 32 bits of a word.
std::int32_t popCount(std::uint32_t word);

}  // namespace brevandor
