#include "bench/row_kernel_rates.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <functional>
#include <random>

#include "logmath/log_domain.h"
#include "logmath/simd_log_add.h"

namespace brevandor::bench {

namespace {

constexpr std::size_t kCells = 1 << 14;
constexpr std::size_t kFoldColumns = 256;  // foldRows: 64 rows of 256 columns

// The rows one timing works on: two rows of neighbouring counts, a sum row, a floor a little
// below it, and scratch rows the kernels write, refilled before every call.
template <typename Cell>
struct Rows {
  std::vector<Cell> first;
  std::vector<Cell> second;
  std::vector<Cell> floor;
  std::vector<Cell> out;
  std::vector<double> sums;
  std::vector<const Cell*> foldRows;
  std::vector<double> shift;
};

template <typename Cell>
Rows<Cell> countRows(float magnitude) {
  std::mt19937 generator(2024);
  std::uniform_real_distribution<float> value(magnitude / 2, magnitude);
  std::uniform_real_distribution<float> step(-2.0f, 2.0f);
  Rows<Cell> rows;
  for (std::size_t i = 0; i < kCells; ++i) {
    const float a = value(generator);
    rows.first.push_back(a);
    rows.second.push_back(std::max(0.0f, a + step(generator)));
    rows.floor.push_back(a - 6.0f);
  }
  rows.out.resize(kCells);
  rows.sums.resize(kCells);
  for (std::size_t r = 0; r < kCells / kFoldColumns; ++r) {
    rows.foldRows.push_back(rows.first.data() + r * kFoldColumns);
  }
  for (std::size_t c = 0; c < kFoldColumns; ++c) {
    rows.shift.push_back(std::log10(static_cast<double>(c + 1) / kFoldColumns));
  }
  return rows;
}

// One row kernel as the benchmark calls it: `prepare` refills what the call overwrites
// (untimed), `call` is timed.
template <typename Cell>
struct KernelCall {
  const char* name;
  std::function<void(Rows<Cell>&)> prepare;
  std::function<void(const BasicLogAddRowKernels<Cell>&, Rows<Cell>&)> call;
};

template <typename Cell>
std::vector<KernelCall<Cell>> kernelCalls() {
  using Kernels = BasicLogAddRowKernels<Cell>;
  const auto refillOut = [](Rows<Cell>& r) {
    std::copy(r.first.begin(), r.first.end(), r.out.begin());
  };
  const auto refillSums = [](Rows<Cell>& r) {
    std::copy(r.first.begin(), r.first.end(), r.sums.begin());
  };
  return {
      {"sumPairs", [](Rows<Cell>&) {},
       [](const Kernels& k, Rows<Cell>& r) {
         k.sumPairs(r.out.data(), r.first.data(), r.second.data(), kCells);
       }},
      {"addTerms", refillOut,
       [](const Kernels& k, Rows<Cell>& r) {
         k.addTerms(r.out.data(), r.second.data(), kCells, 0.3125, 0.0625);
       }},
      {"addTermsAbove", refillOut,
       [](const Kernels& k, Rows<Cell>& r) {
         k.addTermsAbove(r.out.data(), r.second.data(), r.floor.data(), kCells, 0.3125, 0.0625);
       }},
      {"accumulate", refillSums,
       [](const Kernels& k, Rows<Cell>& r) {
         k.accumulate(r.sums.data(), r.second.data(), kCells);
       }},
      {"foldRows", refillSums,
       [](const Kernels& k, Rows<Cell>& r) {
         k.foldRows(r.sums.data(), r.foldRows.data(), r.foldRows.size(), kFoldColumns,
                    r.shift.data());
       }},
      {"maxTerms", refillOut,
       [](const Kernels& k, Rows<Cell>& r) {
         k.maxTerms(r.out.data(), r.second.data(), kCells, static_cast<Cell>(0.5));
       }},
  };
}

// The kernel sets this processor runs for tables of Cell, the portable one first.
template <typename Cell>
std::vector<const BasicLogAddRowKernels<Cell>*> runnableSets() {
  std::vector<const BasicLogAddRowKernels<Cell>*> sets{
      &portableRowKernels<Cell>(), avx2RowKernels<Cell>(), avx512RowKernels<Cell>()};
  std::erase(sets, nullptr);
  return sets;
}

template <typename Cell>
void measure(float magnitude, int rounds, const char* precision,
             std::vector<RowKernelRate>& rates) {
  Rows<Cell> rows = countRows<Cell>(magnitude);
  const auto sets = runnableSets<Cell>();
  for (const KernelCall<Cell>& kernel : kernelCalls<Cell>()) {
    std::vector<double> best(sets.size(), 1e300);
    for (int round = 0; round < rounds; ++round) {
      for (std::size_t s = 0; s < sets.size(); ++s) {
        kernel.prepare(rows);
        const auto start = std::chrono::steady_clock::now();
        kernel.call(*sets[s], rows);
        best[s] = std::min(
            best[s],
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
      }
    }
    for (std::size_t s = 0; s < sets.size(); ++s) {
      rates.push_back({kernel.name, sets[s]->name, precision, kCells / best[s]});
    }
  }
}

}  // namespace

std::vector<RowKernelRate> measureRowKernelRates(float magnitude, int rounds) {
  std::vector<RowKernelRate> rates;
  measure<float>(magnitude, rounds, "float", rates);
  measure<double>(magnitude, rounds, "double", rates);
  return rates;
}

}  // namespace brevandor::bench
