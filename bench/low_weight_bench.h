#pragma once

#include <vector>

namespace brevandor::bench {

// Low-weight mode side by side: its CWEF on the reference and the fast engine, and, for
// frames the whole spectrum can do, a whole low-weight run against a whole run of the full
// spectrum. Prints one markdown table; `timed` gives the fast timings as medians.
void printLowWeightTable(const std::vector<int>& frameLengths, int threads, int repeat);

}  // namespace brevandor::bench
