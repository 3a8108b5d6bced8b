#include "distance/given_interleaver_code.h"

#include <bit>

namespace brevandor {

namespace {

std::string constituentProblem(const WeightedConstituent& constituent, std::string_view name) {
  const std::string prefix = std::string(name) + ": ";
  if (constituent.code == nullptr) {
    return prefix + "no code";
  }
  if (constituent.code->k != 1) {
    return prefix + "only codes of one input bit per section can be searched";
  }
  if (constituent.frameLength < 1) {
    return prefix + "an empty frame";
  }
  if (constituent.ending.tailBiting) {
    return prefix + "tail-biting frames cannot be searched";
  }
  std::vector<std::int32_t> tails(static_cast<std::size_t>(constituent.code->stateCount));
  if (constituent.ending.terminated && constituent.code->computeTailInputs(tails) < 0) {
    return prefix + "some state has no tail back to state 0";
  }
  return {};
}

std::string permutationProblem(const std::vector<std::int32_t>& permutation,
                               std::int32_t expected) {
  if (std::ssize(permutation) != expected) {
    return "the interleaver has " + std::to_string(permutation.size()) +
           " entries, the frame needs " + std::to_string(expected);
  }
  std::vector<bool> seen(permutation.size(), false);
  for (const std::int32_t entry : permutation) {
    if (entry < 0 || entry >= expected || seen[static_cast<std::size_t>(entry)]) {
      return "the interleaver is not a permutation of 0 … " + std::to_string(expected - 1);
    }
    seen[static_cast<std::size_t>(entry)] = true;
  }
  return {};
}

}  // namespace

std::uint32_t tailSentBits(const WeightedConstituent& constituent, std::int32_t tailSection) {
  const FrameEnding& ending = constituent.ending;
  if (!ending.terminated) {
    return 0;
  }
  const std::int32_t n = constituent.code->n;
  const auto allBits = static_cast<std::uint32_t>((1u << n) - 1u);
  std::uint32_t sent = ending.punctureTail ? constituent.puncturing.sentBits(
                                                 constituent.frameLength + tailSection, allBits)
                                           : allBits;
  if (!ending.sendsTailInput && isSystematic(constituent.code->kind)) {
    sent &= ~(1u << (n - 1));
  }
  return sent;
}

std::int32_t outerSentLength(const WeightedConstituent& outer) {
  const std::int32_t n = outer.code->n;
  const auto allBits = static_cast<std::uint32_t>((1u << n) - 1u);
  std::int32_t sent = 0;
  const std::int32_t period = outer.puncturing.period();
  for (std::int32_t phase = 0; phase < period && phase < outer.frameLength; ++phase) {
    const std::int32_t occurrences = (outer.frameLength - phase + period - 1) / period;
    sent += occurrences * std::popcount(outer.puncturing.sentBits(phase, allBits));
  }
  for (std::int32_t i = 0; i < outer.code->tailLength(); ++i) {
    sent += std::popcount(tailSentBits(outer, i));
  }
  return sent;
}

std::string givenCodeProblem(const GivenInterleaverCode& code) {
  for (const std::string& problem : {constituentProblem(code.first, "the first code"),
                                     constituentProblem(code.second, "the second code")}) {
    if (!problem.empty()) {
      return problem;
    }
  }
  const std::int32_t expected = code.second.frameLength;
  if (code.concatenation == GivenConcatenation::Serial && outerSentLength(code.first) != expected) {
    return "the inner frame must be as long as the outer codeword";
  }
  if (code.concatenation == GivenConcatenation::Serial && !code.further.empty()) {
    return "a serial concatenation has two constituents";
  }
  if (std::string problem = permutationProblem(code.permutation, expected); !problem.empty()) {
    return problem;
  }
  for (const FurtherEncoder& further : code.further) {
    if (std::string problem = constituentProblem(further.constituent, "a further code");
        !problem.empty()) {
      return problem;
    }
    if (further.constituent.frameLength != code.first.frameLength) {
      return "a further encoder must read the whole input frame";
    }
    if (std::string problem = permutationProblem(further.permutation, expected); !problem.empty()) {
      return problem;
    }
  }
  return {};
}

}  // namespace brevandor
