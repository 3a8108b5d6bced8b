#include "run/bound_stages.h"

#include "bounds/ber_bounds.h"
#include "bounds/further_bounds.h"

namespace brevandor {

std::int32_t runBoundStages(std::FILE* file, double rate, std::span<const double> log10Codewords,
                            std::span<const double> log10Weighted, std::int32_t maxWeight,
                            std::int32_t infoBits, std::int32_t boundSelection,
                            std::int32_t furtherBounds, const EbN0Grid& grid,
                            const RunContext& context) {
  constexpr const char* kCompletedText = " Completed \n";
  if (boundSelection != 0) {
    context.postLogLine(" BER Calculation .. ");
    if (computeBerBoundsFromLog10(file, rate, log10Weighted, maxWeight, boundSelection, context,
                                  grid) < 0) {
      return -1;
    }
    context.postLogLine(kCompletedText);
  }
  if (furtherBounds != 0) {
    context.postLogLine(" Further Bounds Calculation .. ");
    const FurtherBoundInputs inputs =
        furtherBoundInputsFromLog10(log10Codewords, log10Weighted, maxWeight, infoBits);
    if (computeFurtherBoundSection(file, inputs, furtherBounds, grid, context) < 0) {
      return -1;
    }
    context.postLogLine(kCompletedText);
  }
  return 0;
}

}  // namespace brevandor
