#pragma once

#include <string>
#include <vector>

namespace brevandor::bench {

// One measured way of adding log10 counts: its name and how many additions it makes per
// second on one thread.
struct KernelRate {
  std::string name;
  double perSecond = 0.0;
};

// The throughput of every log-add this machine runs, on rows of counts like those of a
// frame's CWEF (neighbouring log counts of magnitude `magnitude`): logAdd itself, the row
// kernels of each instruction set, and the SLEEF library's vector exp10 and log1p where
// the benchmark was built with it.
std::vector<KernelRate> measureLogAddRates(float magnitude);

// The throughput of the library's double-precision log-add built from SLEEF's exp10 and
// log1p (AVX2), or 0 when the benchmark was built without SLEEF.
double sleefLogAddRate(float magnitude);

}  // namespace brevandor::bench
