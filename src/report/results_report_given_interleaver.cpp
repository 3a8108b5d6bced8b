#include "report/results_report_given_interleaver.h"

#include <cinttypes>
#include <cmath>
#include <string>

#include "progress/printable_text.h"
#include "report/scientific_text.h"

namespace brevandor {

namespace {

void printSpectrumRows(std::FILE* file, const RecordGivenInterleaver& given) {
  std::fprintf(file, "\n     d            A_d (exact)          B_d\n");
  for (const GivenSpectrumLine& line : given.lines) {
    std::fprintf(file, "  %4d  %21" PRIu64 "   %e\n", line.weight, line.codewords,
                 line.bitMultiplicity);
  }
  if (!given.minimumDistance) {
    std::fprintf(file, "\n   No codeword of weight d <= %d.\n", given.maxWeight);
    return;
  }
  std::uint64_t multiplicity = 0;
  for (const GivenSpectrumLine& line : given.lines) {
    if (line.weight == *given.minimumDistance) {
      multiplicity = line.codewords;
    }
  }
  std::fprintf(file, "\n   d_min = %d, multiplicity A_dmin = %" PRIu64 "\n", *given.minimumDistance,
               multiplicity);
}

// "%e" of the estimate as a double where a double holds it, else the text of its power from
// its natural log (the estimates of high Eb/N0 fall far below 10^-308).
std::string estimateText(const std::vector<long double>& values,
                         const std::vector<long double>& logs, std::size_t j) {
  const auto value = static_cast<double>(values[j]);
  if (std::fpclassify(value) == FP_NORMAL || j >= logs.size() || !std::isfinite(logs[j])) {
    char text[32];
    std::snprintf(text, sizeof text, "%e", value);
    return text;
  }
  return scientificTextOfPower(logs[j] / std::log(10.0L));
}

void printEstimates(std::FILE* file, std::int32_t maxWeight, const GivenErrorFloorTable& table) {
  if (table.ebn0Db.empty()) {
    return;
  }
  std::fprintf(file,
               "\n   *NOTE : Union bound (Q function) over d <= %d only: estimates of the"
               "\n           error floor, not upper bounds.\n",
               maxWeight);
  std::fprintf(file, "\n   SNR[dB]      UB_Q given      UB_Q average (uniform interleaver)\n");
  for (std::size_t j = 0; j < table.ebn0Db.size(); ++j) {
    std::fprintf(file, "%9.3f\t%s\t%s\n", table.ebn0Db[j],
                 estimateText(table.given, table.logGiven, j).c_str(),
                 estimateText(table.average, table.logAverage, j).c_str());
  }
}

}  // namespace

void printGivenInterleaverSection(std::FILE* file, const RecordGivenInterleaver& given,
                                  const GivenErrorFloorTable& estimates) {
  std::fprintf(file, "\n Distance Spectrum of the Given Interleaver -----------\n");
  std::fprintf(file, "\n   Interleaver : %s (one permutation, not the average)",
               printableText(given.interleaver).c_str());
  std::fprintf(file,
               "\n   Every codeword of weight d <= %d, by an exact search"
               "\n   (%" PRIu64 " candidates examined); B_d = sum of w / N.\n",
               given.maxWeight, given.candidates);
  printSpectrumRows(file, given);
  printEstimates(file, given.maxWeight, estimates);
  std::fprintf(file, "\n End of Distance Spectrum of the Given Interleaver ----\n");
  std::fflush(file);
}

}  // namespace brevandor
