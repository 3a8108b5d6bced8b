#include "code/trellis.h"

#include <bit>

namespace brevandor {

void Trellis::createRows(std::int32_t states, std::int32_t branches) {
  stateCount = states;
  branchCount = branches;
  rows_.assign(static_cast<std::size_t>(states) * static_cast<std::size_t>(branches),
               TrellisBranch{});
}

std::int32_t parityBit(std::int32_t x, std::int32_t registerLength) {
  const auto bits = static_cast<std::uint32_t>(x) & ((1u << registerLength) - 1u);
  return std::popcount(bits) & 1;
}

std::int32_t feedbackSymbol(std::int32_t x, std::int32_t registerLength, std::int32_t k) {
  const std::int32_t groupMask = (1 << k) - 1;
  std::int32_t sum = 0;
  for (std::int32_t position = 0; position < registerLength; position += k) {
    sum += (x >> position) & groupMask;
  }
  return sum & groupMask;
}

namespace {

constexpr std::int32_t kFeedforwardMask = 0xFFFF;
constexpr int kFeedbackShift = 16;

// The output word of one branch: the input bits first for systematic kinds, then one
// parity bit per remaining generator over the register contents.
std::int32_t branchOutput(const CodeDescription& code, std::int32_t input, std::int32_t reg) {
  std::int32_t output = 0;
  std::int32_t first = 0;
  if (isSystematic(code.kind)) {
    output = input;
    first = code.k;
  }
  for (std::int32_t j = first; j < code.n; ++j) {
    output =
        2 * output + parityBit(reg & code.generators[j] & kFeedforwardMask, code.registerLength);
  }
  return output;
}

void fillReverse(const Trellis& forward, Trellis& reverse) {
  for (std::int32_t target = 0; target < forward.stateCount; ++target) {
    auto entering = reverse.row(target);
    std::size_t filled = 0;
    for (std::int32_t source = 0; source < forward.stateCount && filled < entering.size();
         ++source) {
      for (const TrellisBranch& branch : forward.row(source)) {
        if (branch.state == target && filled < entering.size()) {
          entering[filled++] = TrellisBranch{branch.input, source, branch.output};
        }
      }
    }
  }
}

}  // namespace

std::int32_t buildTrellis(const CodeDescription& code, Trellis& forward, Trellis& reverse) {
  const std::int32_t k = code.k;
  const std::int32_t registerLength = code.registerLength;
  const std::int32_t branches = 1 << k;
  const std::int32_t states = 1 << (registerLength - k);
  const std::int32_t stateMask = states - 1;
  const std::int32_t inputMask = branches - 1;

  for (Trellis* trellis : {&forward, &reverse}) {
    trellis->createRows(states, branches);
    trellis->k = k;
    trellis->n = code.n;
  }

  const std::int32_t feedback = code.generators[code.n - 1] >> kFeedbackShift;
  for (std::int32_t state = 0; state < states; ++state) {
    for (std::int32_t u = 0; u < branches; ++u) {
      const std::int32_t input = u & inputMask;
      std::int32_t reg = (state << k) | input;
      if (isRecursive(code.kind)) {
        // The register holds the feedback sequence, which includes the current input.
        const std::int32_t w = feedbackSymbol(reg & feedback, registerLength, k);
        reg = (state << k) | w;
      }
      forward.row(state)[u] = TrellisBranch{static_cast<std::uint8_t>(input), reg & stateMask,
                                            branchOutput(code, input, reg)};
    }
  }
  fillReverse(forward, reverse);
  return registerLength;
}

}  // namespace brevandor
