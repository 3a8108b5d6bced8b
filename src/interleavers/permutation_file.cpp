#include "interleavers/permutation_file.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <system_error>

namespace brevandor {

namespace {

// The index a word names, or −1 when it is not a decimal number below `length`.
std::int64_t indexOf(const std::string& word, std::int32_t length) {
  if (word.empty() || word.size() > 10) {
    return -1;
  }
  std::int64_t value = 0;
  for (const char c : word) {
    if (c < '0' || c > '9') {
      return -1;
    }
    value = value * 10 + (c - '0');
  }
  return value < length ? value : -1;
}

}  // namespace

PermutationOutcome readPermutationFile(const std::string& path, std::int32_t length) {
  const std::string name = "file:" + path;
  std::error_code error;
  if (!std::filesystem::is_regular_file(path, error)) {
    return PermutationOutcome::refused(name + ": cannot open '" + path +
                                       "': " + (error ? error.message() : "not a regular file"));
  }
  const std::uintmax_t bytes = std::filesystem::file_size(path, error);
  if (!error && bytes > kMaxPermutationFileBytes) {
    return PermutationOutcome::refused(name + ": the file has " + std::to_string(bytes) +
                                       " bytes, more than a permutation file may have (" +
                                       std::to_string(kMaxPermutationFileBytes) + ")");
  }
  std::ifstream in(path);
  if (!in) {
    return PermutationOutcome::refused(name + ": cannot open '" + path +
                                       "': " + std::strerror(errno));
  }
  Permutation result;
  result.indices.reserve(static_cast<std::size_t>(std::max(length, 0)));
  std::vector<bool> seen(static_cast<std::size_t>(std::max(length, 0)), false);
  std::string word;
  while (in >> word) {
    const std::size_t position = result.indices.size();
    if (position == seen.size()) {
      return PermutationOutcome::refused(name + ": more than N = " + std::to_string(length) +
                                         " indices");
    }
    const std::int64_t index = indexOf(word, length);
    if (index < 0) {
      return PermutationOutcome::refused(name + ": word " + std::to_string(position + 1) + " ('" +
                                         word.substr(0, 20) + "') is not an index 0 … " +
                                         std::to_string(length - 1));
    }
    if (seen[static_cast<std::size_t>(index)]) {
      return PermutationOutcome::refused(name + ": index " + std::to_string(index) +
                                         " appears twice; the file is not a permutation");
    }
    seen[static_cast<std::size_t>(index)] = true;
    result.indices.push_back(static_cast<std::int32_t>(index));
  }
  if (in.bad()) {
    return PermutationOutcome::refused(name + ": reading failed");
  }
  if (result.size() != length) {
    return PermutationOutcome::refused(name + ": " + std::to_string(result.size()) +
                                       " indices, but the frame has N = " + std::to_string(length));
  }
  return {std::move(result), {}};
}

}  // namespace brevandor
