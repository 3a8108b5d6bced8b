#pragma once

#include <cassert>
#include <cstddef>
#include <cstdint>
#include <span>

#include "enumerators/aligned_buffer.h"

namespace brevandor {

// The log-domain zero of the single-precision tables: a count of zero paths.
inline constexpr float kLogZeroFloat = -308.0f;

// The log-domain zero in a table's own cell type.
template <typename Cell>
inline constexpr Cell kLogZeroCell = static_cast<Cell>(-308.0);

// Pads a row of `columns` cells to whole cache lines so that every row starts aligned.
template <typename Cell>
constexpr std::size_t paddedStride(std::size_t columns) {
  constexpr std::size_t perLine = 64 / sizeof(Cell);
  return (columns + perLine - 1) / perLine * perLine;
}
constexpr std::size_t paddedRowStride(std::size_t columns) {
  return paddedStride<float>(columns);
}

// A table of `blocks` × `rows` × `columns` log10 counts in one aligned block, the column
// (input weight) index innermost and contiguous. A two-index table is one block. Cells are
// floats (LogTable), or doubles where a run asks for double-precision tables.
template <typename Cell>
class BasicLogTable {
 public:
  BasicLogTable() = default;
  BasicLogTable(std::int32_t blocks, std::int32_t rows, std::int32_t columns)
      : blocks_(blocks),
        rows_(rows),
        columns_(columns),
        stride_(paddedStride<Cell>(static_cast<std::size_t>(columns))),
        cells_(static_cast<std::size_t>(blocks) * static_cast<std::size_t>(rows) * stride_) {}

  // Bytes that a table of this shape takes.
  static std::uint64_t bytesFor(std::int64_t blocks, std::int64_t rows, std::int64_t columns) {
    return static_cast<std::uint64_t>(blocks) * static_cast<std::uint64_t>(rows) *
           paddedStride<Cell>(static_cast<std::size_t>(columns)) * sizeof(Cell);
  }

  bool exists() const { return !cells_.empty(); }
  std::int32_t blocks() const { return blocks_; }
  std::int32_t rows() const { return rows_; }
  std::int32_t columns() const { return columns_; }
  std::size_t stride() const { return stride_; }

  Cell* row(std::int32_t block, std::int32_t row) {
    assert(block >= 0 && block < blocks_ && row >= 0 && row < rows_);
    return cells_.data() + (static_cast<std::size_t>(block) * rows_ + row) * stride_;
  }
  const Cell* row(std::int32_t block, std::int32_t row) const {
    assert(block >= 0 && block < blocks_ && row >= 0 && row < rows_);
    return cells_.data() + (static_cast<std::size_t>(block) * rows_ + row) * stride_;
  }
  Cell* row(std::int32_t r) { return row(0, r); }
  const Cell* row(std::int32_t r) const { return row(0, r); }

  Cell& at(std::int32_t block, std::int32_t r, std::int32_t column) {
    assert(column >= 0 && column < columns_);
    return row(block, r)[column];
  }
  Cell at(std::int32_t block, std::int32_t r, std::int32_t column) const {
    assert(column >= 0 && column < columns_);
    return row(block, r)[column];
  }
  Cell& at(std::int32_t r, std::int32_t column) { return at(0, r, column); }
  Cell at(std::int32_t r, std::int32_t column) const { return at(0, r, column); }

  // Sets every cell of every block to `value`.
  void fill(Cell value) {
    Cell* cells = cells_.data();
    for (std::size_t i = 0; i < cells_.size(); ++i) {
      cells[i] = value;
    }
  }

  void release() {
    cells_.reset();
    blocks_ = rows_ = columns_ = 0;
    stride_ = 0;
  }

 private:
  std::int32_t blocks_ = 0;
  std::int32_t rows_ = 0;
  std::int32_t columns_ = 0;
  std::size_t stride_ = 0;
  AlignedBuffer<Cell> cells_;
};

using LogTable = BasicLogTable<float>;
using LogTableDouble = BasicLogTable<double>;

}  // namespace brevandor
