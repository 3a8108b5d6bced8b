#pragma once

#include <cstdint>
#include <istream>
#include <optional>
#include <string>
#include <vector>

namespace brevandor {

// Largest code length a spectrum file may describe.
inline constexpr std::int32_t kMaxSpectrumCodeLength = 4000000;

// A distance spectrum read from a file: log10 A_d and log10 B_d for d = 0 … n, LogZero for
// the weights the file leaves out or gives as zero.
struct SpectrumFile {
  std::vector<double> log10Codewords;
  std::vector<double> log10Weighted;
};

// The spectrum, or the sentence that refuses the file, beginning with the line number.
struct SpectrumFileCheck {
  std::optional<SpectrumFile> spectrum;
  std::string message;
};

// Reads a spectrum of a code of length n from comma-separated text: a header naming the
// columns (d, and A and B as decimal numbers or log10_A and log10_B as their base-10
// logarithms; other columns are ignored, and log10_A, log10_B are read when both pairs are
// there), then one row per weight with d increasing, 0 ≤ d ≤ n. Counts are non-negative and
// zero at d = 0 (the sent word is no error). Blank lines are skipped; CR-LF line ends are
// accepted.
SpectrumFileCheck readSpectrumFile(std::istream& in, std::int32_t codeLength);

// The same from a file by name ("cannot open …" when it cannot be read).
SpectrumFileCheck readSpectrumFile(const std::string& path, std::int32_t codeLength);

}  // namespace brevandor
