#include <bit>

#include "enumerators/weight_enumerator.h"

namespace brevandor {

std::int32_t popCount(std::uint32_t word) { return std::popcount(word); }

namespace {

// Writes one entry per trellis branch: [next state][state] = (u, v or v − u, multiplicity).
void fillFromTrellis(TransitionMatrix& matrix, const ConvCode& code, bool countsInputBits,
                     std::int32_t existing) {
  for (std::int32_t state = 0; state < code.stateCount; ++state) {
    for (const TrellisBranch& branch : code.forwardTrellis.row(state)) {
      const std::int32_t u = popCount(branch.input);
      const std::int32_t v = popCount(static_cast<std::uint32_t>(branch.output));
      matrix.at(branch.state, state) = TransitionWeight{u, countsInputBits ? v : v - u, existing};
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

}  // namespace brevandor
