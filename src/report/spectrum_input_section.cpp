#include "report/spectrum_input_section.h"

#include "progress/printable_text.h"

namespace brevandor {

void printSpectrumInput(std::FILE* file, std::string_view path, std::int32_t codeLength,
                        std::int32_t infoBits) {
  std::fprintf(file, "\n Spectrum Input -----------------------------\n");
  std::fprintf(file, "\n Spectrum File : %s ", printableText(path).c_str());
  std::fprintf(file, "\n Code Length n = %d [bits]", codeLength);
  std::fprintf(file, "\n Information Bits K = %d [bits]", infoBits);
  std::fprintf(file, "\n Rate : %f \n", static_cast<double>(infoBits) / codeLength);
  std::fprintf(file, "\n End of Spectrum Input ----------------------\n");
  std::fflush(file);
}

}  // namespace brevandor
