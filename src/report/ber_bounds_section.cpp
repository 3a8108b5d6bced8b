#include "report/ber_bounds_section.h"

#include <algorithm>

#include "report/scientific_text.h"

namespace brevandor {

namespace {

// One column of the section: its bound, its head (padded to 16 characters), its table and
// the natural logs of its values.
struct BoundColumn {
  BerBound bound;
  const char* head;
  const std::vector<long double>* values;
  const std::vector<long double>* logs;
};

// The text of entry j: from the log where the value has underflowed and the table holds one.
std::string entryText(const BoundColumn& column, std::size_t j) {
  const long double value = (*column.values)[j];
  return j < column.logs->size() ? scientificTextOfBound(value, (*column.logs)[j])
                                 : scientificText(value);
}

// The note under the title of the low-weight mode's section.
std::string errorFloorHeading(std::int32_t maxWeight, std::int32_t blockLength) {
  const std::int32_t firstSettling = std::max(maxWeight - kSettlingWeights + 1, 0);
  return "\n   *NOTE : Sums over the low-weight terms d <= " + std::to_string(maxWeight) +
         " only (the code has weights up to " + std::to_string(blockLength) +
         "):\n           estimates of the error floor, not upper bounds." + "\n           \"" +
         kUnsettledMark +
         "\" : the terms of the last four weights, d = " + std::to_string(firstSettling) + " ... " +
         std::to_string(maxWeight) +
         ", still add\n           more than 1 % to a sum of that row.\n";
}

}  // namespace

void writeBoundSection(std::FILE* file, double rate, BerBoundSet bounds, const BoundTables& tables,
                       const EbN0Grid& grid, const BoundSectionNotes* notes) {
  const BoundColumn columns[] = {
      {BerBound::UnionQ, "UB_Q            ", &tables.unionQ, &tables.logUnionQ},
      {BerBound::UnionExp, "UB_Exp          ", &tables.unionExp, &tables.logUnionExp},
      {BerBound::Viterbi, "IUB_Exp         ", &tables.viterbi, &tables.logViterbi}};
  std::fprintf(file, "\n BER Bounds -----------------------------------------\n");
  if (notes != nullptr) {
    std::fputs(notes->heading.c_str(), file);
  }
  std::fprintf(file, "\n   1/Rate = %f      \n", 1.0 / rate);
  std::fprintf(file, "\n   SNR[dB]      ");
  for (const BoundColumn& column : columns) {
    if (bounds.contains(column.bound)) {
      std::fprintf(file, "%s", column.head);
    }
  }
  std::fprintf(file, "\n");
  const std::int32_t points = grid.count();
  for (std::int32_t j = 0; j < points; ++j) {
    std::fprintf(file, "%9.3f\t", grid.decibels(j));
    for (const BoundColumn& column : columns) {
      if (bounds.contains(column.bound)) {
        std::fprintf(file, "%s\t", entryText(column, static_cast<std::size_t>(j)).c_str());
      }
    }
    const auto point = static_cast<std::size_t>(j);
    if (notes != nullptr && point < notes->unsettled.size() && notes->unsettled[point]) {
      std::fputs(kUnsettledMark, file);
    }
    std::fprintf(file, "\n");
  }
  std::fprintf(file, "\n .. computed with Weighted Distance Spectrum");
  std::fprintf(file, "\n ----------------------------------------------------\n");
  std::fflush(file);
}

void writeErrorFloorSection(std::FILE* file, double rate, BerBoundSet bounds,
                            const ErrorFloorEstimates& estimates, const EbN0Grid& grid) {
  const BoundSectionNotes notes{errorFloorHeading(estimates.maxWeight, estimates.blockLength),
                                estimates.unsettled};
  writeBoundSection(file, rate, bounds, estimates.sums, grid, &notes);
}

}  // namespace brevandor
