#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace brevandor {

// Memory the machine can give a new allocation now (MemAvailable of /proc/meminfo), or
// nothing where the system does not say.
std::optional<std::uint64_t> availableMemoryBytes();

// A byte count for people: "812 bytes", "3.4 MB", "7.3 GB" (powers of 1000).
std::string formatBytes(std::uint64_t bytes);

}  // namespace brevandor
