#pragma once

#include <QString>
#include <cstdint>
#include <optional>

#include "run/run_estimate.h"

class QWidget;

namespace brevandor {

// Above this frame length, or when the estimate is longer than this many seconds, the window
// states the run's time and memory estimate and asks before it starts the run.
inline constexpr std::int32_t kRunQuestionFrameLength = 1000;
inline constexpr double kRunQuestionSeconds = 60.0;

// The question's text: the frame length, the expected time and memory, the memory available
// now (when the system says) and a note when the run needs more than that.
QString runEstimateText(const RunEstimate& estimate, std::int32_t frameLength,
                        std::optional<std::uint64_t> availableBytes);

// Asks `text` with the buttons "Start" and "Cancel" (object name "runEstimateQuestion");
// true for "Start".
bool askToStartRun(QWidget* parent, const QString& caption, const QString& text);

}  // namespace brevandor
