#include <bit>

#include "enumerators/weight_enumerator.h"

namespace brevandor {

std::int32_t popCount(std::uint32_t word) {
  return std::popcount(word);
}

namespace {

// A branch's output weight: v, the weight of its output bits in `sent`, or v − u.
std::int32_t outputWeightOf(const TrellisBranch& branch, bool countsInputBits, std::uint32_t sent) {
  const std::int32_t v = popCount(static_cast<std::uint32_t>(branch.output) & sent);
  return countsInputBits ? v : v - popCount(branch.input);
}

// Writes one entry per trellis branch: [next state][state] = (u, v or v − u, multiplicity),
// v counting the output bits in `sent`.
void fillFromTrellis(TransitionMatrix& matrix, const ConvCode& code, bool countsInputBits,
                     std::int32_t existing, std::uint32_t sent = ~std::uint32_t{0}) {
  for (std::int32_t state = 0; state < code.stateCount; ++state) {
    for (const TrellisBranch& branch : code.forwardTrellis.row(state)) {
      matrix.at(branch.state, state) = TransitionWeight{
          popCount(branch.input), outputWeightOf(branch, countsInputBits, sent), existing};
    }
  }
}

}  // namespace

void WeightEnumerator::computeTransferMatrix(const ConvCode& code) {
  transferMatrix.fill(TransitionWeight{0, 0, 0});
  fillFromTrellis(transferMatrix, code, countsInputBits != 0, 1);
}

void WeightEnumerator::computeLogTransferMatrix(const ConvCode& code) {
  logTransferMatrix.fill(TransitionWeight{0, 0, kLogZeroInt});
  fillFromTrellis(logTransferMatrix, code, countsInputBits != 0, 0);
}

std::int32_t WeightEnumerator::sectionBranchWeight(const TrellisBranch& branch,
                                                   std::int32_t phase) const {
  return outputWeightOf(branch, countsInputBits != 0,
                        puncturing.sentBits(phase, ~std::uint32_t{0}));
}

TransitionMatrix WeightEnumerator::sectionLogTransferMatrix(const ConvCode& code,
                                                            std::int32_t phase) const {
  TransitionMatrix matrix(code.stateCount);
  matrix.fill(TransitionWeight{0, 0, kLogZeroInt});
  fillFromTrellis(matrix, code, countsInputBits != 0, 0,
                  puncturing.sentBits(phase, ~std::uint32_t{0}));
  return matrix;
}

}  // namespace brevandor
