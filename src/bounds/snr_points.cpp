#include "bounds/snr_points.h"

#include <cmath>

#include "progress/progress_report.h"

namespace brevandor {

double snrRatio(std::int32_t j) {
  return std::pow(10.0, 0.025 * j);
}

std::int32_t forEachSnrPoint(const RunContext& context,
                             const std::function<void(std::int32_t, double)>& evaluate) {
  ProgressReport progress(context);
  progress.start();
  for (std::int32_t j = 0; j < kSnrPoints; ++j) {
    evaluate(j, snrRatio(j));
    if (context.cancelRequested()) {
      return -1;
    }
    progress.step(kSnrPoints - 1 - j);
  }
  progress.finish();
  return 0;
}

}  // namespace brevandor
