#include "report/further_bounds_section.h"

#include <cmath>
#include <string>

#include "report/scientific_text.h"

namespace brevandor {

namespace {

// The value as shown, from its log where even extended precision underflows (the
// sphere-packing bound of N = 100 from 23 dB).
std::string shownValue(double logValue) {
  return scientificTextOfBound(shownFurtherBound(logValue), logValue);
}

std::string describedBound(const FurtherBoundInfo& info, const FurtherBoundTables& tables) {
  std::string text(info.meaning);
  char radius[64];
  if (info.bit == FurtherBound::TangentialSphereBit ||
      info.bit == FurtherBound::TangentialSphereWord) {
    const double r =
        info.bit == FurtherBound::TangentialSphereBit ? tables.radiusBit : tables.radiusWord;
    if (std::isfinite(r)) {
      std::snprintf(radius, sizeof radius, ", cone radius %f sqrt(n Es)", r);
      text += radius;
    } else {
      text += ", no finite cone: the union bound";
    }
  }
  return text;
}

}  // namespace

void writeFurtherBoundSection(std::FILE* file, const FurtherBoundInputs& inputs,
                              FurtherBoundSet bounds, const FurtherBoundTables& tables,
                              const EbN0Grid& grid) {
  std::fprintf(file, "\n Further Bounds -------------------------------------\n");
  std::fprintf(file, "\n   1/Rate = %f      ", 1.0 / inputs.rate());
  std::fprintf(file, "\n   n = %d, K = %d \n", inputs.blockLength(), inputs.infoBits);
  if (inputs.truncated()) {
    std::fprintf(
        file,
        "\n   *NOTE : Sums over the low-weight terms d <= %d only: estimates of the"
        "\n           error floor, not upper bounds (the sphere-packing bound excepted).\n",
        inputs.codewords.maxWeight);
  }
  for (const FurtherBoundInfo& info : furtherBoundInfos()) {
    if (bounds.contains(info.bit)) {
      const std::string head(info.column);
      std::fprintf(file, "\n   %-12s: %s", head.c_str(), describedBound(info, tables).c_str());
    }
  }
  std::fprintf(file, "\n\n   SNR[dB]      ");
  for (const FurtherBoundInfo& info : furtherBoundInfos()) {
    if (bounds.contains(info.bit)) {
      const std::string head(info.column);
      std::fprintf(file, "%-16s", head.c_str());
    }
  }
  std::fprintf(file, "\n");
  const std::int32_t points = grid.count();
  for (std::int32_t j = 0; j < points; ++j) {
    std::fprintf(file, "%9.3f\t", grid.decibels(j));
    for (std::size_t b = 0; b < furtherBoundInfos().size(); ++b) {
      if (bounds.contains(furtherBoundInfos()[b].bit)) {
        const double logValue = tables.logValues[b][static_cast<std::size_t>(j)];
        std::fprintf(file, "%s\t", shownValue(logValue).c_str());
      }
    }
    std::fprintf(file, "\n");
  }
  std::fprintf(file,
               "\n .. word error from the codeword spectrum, bit error from the weighted"
               " spectrum; upper bounds above 1 shown as 1");
  std::fprintf(file, "\n ----------------------------------------------------\n");
  std::fflush(file);
}

}  // namespace brevandor
