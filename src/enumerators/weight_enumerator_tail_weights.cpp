#include <cstdint>
#include <vector>

#include "enumerators/weight_enumerator.h"

namespace brevandor {

namespace {

constexpr const char* kSecondTailPathText = " -- Error Occured in Computing D";

using TailRow = std::vector<TransitionWeight>;

// Lengthens every tail by one section at its start: state x reaches state 0 through the
// branch x → i followed by the tail that `shorter` holds for i. Each state has at most one
// tail of a given length; a second one is reported and the first kept.
void prependSection(const TransitionMatrix& matrix, const TailRow& shorter, TailRow& longer,
                    const RunContext& context) {
  const auto states = static_cast<std::int32_t>(shorter.size());
  longer.assign(shorter.size(), TransitionWeight{0, 0, 0});
  for (std::int32_t x = 0; x < states; ++x) {
    for (std::int32_t i = 0; i < states; ++i) {
      const TransitionWeight& branch = matrix.at(i, x);
      const TransitionWeight& tail = shorter[static_cast<std::size_t>(i)];
      if (branch.multiplicity == 0 || tail.multiplicity == 0) {
        continue;
      }
      TransitionWeight& path = longer[static_cast<std::size_t>(x)];
      if (path.multiplicity != 0) {
        context.postLogLine(kSecondTailPathText);
        continue;
      }
      path = TransitionWeight{tail.inputWeight + branch.inputWeight,
                              tail.outputWeight + branch.outputWeight,
                              branch.multiplicity * tail.multiplicity};
    }
  }
}

}  // namespace

void WeightEnumerator::computeTailWeights(const ConvCode& code, std::span<std::int32_t> tailWeights,
                                          const RunContext& context) const {
  const std::int32_t states = code.stateCount;
  const std::int32_t tailSections = code.registerLength / code.k - 1;
  TailRow rows[2] = {TailRow(static_cast<std::size_t>(states)),
                     TailRow(static_cast<std::size_t>(states))};

  // Tails of one section: the single branch from each state into state 0, if any.
  for (std::int32_t x = 0; x < states; ++x) {
    rows[0][static_cast<std::size_t>(x)] = transferMatrix.at(0, x);
  }
  std::int32_t last = 0;
  for (std::int32_t j = 1; j <= tailSections - 1; ++j) {
    last = j % 2;
    prependSection(transferMatrix, rows[1 - last], rows[last], context);
  }

  // The tail's input bits are code bits like its parity bits: when the table counts parity
  // only, they are added back, so the tail always contributes all n bits of each section.
  for (std::int32_t x = 0; x < states; ++x) {
    const TransitionWeight& tail = rows[last][static_cast<std::size_t>(x)];
    tailWeights[static_cast<std::size_t>(x)] =
        countsInputBits != 0 ? tail.outputWeight : tail.outputWeight + tail.inputWeight;
  }
}

}  // namespace brevandor
