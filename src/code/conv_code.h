#pragma once

#include <cstdint>
#include <span>

#include "code/code_description.h"
#include "code/trellis.h"

namespace brevandor {

// One rate-k/n convolutional code with its forward and reverse trellis. Read-only once built.
class ConvCode {
 public:
  explicit ConvCode(const CodeDescription& description);

  CodeDescription description;  // the code's own copy of what it was built from
  std::int32_t kind = 0;
  std::int32_t k = 0;
  std::int32_t n = 0;
  std::int32_t registerLength = 0;  // K
  std::int32_t stateCount = 0;      // S = 2^(K − k)
  Trellis forwardTrellis;
  Trellis reverseTrellis;

  // Trellis sections of a frame of `frameLength` input bits.
  std::int32_t sectionCount(std::int32_t frameLength) const { return frameLength / k; }
  // Output bits of a frame, the tail sections that return the encoder to state 0 included.
  std::int32_t outputLength(std::int32_t frameLength) const {
    return (frameLength / k + registerLength / k - 1) * n;
  }
  // Output bits that are not input bits of the frame.
  std::int32_t parityLength(std::int32_t frameLength) const {
    return outputLength(frameLength) - frameLength;
  }
  // Number of tail sections.
  std::int32_t tailLength() const { return registerLength / k - 1; }

  // The input bits that drive each state to state 0 in K − 1 sections, the first section's
  // bits lowest. Fills `tails` (S entries) and returns the number of tail sections, or −1
  // (leaving `tails` unchanged) when some state has no such path.
  std::int32_t computeTailInputs(std::span<std::int32_t> tails) const;
};

}  // namespace brevandor
