#include <algorithm>
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

// The weight each state's tail sends under a tail rule: the tail path from the state (its
// zeroing inputs) walked section by section, each section's bits thinned by the pattern at
// its place t = N, N + 1, … when the rule says so, the input bits counted only where sent.
void ruledTailWeights(const WeightEnumerator& enumerator, const ConvCode& code,
                      std::span<std::int32_t> tailWeights) {
  std::vector<std::int32_t> inputs(static_cast<std::size_t>(code.stateCount), 0);
  const std::int32_t sections = code.computeTailInputs(inputs);
  const auto allBits = static_cast<std::uint32_t>((std::uint64_t{1} << code.n) - 1);
  const std::uint32_t inputBits = systematicBits(code);
  const std::int64_t first = code.sectionCount(enumerator.frameLength);
  const std::int32_t inputMask = (1 << code.k) - 1;
  for (std::int32_t x = 0; x < code.stateCount; ++x) {
    std::int32_t state = x;
    std::int32_t weight = 0;
    for (std::int32_t j = 0; j < sections; ++j) {
      const std::int32_t u = (inputs[static_cast<std::size_t>(x)] >> (j * code.k)) & inputMask;
      const TrellisBranch& branch = code.forwardTrellis.row(state)[static_cast<std::size_t>(u)];
      const std::uint32_t sent =
          static_cast<std::uint32_t>(branch.output) &
          (enumerator.ending.punctureTail ? enumerator.puncturing.sentBits(first + j, allBits)
                                          : allBits);
      weight += popCount(sent & ~inputBits) +
                (enumerator.ending.sendsTailInput ? popCount(sent & inputBits) : 0);
      state = branch.state;
    }
    tailWeights[static_cast<std::size_t>(x)] = weight;
  }
}

}  // namespace

void WeightEnumerator::computeTailWeights(const ConvCode& code, std::span<std::int32_t> tailWeights,
                                          const RunContext& context) const {
  if (!ending.terminated) {
    std::fill(tailWeights.begin(), tailWeights.end(), 0);  // open: the path ends where it is
    return;
  }
  if (!ending.sendsWholeTail()) {
    ruledTailWeights(*this, code, tailWeights);
    return;
  }
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
