// Arbitrary text as a spectrum file: no crash, no undefined behaviour, and either a spectrum
// within what the reader promises or a refusal that names its line.

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <sstream>
#include <string>

#include "bounds/spectrum_file.h"
#include "logmath/log_domain.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace brevandor;
  constexpr std::int32_t kCodeLength = 64;
  std::istringstream in(std::string(reinterpret_cast<const char*>(data), size));
  const SpectrumFileCheck check = readSpectrumFile(in, kCodeLength);
  if (!check.spectrum) {
    if (check.message.rfind("line ", 0) != 0) {
      __builtin_trap();
    }
    return 0;
  }
  const SpectrumFile& spectrum = *check.spectrum;
  if (spectrum.log10Codewords.size() != kCodeLength + 1 ||
      spectrum.log10Weighted.size() != kCodeLength + 1) {
    __builtin_trap();
  }
  for (std::size_t d = 0; d <= kCodeLength; ++d) {
    for (const double value : {spectrum.log10Codewords[d], spectrum.log10Weighted[d]}) {
      if (!std::isfinite(value) || value < LogZero || (d == 0 && value != LogZero)) {
        __builtin_trap();
      }
    }
  }
  return 0;
}
