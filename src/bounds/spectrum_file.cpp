#include "bounds/spectrum_file.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <limits>
#include <string_view>

#include "logmath/log_domain.h"

namespace brevandor {

namespace {

// A row names d and two counts, as decimals or logarithms, and maybe a few more columns: far
// below these. A file beyond them (a device that never ends, /dev/zero) is refused as soon as
// it passes them, before it fills the memory.
constexpr std::size_t kLongestLine = 4096;
constexpr std::int64_t kMostBytesPerWeight = 1024;
// Decimal counts read from a file may be rounded: allowed this far (in log10) above the
// largest count that is possible.
constexpr double kCountSlack = 0.01;

// log10 C(n, d): the number of words of weight d in a code of length n bounds A_d.
double log10WordsOfWeight(std::int64_t n, std::int64_t d) {
  const auto lg = [](std::int64_t x) { return std::lgamma(static_cast<double>(x) + 1.0); };
  return (lg(n) - lg(d) - lg(n - d)) / std::log(10.0);
}

std::string_view trimmed(std::string_view text) {
  const std::size_t first = text.find_first_not_of(" \t");
  if (first == std::string_view::npos) {
    return {};
  }
  return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

std::vector<std::string_view> fieldsOf(std::string_view line) {
  std::vector<std::string_view> fields;
  std::size_t start = 0;
  while (true) {
    const std::size_t comma = line.find(',', start);
    fields.push_back(trimmed(line.substr(start, comma - start)));
    if (comma == std::string_view::npos) {
      return fields;
    }
    start = comma + 1;
  }
}

// Where each column the reader needs sits in a row.
struct Columns {
  std::size_t count = 0;
  std::size_t weight = 0;
  std::size_t codewords = 0;
  std::size_t weighted = 0;
  bool logarithmic = false;
};

class Reader {
 public:
  explicit Reader(std::int32_t codeLength) : codeLength_(codeLength) {
    const auto entries = static_cast<std::size_t>(codeLength) + 1;
    spectrum_.log10Codewords.assign(entries, LogZero);
    spectrum_.log10Weighted.assign(entries, LogZero);
  }

  SpectrumFileCheck read(std::istream& in) {
    std::vector<char> buffer(kLongestLine + 2);
    std::int64_t number = 0;
    std::int64_t bytes = 0;
    const std::int64_t mostBytes =
        (static_cast<std::int64_t>(codeLength_) + 2) * kMostBytesPerWeight;
    bool headerSeen = false;
    bool rowSeen = false;
    while (in.getline(buffer.data(), static_cast<std::streamsize>(buffer.size()))) {
      ++number;
      bytes += in.gcount();
      if (bytes > mostBytes) {
        return refused(number, "the file is longer than any spectrum of a code of length n = " +
                                   std::to_string(codeLength_) + " can be");
      }
      std::string_view line(buffer.data());
      if (!line.empty() && line.back() == '\r') {
        line.remove_suffix(1);
      }
      if (trimmed(line).empty()) {
        continue;
      }
      std::string why = headerSeen ? readRow(line) : readHeader(line);
      if (!why.empty()) {
        return refused(number, why);
      }
      rowSeen = rowSeen || headerSeen;
      headerSeen = true;
    }
    if (in.fail() && !in.eof() && !in.bad()) {
      return refused(number + 1, "the line is longer than " + std::to_string(kLongestLine) +
                                     " bytes: no spectrum row is");
    }
    if (in.bad()) {
      return refused(number + 1, "the file could not be read to its end");
    }
    if (!headerSeen) {
      return refused(number + 1, "the file is empty; it needs a header such as d,A,B");
    }
    if (!rowSeen) {
      return refused(number + 1, "no spectrum rows after the header");
    }
    return {std::move(spectrum_), {}};
  }

 private:
  static SpectrumFileCheck refused(std::int64_t line, const std::string& why) {
    return {std::nullopt, "line " + std::to_string(line) + ": " + why};
  }

  std::string readHeader(std::string_view line) {
    const std::vector<std::string_view> names = fieldsOf(line);
    columns_.count = names.size();
    std::optional<std::size_t> found[5];
    const std::string_view wanted[5] = {"d", "A", "B", "log10_A", "log10_B"};
    for (std::size_t i = 0; i < names.size(); ++i) {
      for (std::size_t w = 0; w < 5; ++w) {
        if (names[i] == wanted[w]) {
          if (found[w]) {
            return "the column " + std::string(wanted[w]) + " appears twice";
          }
          found[w] = i;
        }
      }
    }
    if (!found[0]) {
      return "the header has no column d (expected d,A,B or d,log10_A,log10_B)";
    }
    if (found[3] && found[4]) {
      columns_ = {names.size(), *found[0], *found[3], *found[4], true};
    } else if (found[1] && found[2]) {
      columns_ = {names.size(), *found[0], *found[1], *found[2], false};
    } else {
      return "the header needs the columns A and B, or log10_A and log10_B";
    }
    return {};
  }

  std::string readRow(std::string_view line) {
    const std::vector<std::string_view> fields = fieldsOf(line);
    if (fields.size() != columns_.count) {
      return "expected " + std::to_string(columns_.count) + " fields as in the header, found " +
             std::to_string(fields.size());
    }
    const std::string_view weightText = fields[columns_.weight];
    std::int64_t d = -1;
    const auto parsed =
        std::from_chars(weightText.data(), weightText.data() + weightText.size(), d);
    if (weightText.empty() || parsed.ec != std::errc() ||
        parsed.ptr != weightText.data() + weightText.size() || d < 0) {
      return "d must be a non-negative whole number, not '" + std::string(weightText) + "'";
    }
    if (d <= previous_) {
      return "d = " + std::to_string(d) +
             " does not increase (the row before has d = " + std::to_string(previous_) + ")";
    }
    if (d > codeLength_) {
      return "d = " + std::to_string(d) +
             " exceeds the code length n = " + std::to_string(codeLength_);
    }
    previous_ = d;
    double log10Values[2] = {LogZero, LogZero};
    const std::size_t where[2] = {columns_.codewords, columns_.weighted};
    for (int c = 0; c < 2; ++c) {
      const std::string why = readCount(fields[where[c]], c == 0 ? "A" : "B", log10Values[c]);
      if (!why.empty()) {
        return why;
      }
    }
    if (d == 0 && (log10Values[0] > LogZero || log10Values[1] > LogZero)) {
      return "the counts at d = 0 must be 0 (the sent word is no error event)";
    }
    if (const std::string why = impossibleCounts(d, log10Values[0], log10Values[1]); !why.empty()) {
      return why;
    }
    spectrum_.log10Codewords[static_cast<std::size_t>(d)] = log10Values[0];
    spectrum_.log10Weighted[static_cast<std::size_t>(d)] = log10Values[1];
    return {};
  }

  // Why the counts at weight d cannot be a code's: A_d is at most C(n, d), the number of words
  // of that weight, and B_d (A_d weighted by information bits) at most n C(n, d).
  std::string impossibleCounts(std::int64_t d, double log10Codewords, double log10Weighted) const {
    const double words = log10WordsOfWeight(codeLength_, d);
    const auto tenTo = [](double log10Value) {
      char text[32];
      std::snprintf(text, sizeof text, "10^%.4g", log10Value);
      return std::string(text);
    };
    if (log10Codewords > words + kCountSlack) {
      return "A = " + tenTo(log10Codewords) + " at d = " + std::to_string(d) +
             " is more than the " + tenTo(words) +
             " words of that weight a code of length n = " + std::to_string(codeLength_) + " has";
    }
    if (log10Weighted > words + std::log10(static_cast<double>(codeLength_)) + kCountSlack) {
      return "B = " + tenTo(log10Weighted) + " at d = " + std::to_string(d) +
             " is more than n times the " + tenTo(words) +
             " words of that weight a code of length n = " + std::to_string(codeLength_) + " has";
    }
    return {};
  }

  // One count: a non-negative decimal, or its log10 (−inf or anything at or below LogZero
  // meaning zero).
  std::string readCount(std::string_view text, const char* name, double& log10Value) const {
    const std::string column = columns_.logarithmic ? std::string("log10_") + name : name;
    double value = 0.0;
    const auto parsed = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || parsed.ptr != text.data() + text.size() ||
        parsed.ec == std::errc::invalid_argument || std::isnan(value)) {
      return column + " is not a number: '" + std::string(text) + "'";
    }
    if (parsed.ec == std::errc::result_out_of_range) {
      return column + " is out of the range of a double: '" + std::string(text) + "'" +
             (columns_.logarithmic ? "" : " (give log10_A and log10_B instead)");
    }
    if (columns_.logarithmic) {
      if (value == std::numeric_limits<double>::infinity()) {
        return column + " must be finite, not '" + std::string(text) + "'";
      }
      log10Value = value > LogZero ? value : LogZero;
      return {};
    }
    if (value < 0.0 || std::isinf(value)) {
      return column + " must be a finite count of 0 or more, not '" + std::string(text) + "'";
    }
    log10Value = value > 0.0 ? std::max(std::log10(value), LogZero) : LogZero;
    return {};
  }

  std::int32_t codeLength_;
  Columns columns_;
  std::int64_t previous_ = -1;
  SpectrumFile spectrum_;
};

}  // namespace

SpectrumFileCheck readSpectrumFile(std::istream& in, std::int32_t codeLength) {
  return Reader(codeLength).read(in);
}

SpectrumFileCheck readSpectrumFile(const std::string& path, std::int32_t codeLength) {
  errno = 0;
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    return {std::nullopt, "cannot open '" + path + "': " + std::strerror(errno)};
  }
  return readSpectrumFile(in, codeLength);
}

}  // namespace brevandor
