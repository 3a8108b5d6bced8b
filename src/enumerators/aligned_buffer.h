#pragma once

#include <cstddef>
#include <cstdlib>
#include <memory>
#include <new>

namespace brevandor {

// One contiguous block of `count` values of T aligned to 64 bytes (a cache line, and
// enough for any vector load). Contents start undefined. Throws std::bad_alloc when the
// memory cannot be had.
template <typename T>
class AlignedBuffer {
 public:
  static constexpr std::size_t kAlignment = 64;

  AlignedBuffer() = default;
  explicit AlignedBuffer(std::size_t count) : count_(count) {
    if (count == 0) {
      return;
    }
    const std::size_t bytes = (count * sizeof(T) + kAlignment - 1) / kAlignment * kAlignment;
    void* block = std::aligned_alloc(kAlignment, bytes);
    if (block == nullptr) {
      throw std::bad_alloc();
    }
    data_.reset(static_cast<T*>(block));
  }

  T* data() { return data_.get(); }
  const T* data() const { return data_.get(); }
  std::size_t size() const { return count_; }
  bool empty() const { return data_ == nullptr; }
  void reset() {
    data_.reset();
    count_ = 0;
  }

 private:
  struct FreeDeleter {
    void operator()(T* block) const { std::free(block); }
  };
  std::unique_ptr<T, FreeDeleter> data_;
  std::size_t count_ = 0;
};

}  // namespace brevandor
