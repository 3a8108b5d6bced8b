#include "report/results_report_given_interleaver.h"

#include <cinttypes>

#include "progress/printable_text.h"

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
    std::fprintf(file, "%9.3f\t%e\t%e\n", table.ebn0Db[j], static_cast<double>(table.given[j]),
                 static_cast<double>(table.average[j]));
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
