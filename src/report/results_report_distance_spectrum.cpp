#include <cmath>
#include <string>

#include "logmath/log_domain.h"
#include "report/results_report.h"
#include "report/scientific_text.h"

namespace brevandor {

namespace {

// The sum of the scaled codeword counts in index order: the double sum where it is finite,
// else the same sum in extended precision (frames from about 1024 bits).
long double codewordTotal(std::span<const double> counts, std::int32_t maxWeight) {
  const auto count = static_cast<std::size_t>(maxWeight) + 1;
  double sum = 0.0;
  for (std::size_t d = 0; d < count; ++d) {
    sum += counts[d];
  }
  if (std::isfinite(sum)) {
    return sum;
  }
  long double extended = 0.0L;
  for (std::size_t d = 0; d < count; ++d) {
    extended += counts[d];
  }
  return extended;
}

// 2^N scaled by 10^−e, in double where that is finite, else in extended precision.
long double scaledInputWords(double inputFrameLength, double scale) {
  const double value = std::pow(10.0, inputFrameLength * std::log10(2.0) - scale);
  if (std::isfinite(value)) {
    return value;
  }
  return std::pow(10.0L, static_cast<long double>(inputFrameLength) * std::log10(2.0L) -
                             static_cast<long double>(scale));
}

// One spectrum entry: "%e" of the scaled double where a double holds it, else 10^(log − e)
// from the entry's logarithm, below 10^−308 included (a zero count stays 0).
std::string entryText(double scaled, std::span<const double> logs, std::size_t d, double scale) {
  if (std::fpclassify(scaled) == FP_NORMAL || logs.size() <= d || isLogZero(logs[d])) {
    return scientificText(scaled);
  }
  return scientificTextOfPower(static_cast<long double>(logs[d]) - static_cast<long double>(scale));
}

}  // namespace

void printDistanceSpectrum(std::FILE* file, double inputFrameLength,
                           std::span<const double> codewordSpectrum,
                           std::span<const double> weightedSpectrum, std::int32_t maxWeight,
                           double codewordScale, double weightedScale,
                           std::span<const double> log10Codeword,
                           std::span<const double> log10Weighted,
                           const SpectrumTruncation* truncation) {
  std::fprintf(file, "\n\n Distance Spectrum (Turbo Code) ---------------------\n");
  std::fprintf(file, "\n N_CodeWord  SCALE FACTOR = 10^%d ", static_cast<int>(codewordScale));
  std::fprintf(file, "\n Wgt_DistSpt SCALE FACTOR = 10^%d \n", static_cast<int>(weightedScale));
  if (truncation != nullptr) {
    std::fprintf(file,
                 "\n *NOTE : Truncated at d = %d : low-weight terms only (the code has weights up "
                 "to %d)\n         The sum check is left out : the terms above d = %d are "
                 "missing \n",
                 maxWeight, truncation->outputFrameLength, maxWeight);
    if (truncation->inputWeightLimit >= 0) {
      std::fprintf(file,
                   " *NOTE : Input words up to weight %d : the pattern leaves input bits "
                   "unsent, and heavier words send more than %d bits \n",
                   truncation->inputWeightLimit, maxWeight);
    }
  }
  std::fprintf(file, "\n Wght / Normalzd Wght / # of Codeword / Wgt_DistSpt. \n");
  const double maxWeightValue = truncation != nullptr ? truncation->outputFrameLength : maxWeight;
  for (std::int32_t d = 0; d <= maxWeight; ++d) {
    const auto index = static_cast<std::size_t>(d);
    std::fprintf(file, "\n%5d\t%f\t%s\t%s ", d, d / maxWeightValue,
                 entryText(codewordSpectrum[index], log10Codeword, index, codewordScale).c_str(),
                 entryText(weightedSpectrum[index], log10Weighted, index, weightedScale).c_str());
  }
  std::fprintf(file, "\n");
  if (truncation == nullptr) {
    std::fprintf(file, "\n Sum Check : %s  <= SUM of The # of CodeWords",
                 scientificText(codewordTotal(codewordSpectrum, maxWeight)).c_str());
    std::fprintf(file, "\n             %s  <= 2^(%d) Scaled by 10^%f \n",
                 scientificText(scaledInputWords(inputFrameLength, codewordScale)).c_str(),
                 static_cast<int>(inputFrameLength), codewordScale);
  }
  std::fprintf(file, "\n End of Distance Spt --------------------------------\n");
  std::fflush(file);
}

}  // namespace brevandor
