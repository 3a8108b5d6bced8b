#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace brevandor {

// A puncturing pattern: one row per transmitted stream, all of one period T (1 … 64). The
// bit of stream r at trellis section t is sent when bit (t mod T) of rows[r] is set, that
// is when the row's character at position t mod T is '1'. No rows: nothing is punctured.
struct PuncturePattern {
  static constexpr std::int32_t kMaxPeriod = 64;

  std::int32_t period = 0;          // T
  std::vector<std::uint64_t> rows;  // bit τ of a row: sent at the sections t ≡ τ (mod T)

  bool empty() const { return rows.empty(); }
  // Whether stream `row` sends its bit at `section`.
  bool sends(std::size_t row, std::int64_t section) const {
    return ((rows[row] >> (section % period)) & 1u) != 0;
  }
  // Whether the row leaves out at least one bit of its period.
  bool puncturesRow(std::size_t row) const;
  // Whether any row leaves out a bit: an all-'1' pattern punctures nothing.
  bool puncturesAny() const;
  // The bits that stream `row` sends in sections 0 … sections − 1.
  std::int64_t sentCount(std::size_t row, std::int64_t sections) const;
  // The positions τ of the period at which every one of `which` rows is '0'.
  std::vector<std::int32_t> silentPositions(std::span<const std::size_t> which) const;
  // The pattern as the user writes it: rows of '0' and '1' separated by commas.
  std::string text() const;

  friend bool operator==(const PuncturePattern&, const PuncturePattern&) = default;
};

// A parsed pattern, or the words that say why the text is none.
struct ParsedPattern {
  std::optional<PuncturePattern> pattern;
  std::string failure;

  explicit operator bool() const { return pattern.has_value(); }
};

// Reads a pattern written as rows of '0'/'1' separated by commas ("11,10,01"); the rows are
// the streams named in `rowNames`, in that order. Refuses another number of rows, rows of
// different lengths or of more than 64 characters, empty rows, other characters, and a
// pattern that sends no bit at all.
ParsedPattern parsePuncturePattern(std::string_view text,
                                   std::span<const std::string_view> rowNames);

// Which output bits of a code's trellis sections are sent, section by section: masks[t mod
// T] holds the output-word bits sent at section t (bit j as the trellis packs the word,
// systematic bits on top). No masks: every bit is sent. Tail sections send every bit.
struct SectionPuncturing {
  std::vector<std::uint32_t> masks;

  bool empty() const { return masks.empty(); }
  std::int32_t period() const {
    return masks.empty() ? 1 : static_cast<std::int32_t>(masks.size());
  }
  // The bits of the `allBits` word sent at `section`.
  std::uint32_t sentBits(std::int64_t section, std::uint32_t allBits) const {
    return masks.empty() ? allBits : masks[static_cast<std::size_t>(section % period())] & allBits;
  }

  friend bool operator==(const SectionPuncturing&, const SectionPuncturing&) = default;
};

// The section puncturing of a code of `outputBits` bits per section whose output bit j (0 the
// lowest of the word) is sent as row rowOfBit[j] of `pattern` says; a row of −1 marks a bit
// that is always sent. Nothing is punctured (no masks) when the pattern is empty or sends
// every one of these bits.
SectionPuncturing sectionPuncturing(const PuncturePattern& pattern,
                                    std::span<const std::int32_t> rowOfBit);

}  // namespace brevandor
