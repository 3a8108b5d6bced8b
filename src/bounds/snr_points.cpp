#include "bounds/snr_points.h"

#include "progress/progress_report.h"

namespace brevandor {

bool forEachSnrPoint(const EbN0Grid& grid, const RunContext& context,
                     const std::function<void(std::int32_t, double)>& evaluate) {
  ProgressReport progress(context);
  progress.start();
  const std::int32_t points = grid.count();
  for (std::int32_t j = 0; j < points; ++j) {
    evaluate(j, grid.ratio(j));
    if (context.cancelRequested()) {
      return false;
    }
    progress.step(points - 1 - j);
  }
  progress.finish();
  return true;
}

}  // namespace brevandor
