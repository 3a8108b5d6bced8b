#include "bench/kernel_throughput.h"

#include <algorithm>
#include <chrono>
#include <random>

#include "logmath/log_domain.h"
#include "logmath/simd_log_add.h"

namespace brevandor::bench {

namespace {

// Two rows of neighbouring log counts, as one CWEF section combines them.
struct Rows {
  std::vector<float> first;
  std::vector<float> second;
  std::vector<float> out;
};

Rows countRows(float magnitude, std::size_t length) {
  std::mt19937 generator(2024);
  std::uniform_real_distribution<float> value(magnitude / 2, magnitude);
  std::uniform_real_distribution<float> step(-2.0f, 2.0f);
  Rows rows{std::vector<float>(length), std::vector<float>(length), std::vector<float>(length)};
  for (std::size_t i = 0; i < length; ++i) {
    rows.first[i] = value(generator);
    rows.second[i] = std::max(0.0f, rows.first[i] + step(generator));
  }
  return rows;
}

// Additions per second of `add` over the rows: the best of several passes.
template <typename Add>
double bestRate(Rows& rows, int passes, Add add) {
  double best = 1e300;
  for (int pass = 0; pass < passes; ++pass) {
    const auto start = std::chrono::steady_clock::now();
    add(rows);
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    best = std::min(best, seconds);
  }
  return static_cast<double>(rows.first.size()) / best;
}

}  // namespace

std::vector<KernelRate> measureLogAddRates(float magnitude) {
  std::vector<KernelRate> rates;
  Rows rows = countRows(magnitude, 1 << 14);
  rates.push_back({"logAdd (scalar, double)", bestRate(rows, 20, [](Rows& r) {
                     for (std::size_t i = 0; i < r.first.size(); ++i) {
                       r.out[i] = static_cast<float>(logAdd(r.first[i], r.second[i]));
                     }
                   })});
  for (const LogAddRowKernels* kernels : {avx2RowKernels<float>(), avx512RowKernels<float>()}) {
    if (kernels == nullptr) {
      continue;
    }
    rates.push_back({std::string(kernels->name) + " sumPairs (float path + double fallback)",
                     bestRate(rows, 200, [kernels](Rows& r) {
                       kernels->sumPairs(r.out.data(), r.first.data(), r.second.data(),
                                         r.first.size());
                     })});
    std::vector<double> sums(rows.first.size());
    rates.push_back({std::string(kernels->name) + " accumulate (double)",
                     bestRate(rows, 200, [kernels, &sums](Rows& r) {
                       std::copy(r.first.begin(), r.first.end(), sums.begin());
                       kernels->accumulate(sums.data(), r.second.data(), r.second.size());
                     })});
  }
  if (const double sleef = sleefLogAddRate(magnitude); sleef > 0.0) {
    rates.push_back({"SLEEF exp10 + log1p (avx2, double)", sleef});
  }
  return rates;
}

}  // namespace brevandor::bench
