#include <array>
#include <string>

#include "report/results_report.h"
#include "turbo/concatenation_type.h"

namespace brevandor {

namespace {

template <std::size_t Rows>
void printPattern(std::FILE* file, const char* which, const PuncturePattern& pattern,
                  const std::array<std::string_view, Rows>& rowNames) {
  if (pattern.empty() || !pattern.puncturesAny()) {
    return;
  }
  std::string names;
  for (const std::string_view name : rowNames) {
    names += (names.empty() ? "" : ",") + std::string(name);
  }
  std::fprintf(file, "\n %sPuncturing Pattern ( %s ) : %s ", which, names.c_str(),
               pattern.text().c_str());
}

}  // namespace

void printPuncturing(std::FILE* file, const TurboCode& turbo) {
  if (!turbo.isPunctured()) {
    return;
  }
  if (turbo.concatenationType == Parallel) {
    printPattern(file, "", turbo.puncturing.parallel, kParallelPatternRows);
  } else {
    printPattern(file, "Outer ", turbo.puncturing.outer, kSerialPatternRows);
    printPattern(file, "Inner ", turbo.puncturing.inner, kSerialPatternRows);
  }
  std::fprintf(file, "\n *NOTE : The bit of section t is sent where its row holds 1 at position");
  std::fprintf(file, "\n         ( t mod period ); tail bits are never punctured\n");
}

}  // namespace brevandor
