#pragma once

#include <cstdint>
#include <cstdio>
#include <string_view>

namespace brevandor {

// The first section of a run that bounds a spectrum read from a file: the file's path as
// given, n, K and the rate. Flushes the file.
void printSpectrumInput(std::FILE* file, std::string_view path, std::int32_t codeLength,
                        std::int32_t infoBits);

}  // namespace brevandor
