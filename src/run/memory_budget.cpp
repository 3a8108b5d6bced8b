#include "run/memory_budget.h"

#include <pthread.h>
#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <initializer_list>
#include <sstream>

namespace brevandor {

namespace {

// The number a control-group file holds; nothing for "max", a missing file or a limit so
// large that it means none.
std::optional<std::uint64_t> readLimit(const std::filesystem::path& path) {
  std::ifstream in(path);
  std::uint64_t value = 0;
  if (!(in >> value) || value >= (std::uint64_t{1} << 62)) {
    return std::nullopt;
  }
  return value;
}

std::optional<std::uint64_t> smallest(std::initializer_list<std::optional<std::uint64_t>> values) {
  std::optional<std::uint64_t> least;
  for (const auto& value : values) {
    if (value && (!least || *value < *least)) {
      least = value;
    }
  }
  return least;
}

// The headroom of the group at `group` and of every group above it up to `root`.
std::optional<std::uint64_t> headroomUpTo(const std::filesystem::path& root,
                                          std::filesystem::path group, const char* limitName,
                                          const char* usageName) {
  std::optional<std::uint64_t> least;
  while (true) {
    if (const auto limit = readLimit(group / limitName)) {
      const std::uint64_t used = readLimit(group / usageName).value_or(0);
      least = smallest({least, *limit > used ? *limit - used : 0});
    }
    if (group == root || !group.has_relative_path() || group.parent_path() == group) {
      return least;
    }
    group = group.parent_path();
  }
}

}  // namespace

std::optional<std::uint64_t> machineAvailableBytes() {
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

std::optional<std::uint64_t> addressSpaceHeadroomBytes() {
  rlimit limit{};
  if (getrlimit(RLIMIT_AS, &limit) != 0 || limit.rlim_cur == RLIM_INFINITY) {
    return std::nullopt;
  }
  std::ifstream statm("/proc/self/statm");
  std::uint64_t pages = 0;
  statm >> pages;
  const std::uint64_t mapped = pages * static_cast<std::uint64_t>(sysconf(_SC_PAGESIZE));
  return limit.rlim_cur > mapped ? limit.rlim_cur - mapped : 0;
}

std::optional<std::uint64_t> controlGroupHeadroomBytes(const std::filesystem::path& root,
                                                       const std::filesystem::path& membership) {
  std::ifstream in(membership);
  std::string line;
  std::optional<std::uint64_t> least;
  // Lines "0::/path" (unified) and "4:memory:/path" (memory controller).
  while (std::getline(in, line)) {
    const std::size_t first = line.find(':');
    const std::size_t second = line.find(':', first + 1);
    if (first == std::string::npos || second == std::string::npos) {
      continue;
    }
    const std::string controllers = line.substr(first + 1, second - first - 1);
    const std::string relative = line.substr(second + 1);
    const bool unified = controllers.empty();
    std::istringstream names(controllers);
    std::string name;
    bool memory = false;
    while (std::getline(names, name, ',')) {
      memory = memory || name == "memory";
    }
    if (!unified && !memory) {
      continue;
    }
    const std::filesystem::path base = unified ? root : root / "memory";
    const std::filesystem::path below = std::filesystem::path(relative).relative_path();
    std::filesystem::path group = below.empty() ? base : base / below;
    // Inside a container the group's own folder is often mounted as the root.
    if (!std::filesystem::exists(group)) {
      group = base;
    }
    least = smallest({least, unified ? headroomUpTo(base, group, "memory.max", "memory.current")
                                     : headroomUpTo(base, group, "memory.limit_in_bytes",
                                                    "memory.usage_in_bytes")});
  }
  return least;
}

std::optional<std::uint64_t> availableMemoryBytes() {
  return smallest(
      {machineAvailableBytes(), addressSpaceHeadroomBytes(), controlGroupHeadroomBytes()});
}

namespace {

// glibc reserves each arena of a thread as one heap of twice the largest mmap threshold.
constexpr std::uint64_t kArenaBytes = 64ull << 20;
// The allocator's own share: headers, page rounding of large blocks, the small blocks of the
// stages' bookkeeping; a few MB and a few per cent of the tables.
constexpr std::uint64_t kAllocatorSlackBytes = 16ull << 20;
constexpr std::uint64_t kAllocatorSlackShare = 32;  // one part in this many of the peak

}  // namespace

std::uint64_t threadReserveBytes() {
  std::uint64_t stack = 8ull << 20;
  pthread_attr_t defaults;
  if (pthread_getattr_default_np(&defaults) == 0) {
    std::size_t size = 0;
    if (pthread_attr_getstacksize(&defaults, &size) == 0 && size > 0) {
      stack = size;
    }
    pthread_attr_destroy(&defaults);
  }
  return stack + static_cast<std::uint64_t>(sysconf(_SC_PAGESIZE)) + kArenaBytes;
}

std::optional<MemoryShortfall> memoryShortfall(std::uint64_t peakBytes, int extraThreads) {
  const std::uint64_t bytes = peakBytes + kAllocatorSlackBytes + peakBytes / kAllocatorSlackShare;
  if (const auto memory = smallest({machineAvailableBytes(), controlGroupHeadroomBytes()});
      memory && bytes > *memory) {
    return MemoryShortfall{bytes, *memory};
  }
  const std::uint64_t addressSpace =
      bytes + static_cast<std::uint64_t>(std::max(extraThreads, 0)) * threadReserveBytes();
  if (const auto headroom = addressSpaceHeadroomBytes(); headroom && addressSpace > *headroom) {
    return MemoryShortfall{addressSpace, *headroom};
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
