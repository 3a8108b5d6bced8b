#include "code/puncture_pattern.h"

#include <bit>

#include "code/comma_list.h"

namespace brevandor {

namespace {

// The word with bits 0 … period − 1 set: a row that sends every bit.
std::uint64_t fullRow(std::int32_t period) {
  return period >= 64 ? ~std::uint64_t{0} : (std::uint64_t{1} << period) - 1;
}

std::string joinedNames(std::span<const std::string_view> names) {
  std::string joined;
  for (const std::string_view name : names) {
    joined += (joined.empty() ? "" : ",") + std::string(name);
  }
  return joined;
}

ParsedPattern refused(std::string failure) {
  return {std::nullopt, std::move(failure)};
}

}  // namespace

bool PuncturePattern::puncturesRow(std::size_t row) const {
  return rows[row] != fullRow(period);
}

bool PuncturePattern::puncturesAny() const {
  for (std::size_t r = 0; r < rows.size(); ++r) {
    if (puncturesRow(r)) {
      return true;
    }
  }
  return false;
}

std::int64_t PuncturePattern::sentCount(std::size_t row, std::int64_t sections) const {
  const std::int64_t periods = sections / period;
  const std::int64_t rest = sections % period;
  const std::uint64_t restMask = fullRow(static_cast<std::int32_t>(rest));
  return periods * std::popcount(rows[row]) + std::popcount(rows[row] & restMask);
}

std::vector<std::int32_t> PuncturePattern::silentPositions(
    std::span<const std::size_t> which) const {
  std::vector<std::int32_t> positions;
  for (std::int32_t position = 0; position < period; ++position) {
    bool silent = true;
    for (const std::size_t row : which) {
      silent = silent && !sends(row, position);
    }
    if (silent) {
      positions.push_back(position);
    }
  }
  return positions;
}

std::string PuncturePattern::text() const {
  std::string text;
  for (std::size_t r = 0; r < rows.size(); ++r) {
    if (r > 0) {
      text += ',';
    }
    for (std::int32_t position = 0; position < period; ++position) {
      text += sends(r, position) ? '1' : '0';
    }
  }
  return text;
}

ParsedPattern parsePuncturePattern(std::string_view text,
                                   std::span<const std::string_view> rowNames) {
  const std::vector<std::string_view> rows = splitAtCommas(text);
  if (rows.size() != rowNames.size()) {
    return refused("the pattern needs " + std::to_string(rowNames.size()) + " rows (" +
                   joinedNames(rowNames) + ") separated by commas, not " +
                   std::to_string(rows.size()));
  }
  PuncturePattern pattern;
  pattern.period = static_cast<std::int32_t>(rows[0].size());
  for (std::size_t r = 0; r < rows.size(); ++r) {
    const std::string_view row = rows[r];
    if (row.empty() || row.size() > static_cast<std::size_t>(PuncturePattern::kMaxPeriod)) {
      return refused("row " + std::string(rowNames[r]) + " has " + std::to_string(row.size()) +
                     " characters; a row holds 1 to 64");
    }
    if (row.size() != rows[0].size()) {
      return refused("rows of different lengths (" + std::string(rowNames[0]) + " has " +
                     std::to_string(rows[0].size()) + ", " + std::string(rowNames[r]) + " has " +
                     std::to_string(row.size()) + "); every row needs the same period");
    }
    std::uint64_t bits = 0;
    for (std::size_t position = 0; position < row.size(); ++position) {
      const char c = row[position];
      if (c != '0' && c != '1') {
        return refused(std::string("'") + c + "' in row " + std::string(rowNames[r]) +
                       " is not a pattern character; use 0 (left out) and 1 (sent)");
      }
      bits |= static_cast<std::uint64_t>(c == '1') << position;
    }
    pattern.rows.push_back(bits);
  }
  bool sendsSomething = false;
  for (const std::uint64_t row : pattern.rows) {
    sendsSomething = sendsSomething || row != 0;
  }
  if (!sendsSomething) {
    return refused("the pattern sends no bit at all");
  }
  return {pattern, {}};
}

SectionPuncturing sectionPuncturing(const PuncturePattern& pattern,
                                    std::span<const std::int32_t> rowOfBit) {
  if (pattern.empty()) {
    return {};
  }
  SectionPuncturing puncturing;
  bool puncturesSome = false;
  const auto allBits = static_cast<std::uint32_t>((std::uint64_t{1} << rowOfBit.size()) - 1);
  for (std::int32_t position = 0; position < pattern.period; ++position) {
    std::uint32_t mask = 0;
    for (std::size_t bit = 0; bit < rowOfBit.size(); ++bit) {
      const std::int32_t row = rowOfBit[bit];
      if (row < 0 || pattern.sends(static_cast<std::size_t>(row), position)) {
        mask |= std::uint32_t{1} << bit;
      }
    }
    puncturesSome = puncturesSome || mask != allBits;
    puncturing.masks.push_back(mask);
  }
  if (!puncturesSome) {
    return {};
  }
  return puncturing;
}

}  // namespace brevandor
