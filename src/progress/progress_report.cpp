#include "progress/progress_report.h"

#include <cstdio>

namespace brevandor {

std::int32_t ProgressReport::elapsedMilliseconds(std::int32_t previous, std::int32_t now) {
  // The clock counts modulo 2^31 milliseconds; taking the difference modulo 2^31 keeps a
  // step that spans the wrap positive (and never overflows).
  const std::uint32_t difference =
      static_cast<std::uint32_t>(now) - static_cast<std::uint32_t>(previous);
  return static_cast<std::int32_t>(difference & 0x7fffffffu);
}

void ProgressReport::start() {
  previousClock_ = context_.clock();
  accumulated_ = 0;
  stepsDone_ = 0;
  context_.postStatusLine(kWaitText);
}

void ProgressReport::step(std::int32_t remaining) {
  const std::int32_t now = context_.clock();
  const std::int32_t elapsedUnits = elapsedMilliseconds(previousClock_, now) / kUnitMilliseconds;
  previousClock_ = now;
  accumulated_ += elapsedUnits;
  ++stepsDone_;
  // The mean step time is rounded down to whole units before it is scaled, as the
  // display has always done; 64 bits keep very long estimates from overflowing.
  const std::int64_t units = (accumulated_ / stepsDone_) * static_cast<std::int64_t>(remaining);
  context_.postStatusLine(remainingTimeText(units));
}

void ProgressReport::finish() { context_.postStatusLine(kDoneText); }

std::string ProgressReport::remainingTimeText(std::int64_t units) {
  const auto hours = static_cast<long long>(units / 216000);
  const auto minutes = static_cast<long long>((units / 3600) % 60);
  const auto seconds = static_cast<long long>((units / 60) % 60);
  const auto sixtieths = static_cast<long long>(units % 60);
  char text[96];
  std::snprintf(text, sizeof text, "Est. Remaining Time = %2lld hrs, %2lld min, %2lld sec, %2lld'",
                hours, minutes, seconds, sixtieths);
  return text;
}

}  // namespace brevandor
