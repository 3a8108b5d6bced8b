#pragma once

#include <cstdio>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>

namespace brevandor::testing {

// Everything `write` puts into a temporary C file, read back as text.
inline std::string captureFile(const std::function<void(std::FILE*)>& write) {
  std::FILE* file = std::tmpfile();
  if (file == nullptr) {
    return "<no temporary file>";
  }
  write(file);
  std::fflush(file);
  std::rewind(file);
  std::string text;
  char buffer[4096];
  std::size_t got = 0;
  while ((got = std::fread(buffer, 1, sizeof buffer, file)) > 0) {
    text.append(buffer, got);
  }
  std::fclose(file);
  return text;
}

// The contents of a file under tests/data.
inline std::string readTestData(const std::string& name) {
  std::ifstream in(std::string(BREVANDOR_TEST_DATA_DIR) + "/" + name, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

}  // namespace brevandor::testing
