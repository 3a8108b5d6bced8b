#pragma once

#include <span>

namespace brevandor {

// Where a spectrum stage writes the average spectrum, both indexed by codeword weight d and in
// the log10 domain: A_d, the codewords of weight d, and B_d, those words each weighted by its
// share w / N of erroneous input bits.
struct SpectrumOutput {
  std::span<double> codeword;  // log10 A_d
  std::span<double> weighted;  // log10 B_d
};

}  // namespace brevandor
