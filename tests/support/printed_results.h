#pragma once

#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

namespace brevandor::testing {

// The tables of a results file as printed, read independently of the program's own record:
// the words exactly as they stand in the file.
struct PrintedBounds {
  std::vector<std::string> heads;              // "UB_Q", … after "SNR[dB]"
  std::vector<std::vector<std::string>> rows;  // "0.000", "9.988920e-02", …
};

struct PrintedSpectrumRow {
  int weight = 0;
  std::string codewords;  // A_d / 10^eA as "%e" wrote it
  std::string weighted;   // B_d / 10^eB
};

struct PrintedSpectrum {
  int codewordScale = 0;  // eA of "N_CodeWord  SCALE FACTOR = 10^eA"
  std::vector<PrintedSpectrumRow> rows;
};

inline std::vector<std::string> words(const std::string& line) {
  std::istringstream in(line);
  std::vector<std::string> all;
  for (std::string word; in >> word;) {
    all.push_back(word);
  }
  return all;
}

// The "BER Bounds" section: the column heads and the rows up to the first empty line.
inline PrintedBounds printedBounds(const std::string& text) {
  PrintedBounds bounds;
  std::istringstream in(text.substr(std::min(text.find("SNR[dB]"), text.size())));
  std::string line;
  if (!std::getline(in, line)) {
    return bounds;
  }
  bounds.heads = words(line);
  bounds.heads.erase(bounds.heads.begin());
  while (std::getline(in, line) && !words(line).empty()) {
    bounds.rows.push_back(words(line));
  }
  return bounds;
}

// The distance-spectrum rows "d  d/D  A_d  B_d" and the codeword scale exponent.
inline PrintedSpectrum printedSpectrum(const std::string& text) {
  PrintedSpectrum spectrum;
  const std::string scaleHead = "N_CodeWord  SCALE FACTOR = 10^";
  const std::size_t scale = text.find(scaleHead);
  if (scale != std::string::npos) {
    spectrum.codewordScale = std::atoi(text.c_str() + scale + scaleHead.size());
  }
  std::istringstream in(text.substr(std::min(text.find("# of Codeword"), text.size())));
  std::string line;
  std::getline(in, line);
  while (std::getline(in, line) && line.find("Sum Check") == std::string::npos &&
         line.find("End of Distance") == std::string::npos) {
    const std::vector<std::string> row = words(line);
    if (row.size() == 4) {
      spectrum.rows.push_back({std::atoi(row[0].c_str()), row[2], row[3]});
    }
  }
  return spectrum;
}

}  // namespace brevandor::testing
