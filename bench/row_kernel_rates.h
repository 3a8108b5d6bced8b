#pragma once

#include <string>
#include <vector>

namespace brevandor::bench {

// One row kernel of one kernel set for one table precision, and the cells it handles per
// second on one thread.
struct RowKernelRate {
  std::string kernel;     // "sumPairs", "addTerms", …
  std::string set;        // "portable", "avx2", "avx512"
  std::string precision;  // "float", "double"
  double perSecond = 0.0;
};

// The rate of every row kernel of every set this processor runs, both table precisions, on
// rows of neighbouring log counts of magnitude `magnitude`. The sets are timed in turn within
// each of `rounds` rounds and each keeps its best time, so that a busy spell of the machine
// falls on all of them alike and the ratios between sets hold even where the rates move.
std::vector<RowKernelRate> measureRowKernelRates(float magnitude, int rounds);

}  // namespace brevandor::bench
