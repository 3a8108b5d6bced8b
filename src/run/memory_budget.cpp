#include "run/memory_budget.h"

#include <cstdio>
#include <fstream>
#include <sstream>

namespace brevandor {

std::optional<std::uint64_t> availableMemoryBytes() {
  std::ifstream meminfo("/proc/meminfo");
  std::string line;
  while (std::getline(meminfo, line)) {
    std::istringstream fields(line);
    std::string key;
    std::uint64_t kibibytes = 0;
    if (fields >> key >> kibibytes && key == "MemAvailable:") {
      return kibibytes * 1024;
    }
  }
  return std::nullopt;
}

std::string formatBytes(std::uint64_t bytes) {
  char text[32];
  const auto value = static_cast<double>(bytes);
  if (bytes < 1000) {
    std::snprintf(text, sizeof text, "%llu bytes", static_cast<unsigned long long>(bytes));
  } else if (bytes < 1000 * 1000) {
    std::snprintf(text, sizeof text, "%.1f kB", value / 1e3);
  } else if (bytes < 1000ull * 1000 * 1000) {
    std::snprintf(text, sizeof text, "%.1f MB", value / 1e6);
  } else {
    std::snprintf(text, sizeof text, "%.1f GB", value / 1e9);
  }
  return text;
}

}  // namespace brevandor
