#include <algorithm>
#include <string>
#include <vector>

#include "report/results_report.h"
#include "turbo/concatenation_type.h"

namespace brevandor {

namespace {

void printPattern(std::FILE* file, const char* which, const PuncturePattern& pattern,
                  const std::vector<std::string>& rowNames) {
  if (pattern.empty() || !pattern.puncturesAny()) {
    return;
  }
  std::string names;
  for (const std::string& name : rowNames) {
    names += (names.empty() ? "" : ",") + name;
  }
  std::fprintf(file, "\n %sPuncturing Pattern ( %s ) : %s ", which, names.c_str(),
               pattern.text().c_str());
}

// The parity outputs of constituent c (1 where its code is missing).
std::int32_t parityOutputs(const TurboCode& turbo, std::int32_t c) {
  const ConvCode* code = turbo.codes[static_cast<std::size_t>(c)];
  return code == nullptr ? 1 : parityOutputCount(code->description);
}

}  // namespace

void printPuncturing(std::FILE* file, const TurboCode& turbo) {
  if (!turbo.isPunctured()) {
    return;
  }
  if (turbo.concatenationType == ConcatenationType::Parallel) {
    std::vector<std::int32_t> counts;
    for (std::int32_t c = 0; c < turbo.constituentCount && c < TurboCode::kMaxConstituents; ++c) {
      counts.push_back(parityOutputs(turbo, c));
    }
    printPattern(file, "", turbo.puncturing.parallel, parallelPatternRows(counts));
  } else {
    const std::int32_t inner = std::min(turbo.constituentCount, TurboCode::kMaxConstituents) - 1;
    printPattern(file, "Outer ", turbo.puncturing.outer,
                 serialPatternRows(parityOutputs(turbo, 0)));
    printPattern(file, "Inner ", turbo.puncturing.inner,
                 serialPatternRows(parityOutputs(turbo, inner)));
  }
  std::fprintf(file, "\n *NOTE : The bit of section t is sent where its row holds 1 at position");
  std::fprintf(file, turbo.tailRule.punctureTail
                         ? "\n         ( t mod period ); tail sections continue the pattern\n"
                         : "\n         ( t mod period ); tail bits are never punctured\n");
}

}  // namespace brevandor
