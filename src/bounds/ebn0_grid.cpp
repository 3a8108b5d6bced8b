#include "bounds/ebn0_grid.h"

#include <charconv>
#include <cmath>
#include <cstdio>

namespace brevandor {

namespace {

constexpr double kReachTolerance = 1e-9;

std::string shortest(double value) {
  char text[32];
  const auto result = std::to_chars(text, text + sizeof text, value);
  return std::string(text, result.ptr);
}

std::string_view trimmed(std::string_view text) {
  const std::size_t first = text.find_first_not_of(" \t");
  if (first == std::string_view::npos) {
    return {};
  }
  const std::size_t last = text.find_last_not_of(" \t");
  return text.substr(first, last - first + 1);
}

// One decimal number filling the whole field, finite; nothing otherwise.
std::optional<double> decimal(std::string_view field) {
  field = trimmed(field);
  if (!field.empty() && field.front() == '+') {
    field.remove_prefix(1);
  }
  double value = 0.0;
  const auto result =
      std::from_chars(field.data(), field.data() + field.size(), value, std::chars_format::fixed);
  if (field.empty() || result.ec != std::errc() || result.ptr != field.data() + field.size() ||
      !std::isfinite(value)) {
    return std::nullopt;
  }
  return value;
}

EbN0GridCheck refused(std::string message) {
  return {std::nullopt, std::move(message)};
}

}  // namespace

std::int32_t EbN0Grid::count() const {
  const double steps = std::floor((to - from) / step + kReachTolerance);
  return static_cast<std::int32_t>(steps) + 1;
}

double EbN0Grid::ratio(std::int32_t j) const {
  return std::pow(10.0, 0.1 * from + (0.1 * step) * j);
}

std::string formatEbN0Grid(const EbN0Grid& grid) {
  return shortest(grid.from) + ":" + shortest(grid.step) + ":" + shortest(grid.to);
}

EbN0GridCheck checkEbN0Grid(const EbN0Grid& grid) {
  if (!(grid.step > 0.0)) {
    return refused("the step must be greater than 0 dB");
  }
  if (!(grid.from <= grid.to)) {
    return refused("FROM must not be greater than TO");
  }
  if (grid.from < kMinEbN0Decibels || grid.to > kMaxEbN0Decibels) {
    return refused("Eb/N0 must lie between -5 and 30 dB");
  }
  const double steps = std::floor((grid.to - grid.from) / grid.step + kReachTolerance);
  if (steps + 1.0 > kMaxEbN0Points) {
    char text[96];
    std::snprintf(text, sizeof text, "at most %d points are allowed, this grid has %.0f",
                  kMaxEbN0Points, steps + 1.0);
    return refused(text);
  }
  return {grid, {}};
}

EbN0GridCheck parseEbN0Grid(std::string_view text) {
  const std::string expected =
      "expected FROM:STEP:TO in dB, e.g. 0:0.25:5, not '" + std::string(text) + "'";
  const std::size_t first = text.find(':');
  const std::size_t second = first == std::string_view::npos ? first : text.find(':', first + 1);
  if (second == std::string_view::npos || text.find(':', second + 1) != std::string_view::npos) {
    return refused(expected);
  }
  const auto from = decimal(text.substr(0, first));
  const auto step = decimal(text.substr(first + 1, second - first - 1));
  const auto to = decimal(text.substr(second + 1));
  if (!from || !step || !to) {
    return refused(expected);
  }
  return checkEbN0Grid(EbN0Grid{*from, *step, *to});
}

}  // namespace brevandor
