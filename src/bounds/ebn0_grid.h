#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace brevandor {

// Limits of the Eb/N0 grid a user may ask for.
inline constexpr std::int32_t kMaxEbN0Points = 1001;
inline constexpr double kMinEbN0Decibels = -5.0;
inline constexpr double kMaxEbN0Decibels = 30.0;

// The signal-to-noise points of every bound section: Eb/N0 = from, from + step, … up to to
// (in dB). The default is the 21 points 0, 0.25, … 5 dB.
struct EbN0Grid {
  double from = 0.0;
  double step = 0.25;
  double to = 5.0;

  // The number of points: to counts as reached when within 10^−9 steps of a point.
  std::int32_t count() const;
  // Eb/N0 of point j in dB.
  double decibels(std::int32_t j) const { return from + step * j; }
  // Eb/N0 of point j as a ratio, 10^(0.1 from + 0.1 step · j): for the default grid this is
  // exactly 10^(0.025 j), the value the bounds have always used.
  double ratio(std::int32_t j) const;

  bool operator==(const EbN0Grid&) const = default;
};

// A grid as "FROM:STEP:TO" with the shortest decimals that read back to the same values.
std::string formatEbN0Grid(const EbN0Grid& grid);

// A checked grid, or the sentence that says why it is refused.
struct EbN0GridCheck {
  std::optional<EbN0Grid> grid;
  std::string message;
};

// Checks step > 0, from ≤ to, every value within −5 … 30 dB and at most 1001 points.
EbN0GridCheck checkEbN0Grid(const EbN0Grid& grid);

// Reads "FROM:STEP:TO" (three decimal numbers, blanks around them allowed) and checks it.
EbN0GridCheck parseEbN0Grid(std::string_view text);

}  // namespace brevandor
