#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <vector>

#include "enumerators/log_table.h"
#include "logmath/simd_log_add.h"
#include "turbo/turbo_code.h"

// The parts of the parallel spectrum engines, shared by the reference and the fast one and
// nothing else.
namespace brevandor::detail {

// The sizes of the parallel spectrum stage.
struct ParallelShape {
  std::int32_t frameLength = 0;   // N
  std::int32_t maxWeight = 0;     // D, the last codeword weight
  std::int32_t maxCounted = 0;    // P, the largest counted weight of any constituent
  bool inputBitsSentOnce = true;  // systematic constituents: p counts parity only
  std::int32_t constituentCount = 2;
  // P of each constituent: its table is read in rows 0 … P (codes and patterns may differ).
  std::array<std::int32_t, TurboCode::kMaxConstituents> counted{};
};

// The sizes of the parallel spectrum stage of `turbo`, whose tables are computed.
ParallelShape parallelShapeOf(const TurboCode& turbo);

// Positions first … last of a row that may hold counts (first > last: none).
struct RowSpan {
  std::int32_t first = 0;
  std::int32_t last = -1;

  bool empty() const { return first > last; }
};

// The product over the constituents for one input weight w: row[p] is log10 of the
// average number of turbo codewords of input weight w and counted weight p, the additions
// into every cell made in the reference's order. Terms that cannot change a cell's rounded
// sum are left out: each is more than 10^24 times smaller than another term of the same
// cell, and even N of them together move the sum by less than 10^−20 of itself. Rows and
// columns are of Cell, the precision of the tables.
template <typename Cell>
class ParallelRowBuilder {
 public:
  using Kernels = BasicLogAddRowKernels<Cell>;

  // `interleavings` holds log10 C(N, w) for every w (log10BinomialRow(N)).
  ParallelRowBuilder(const ParallelShape& shape, const Kernels& kernels,
                     const std::vector<double>& interleavings);

  // Computes the row of input weight w from column w of each constituent's table
  // (`columns`[c], P_c + 1 cells) into `row` (D + 1 cells, every cell written). Returns
  // where it may hold counts; `overflows` gets the number of terms whose weight passed D
  // (each a " oops \n" in the log).
  RowSpan build(std::int32_t w, std::span<const Cell* const> columns, Cell* row,
                std::int64_t& overflows);

 private:
  // One constituent more: next = current × column / C(N, w).
  RowSpan multiply(const Cell* current, RowSpan span, const Cell* column, RowSpan columnSpan,
                   double interleavings, Cell* next, std::int64_t& overflows);
  // The largest entry of every block of the column, for skipping whole blocks of terms.
  void markColumnMaxima(const Cell* column, RowSpan columnSpan);
  // A lower bound on every cell of the product, from every fourth partial-product entry.
  void boundCells(const Cell* current, RowSpan span, const Cell* column, RowSpan columnSpan,
                  RowSpan product);

  ParallelShape shape_;
  const Kernels& kernels_;
  const std::vector<double>& interleavings_;
  std::vector<Cell> work_[2];        // partial products between constituents
  std::vector<Cell> floor_;          // per cell: terms below this are left out
  std::vector<Cell> floorMinimum_;   // per block of cells: the lowest floor
  std::vector<Cell> columnMaximum_;  // per block of the column: its largest entry
};

// Copies columns first … first + count − 1 of `table`, rows 0 … lastRow, into `columns`
// (count blocks of lastRow + 1 cells): the column of one input weight made contiguous.
template <typename Cell>
void gatherColumns(const BasicLogTable<Cell>& table, std::int32_t first, std::int32_t count,
                   std::int32_t lastRow, Cell* columns);

}  // namespace brevandor::detail
