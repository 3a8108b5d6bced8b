#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

namespace brevandor {

// Memory a new allocation of this process can have now: the smallest of what the machine
// has available, the headroom under the process's address-space limit and the headroom
// under its control group's memory limit; nothing where none of them is known.
std::optional<std::uint64_t> availableMemoryBytes();

// MemAvailable of /proc/meminfo.
std::optional<std::uint64_t> machineAvailableBytes();

// The address-space limit (RLIMIT_AS) less what the process has mapped; nothing when unlimited.
std::optional<std::uint64_t> addressSpaceHeadroomBytes();

// The smallest headroom (limit less usage) of the process's memory control group and the
// groups above it, as `membership` (the form of /proc/self/cgroup) places it under the
// hierarchy mounted at `root`: memory.max and memory.current of the unified hierarchy, or
// memory.limit_in_bytes and memory.usage_in_bytes of the older memory controller. Nothing
// when no group sets a limit.
std::optional<std::uint64_t> controlGroupHeadroomBytes(
    const std::filesystem::path& root = "/sys/fs/cgroup",
    const std::filesystem::path& membership = "/proc/self/cgroup");

// A byte count for people: "812 bytes", "3.4 MB", "7.3 GB" (powers of 1000).
std::string formatBytes(std::uint64_t bytes);

}  // namespace brevandor
