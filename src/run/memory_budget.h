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

// Address space that each worker thread takes beyond the run's tables, though hardly any
// memory: its stack (the system's default size for a new thread) and the allocator's arena
// that a thread allocating on its own gets (64 MiB reserved on a 64-bit system).
std::uint64_t threadReserveBytes();

// What a run needs that the process cannot have, and what it can: the bytes needed at the
// run's peak against the smallest of the memory available and the control group's headroom,
// and those bytes with the address space of `extraThreads` more threads against the headroom
// under the address-space limit; both with the allocator's own overhead.
struct MemoryShortfall {
  std::uint64_t needed = 0;
  std::uint64_t available = 0;
};
std::optional<MemoryShortfall> memoryShortfall(std::uint64_t peakBytes, int extraThreads);

// A byte count for people: "812 bytes", "3.4 MB", "7.3 GB" (powers of 1000).
std::string formatBytes(std::uint64_t bytes);

}  // namespace brevandor
