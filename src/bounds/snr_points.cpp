#include "bounds/snr_points.h"

#include <cmath>

#include "progress/progress_report.h"

namespace brevandor {

double snrRatio(std::int32_t j) {
  return std::pow(10.0, 0.025 * j);
}

std::int32_t forEachSnrPoint(const RunContext& context,
                             const std::function<void(std::int32_t, double)>& evaluate) {
  return forEachSnrPoint(EbN0Grid{}, context, evaluate);
}

std::int32_t forEachSnrPoint(const EbN0Grid& grid, const RunContext& context,
                             const std::function<void(std::int32_t, double)>& evaluate) {
  ProgressReport progress(context);
  progress.start();
  const std::int32_t points = grid.count();
  for (std::int32_t j = 0; j < points; ++j) {
    evaluate(j, grid.ratio(j));
    if (context.cancelRequested()) {
      return -1;
    }
    progress.step(points - 1 - j);
  }
  progress.finish();
  return 0;
}

}  // namespace brevandor
