#pragma once

#include <cstdint>

#include "code/conv_code.h"
#include "enumerators/weight_enumerator.h"
#include "progress/run_context.h"

namespace brevandor {

// The part of a constituent's CWEF that the low-weight mode computes: the cells that can add
// to a turbo codeword of weight at most a limit D. Every cell kept holds what the full CWEF
// holds there, since a path only ever gains weight and the recursion never reads a dropped
// cell to make a kept one.
struct LowWeightCut {
  std::int32_t maxOutputWeight = 0;  // last row: the counted output weight
  std::int32_t maxInputWeight = 0;   // last column: the input weight
  // Where the table counts parity bits only, the input bits are part of every codeword
  // weight as well: cell (p, w) is kept only while p + w ≤ codewordLimit. −1: no such rule.
  std::int32_t codewordLimit = -1;

  // The last input weight kept in row `outputWeight` (below 0: none).
  std::int32_t lastInputWeight(std::int32_t outputWeight) const {
    if (codewordLimit < 0) {
      return maxInputWeight;
    }
    const std::int32_t left = codewordLimit - outputWeight;
    return left < maxInputWeight ? left : maxInputWeight;
  }
  bool keeps(std::int32_t outputWeight, std::int32_t inputWeight) const {
    return outputWeight >= 0 && outputWeight <= maxOutputWeight &&
           inputWeight <= lastInputWeight(outputWeight);
  }
};

// The cut of a configured enumerator for codewords of weight at most `maxWeight`. A
// systematic code sends its input bits, so its input weight never passes the codeword
// weight; a code without them (the inner code behind the repetition code) can reach a low
// output weight from any input weight, and keeps every input weight of its frame.
LowWeightCut lowWeightCut(const WeightEnumerator& enumerator, const ConvCode& code,
                          std::int32_t maxWeight);

// Bytes of the transfer matrix and the cut result table, in the tables' precision.
std::uint64_t lowWeightTableBytes(const ConvCode& code, const LowWeightCut& cut,
                                  TablePrecision precision = TablePrecision::Single);
// Bytes of the work storage that computeLowWeightCwef holds while it runs; a tail-biting
// frame also holds the sum over its start states.
std::uint64_t lowWeightWorkBytes(const ConvCode& code, const LowWeightCut& cut,
                                 TablePrecision precision = TablePrecision::Single,
                                 bool tailBiting = false);

// Creates the transfer matrix (zeroed) and the cut table (`cwef`, or `cwefDouble` for double
// precision), rows 0 … maxOutputWeight and columns 0 … maxInputWeight (contents undefined).
// `release` frees both.
void allocateLowWeightTables(WeightEnumerator& enumerator, const ConvCode& code,
                             const LowWeightCut& cut);

// Copies the cut table and the transfer matrix into another enumerator (which gets tables of
// the same shape and precision): the second parallel constituent shares the first one's code
// and frame.
void copyLowWeightTables(const WeightEnumerator& from, WeightEnumerator& to);

// Computes the cut CWEF into its table (allocated by allocateLowWeightTables, transfer matrix
// computed); the cells outside the cut hold LogZero. A tail-biting frame's table is the trace
// over its start states, one recursion each. Ends Completed, or Cancelled when the run was
// cancelled. Runs the engine that `context.engine` names.
StageEnd computeLowWeightCwef(WeightEnumerator& enumerator, const ConvCode& code,
                              const LowWeightCut& cut, const RunContext& context);

// The plain transcription: the full recursion on two layers of the cut's size, every cell
// of the cut visited at every section.
StageEnd computeLowWeightCwefReference(WeightEnumerator& enumerator, const ConvCode& code,
                                       const LowWeightCut& cut, const RunContext& context);

// The same additions into every cell in the same order, on the cells that can hold a count
// only (each row keeps the range of input weights reached so far), rows summed by the vector
// kernels, and wide layers shared among the worker threads. Equal to the reference bit for bit.
StageEnd computeLowWeightCwefFast(WeightEnumerator& enumerator, const ConvCode& code,
                                  const LowWeightCut& cut, const RunContext& context);

}  // namespace brevandor
