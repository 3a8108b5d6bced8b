#pragma once

#include <QString>
#include <cstdint>
#include <optional>

#include "run/run_estimate.h"

class QWidget;

namespace brevandor {

// Above this frame length (a full run), when the estimate is longer than this many seconds, or
// when the run needs more than this share of the memory available, the window states the run's
// time and memory estimate and asks before it starts the run.
inline constexpr std::int32_t kRunQuestionFrameLength = 1000;
inline constexpr double kRunQuestionSeconds = 60.0;
inline constexpr double kRunQuestionMemoryShare = 0.25;

// Whether to ask before the run: a full run of a frame above kRunQuestionFrameLength (where the
// window has always warned), or any run that is long or large. A low-weight run of a long frame
// that ends in a second starts at once.
bool asksBeforeRun(std::int32_t frameLength, bool lowWeightMode, const RunEstimate& estimate,
                   std::optional<std::uint64_t> availableBytes);

// The question's text: the frame length, the expected time and memory, the memory available
// now (when the system says) and a note when the run needs more than that.
QString runEstimateText(const RunEstimate& estimate, std::int32_t frameLength,
                        std::optional<std::uint64_t> availableBytes);

// Asks `text` with the buttons "Start" and "Cancel" (object name "runEstimateQuestion");
// true for "Start".
bool askToStartRun(QWidget* parent, const QString& caption, const QString& text);

}  // namespace brevandor
