#pragma once

#include <cstdio>
#include <vector>

#include "report/run_record.h"

namespace brevandor {

// The error-floor estimates beside the section's spectrum: at each Eb/N0 point, the union
// bound (Q function) over d ≤ D of the given permutation and of the uniform-interleaver
// average.
struct GivenErrorFloorTable {
  std::vector<double> ebn0Db;
  std::vector<long double> given;
  std::vector<long double> average;
  // The natural logs of the same values, which print those below the range of a double.
  std::vector<long double> logGiven;
  std::vector<long double> logAverage;
};

// The section "Distance Spectrum of the Given Interleaver": the permutation, d, the exact
// A_d and B_d of every weight d ≤ D that holds codewords, d_min with its multiplicity, and
// the error-floor estimates.
void printGivenInterleaverSection(std::FILE* file, const RecordGivenInterleaver& given,
                                  const GivenErrorFloorTable& estimates);

}  // namespace brevandor
