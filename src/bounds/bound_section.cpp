#include "bounds/bound_section.h"

#include "bounds/ber_bounds.h"
#include "report/scientific_text.h"

namespace brevandor {

namespace {

// One column of the section: its mask bit, its head (padded to 16 characters) and its table.
struct BoundColumn {
  std::int32_t bit;
  const char* head;
  const std::vector<long double>* values;
};

}  // namespace

void writeBoundSection(std::FILE* file, double rate, std::int32_t mask, const BoundTables& tables,
                       const EbN0Grid& grid, const BoundSectionNotes* notes) {
  const BoundColumn columns[] = {{UnionBoundQ, "UB_Q            ", &tables.unionQ},
                                 {UnionBoundExp, "UB_Exp          ", &tables.unionExp},
                                 {ViterbiBound, "IUB_Exp         ", &tables.viterbi}};
  std::fprintf(file, "\n BER Bounds -----------------------------------------\n");
  if (notes != nullptr) {
    std::fputs(notes->heading.c_str(), file);
  }
  std::fprintf(file, "\n   1/Rate = %f      \n", 1.0 / rate);
  std::fprintf(file, "\n   SNR[dB]      ");
  for (const BoundColumn& column : columns) {
    if ((mask & column.bit) != 0) {
      std::fprintf(file, "%s", column.head);
    }
  }
  std::fprintf(file, "\n");
  const std::int32_t points = grid.count();
  for (std::int32_t j = 0; j < points; ++j) {
    std::fprintf(file, "%9.3f\t", grid.decibels(j));
    for (const BoundColumn& column : columns) {
      if ((mask & column.bit) != 0) {
        const long double value = (*column.values)[static_cast<std::size_t>(j)];
        std::fprintf(file, "%s\t", scientificText(value).c_str());
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

}  // namespace brevandor
