#include "bounds/snr_points.h"

#include "progress/progress_report.h"

namespace brevandor {

bool forEachSnrPoint(const EbN0Grid& grid, const RunContext& context,
                     const std::function<void(std::int32_t, double)>& evaluate) {
  return forEachStep(grid.count(), context, [&](std::int32_t j) { evaluate(j, grid.ratio(j)); }) ==
         StageEnd::Completed;
}

}  // namespace brevandor
