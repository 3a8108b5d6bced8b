#include "turbo/parallel_spectrum_rows.h"

#include <algorithm>
#include <limits>

#include "logmath/log_domain.h"

namespace brevandor::detail {

ParallelShape parallelShapeOf(const TurboCode& turbo) {
  ParallelShape shape{turbo.frameLengths[0], turbo.outputFrameLength, 0, turbo.addsInputWeight(),
                      turbo.constituentCount};
  for (std::int32_t c = 0; c < turbo.constituentCount; ++c) {
    const auto index = static_cast<std::size_t>(c);
    shape.counted[index] = turbo.enumerators[index]->layerMaxWeight(*turbo.codes[index]);
    shape.maxCounted = std::max(shape.maxCounted, shape.counted[index]);
  }
  return shape;
}

namespace {

template <typename Cell>
constexpr Cell kNone = -std::numeric_limits<Cell>::infinity();
// Orders of ten below a cell's lower bound from which a term is left out, plus one for the
// single-precision rounding of the bound.
constexpr float kNegligibleOrders = 24.0f + 1.0f;
// Cells per block of the bound tests that skip whole runs of terms.
constexpr std::int32_t kBlock = 64;
// Every how many partial-product entries the lower bound looks at.
constexpr std::int32_t kBoundStride = 4;

template <typename Cell>
RowSpan countedSpan(const Cell* row, std::int32_t last) {
  RowSpan span{0, -1};
  std::int32_t first = 0;
  while (first <= last && row[first] == kLogZeroCell<Cell>) {
    ++first;
  }
  if (first > last) {
    return span;
  }
  while (row[last] == kLogZeroCell<Cell>) {
    --last;
  }
  return RowSpan{first, last};
}

std::size_t blocksFor(std::int32_t cells) {
  return static_cast<std::size_t>(cells / kBlock) + 1;
}

}  // namespace

template <typename Cell>
void gatherColumns(const BasicLogTable<Cell>& table, std::int32_t first, std::int32_t count,
                   std::int32_t lastRow, Cell* columns) {
  const auto height = static_cast<std::size_t>(lastRow) + 1;
  for (std::int32_t d = 0; d <= lastRow; ++d) {
    const Cell* source = table.row(d) + first;
    for (std::int32_t c = 0; c < count; ++c) {
      columns[static_cast<std::size_t>(c) * height + static_cast<std::size_t>(d)] = source[c];
    }
  }
}

template <typename Cell>
ParallelRowBuilder<Cell>::ParallelRowBuilder(const ParallelShape& shape, const Kernels& kernels,
                                             const std::vector<double>& interleavings)
    : shape_(shape), kernels_(kernels), interleavings_(interleavings) {
  const auto cells = static_cast<std::size_t>(shape.maxWeight) + 1;
  if (shape.constituentCount > 2) {
    work_[0].resize(cells);
    work_[1].resize(cells);
  }
  floor_.resize(cells);
  floorMinimum_.resize(blocksFor(shape.maxWeight));
  columnMaximum_.resize(blocksFor(shape.maxCounted));
}

template <typename Cell>
RowSpan ParallelRowBuilder<Cell>::build(std::int32_t w, std::span<const Cell* const> columns,
                                        Cell* row, std::int64_t& overflows) {
  std::fill(row, row + shape_.maxWeight + 1, kLogZeroCell<Cell>);
  const Cell* const first = columns[0];
  RowSpan span = countedSpan(first, shape_.counted[0]);
  if (shape_.constituentCount == 1 || span.empty()) {
    std::copy(first + span.first, first + span.last + 1, row + span.first);
    return span;
  }
  const double interleavings = interleavings_[static_cast<std::size_t>(w)];
  const Cell* current = first;
  for (std::int32_t c = 1; c < shape_.constituentCount; ++c) {
    const Cell* column = columns[static_cast<std::size_t>(c)];
    const RowSpan columnSpan = countedSpan(column, shape_.counted[static_cast<std::size_t>(c)]);
    if (columnSpan.empty()) {
      // No word of weight w in this constituent: no product either; `row` stays LogZero.
      return RowSpan{};
    }
    markColumnMaxima(column, columnSpan);
    const bool last = c + 1 == shape_.constituentCount;
    Cell* next = last ? row : work_[static_cast<std::size_t>(c % 2)].data();
    span = multiply(current, span, column, columnSpan, interleavings, next, overflows);
    current = next;
  }
  return span;
}

template <typename Cell>
void ParallelRowBuilder<Cell>::markColumnMaxima(const Cell* column, RowSpan columnSpan) {
  for (std::int32_t b = columnSpan.first / kBlock; b <= columnSpan.last / kBlock; ++b) {
    const std::int32_t first = std::max(columnSpan.first, b * kBlock);
    const std::int32_t last = std::min(columnSpan.last, b * kBlock + kBlock - 1);
    Cell largest = kNone<Cell>;
    for (std::int32_t i = first; i <= last; ++i) {
      if (column[i] != kLogZeroCell<Cell>) {
        largest = std::max(largest, column[i]);
      }
    }
    columnMaximum_[static_cast<std::size_t>(b)] = largest;
  }
}

template <typename Cell>
void ParallelRowBuilder<Cell>::boundCells(const Cell* current, RowSpan span, const Cell* column,
                                          RowSpan columnSpan, RowSpan product) {
  std::fill(floor_.begin() + product.first, floor_.begin() + product.last + 1, kNone<Cell>);
  for (std::int32_t j = span.first; j <= span.last; j += kBoundStride) {
    const std::int32_t last = std::min(columnSpan.last, shape_.maxWeight - j);
    if (current[j] == kLogZeroCell<Cell> || last < columnSpan.first) {
      continue;
    }
    kernels_.maxTerms(floor_.data() + j + columnSpan.first, column + columnSpan.first,
                      static_cast<std::size_t>(last - columnSpan.first + 1), current[j]);
  }
}

template <typename Cell>
RowSpan ParallelRowBuilder<Cell>::multiply(const Cell* current, RowSpan span, const Cell* column,
                                           RowSpan columnSpan, double interleavings, Cell* next,
                                           std::int64_t& overflows) {
  const RowSpan product{span.first + columnSpan.first,
                        std::min(shape_.maxWeight, span.last + columnSpan.last)};
  if (span.empty() || product.empty()) {
    return RowSpan{};
  }
  std::fill(next + product.first, next + product.last + 1, kLogZeroCell<Cell>);
  if (span.last + columnSpan.last > shape_.maxWeight) {
    for (std::int32_t j = span.first; j <= span.last; ++j) {
      for (std::int32_t i = std::max(columnSpan.first, shape_.maxWeight - j + 1);
           current[j] != kLogZeroCell<Cell> && i <= columnSpan.last; ++i) {
        overflows += column[i] != kLogZeroCell<Cell> ? 1 : 0;
      }
    }
  }

  // The lower bound, turned into the floor below which terms are left out.
  boundCells(current, span, column, columnSpan, product);
  const auto drop = static_cast<Cell>(static_cast<Cell>(interleavings) + kNegligibleOrders);
  for (std::int32_t k = product.first; k <= product.last; ++k) {
    floor_[k] -= drop;
  }
  for (std::int32_t b = product.first / kBlock; b <= product.last / kBlock; ++b) {
    const std::int32_t first = std::max(product.first, b * kBlock);
    const std::int32_t last = std::min(product.last, b * kBlock + kBlock - 1);
    floorMinimum_[static_cast<std::size_t>(b)] =
        *std::min_element(floor_.begin() + first, floor_.begin() + last + 1);
  }

  // The terms, partial-product entries in increasing order as the reference adds them;
  // runs of column blocks whose largest term lies below every floor it could reach are
  // skipped whole.
  for (std::int32_t j = span.first; j <= span.last; ++j) {
    if (current[j] == kLogZeroCell<Cell>) {
      continue;
    }
    const double x = static_cast<double>(current[j]) - interleavings;
    const std::int32_t lastTerm = std::min(columnSpan.last, shape_.maxWeight - j);
    std::int32_t runFirst = -1;
    std::int32_t runLast = -1;
    auto flush = [&] {
      if (runFirst >= 0) {
        kernels_.addTermsAbove(next + j + runFirst, column + runFirst, floor_.data() + j + runFirst,
                               static_cast<std::size_t>(runLast - runFirst + 1), x, 0.0);
        runFirst = -1;
      }
    };
    for (std::int32_t b = columnSpan.first / kBlock; b <= lastTerm / kBlock; ++b) {
      const std::int32_t first = std::max(columnSpan.first, b * kBlock);
      const std::int32_t last = std::min(lastTerm, b * kBlock + kBlock - 1);
      const Cell lowest = std::min(floorMinimum_[static_cast<std::size_t>((j + first) / kBlock)],
                                   floorMinimum_[static_cast<std::size_t>((j + last) / kBlock)]);
      if (x + static_cast<double>(columnMaximum_[static_cast<std::size_t>(b)]) < lowest) {
        flush();
        continue;
      }
      if (runFirst < 0) {
        runFirst = first;
      }
      runLast = last;
    }
    flush();
  }
  return product;
}

template void gatherColumns(const BasicLogTable<float>&, std::int32_t, std::int32_t, std::int32_t,
                            float*);
template void gatherColumns(const BasicLogTable<double>&, std::int32_t, std::int32_t, std::int32_t,
                            double*);
template class ParallelRowBuilder<float>;
template class ParallelRowBuilder<double>;

}  // namespace brevandor::detail
