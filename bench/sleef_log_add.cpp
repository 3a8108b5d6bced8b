// A double-precision log-add from the SLEEF library's vector exp10 and log1p, to compare a
// library kernel with the hand-written one. Compiled for AVX2 + FMA; used only when SLEEF
// was found and the processor runs AVX2.

#include <algorithm>
#include <chrono>
#include <random>
#include <vector>

#include "bench/kernel_throughput.h"
#include "logmath/simd_log_add.h"

#if defined(BREVANDOR_BENCH_WITH_SLEEF)
#include <immintrin.h>
#include <sleef.h>
#endif

namespace brevandor::bench {

double sleefLogAddRate(float magnitude) {
#if defined(BREVANDOR_BENCH_WITH_SLEEF)
  if (avx2RowKernels<float>() == nullptr) {
    return 0.0;
  }
  constexpr std::size_t kLength = 1 << 14;
  std::mt19937 generator(2024);
  std::uniform_real_distribution<double> value(magnitude / 2, magnitude);
  std::uniform_real_distribution<double> step(-2.0, 2.0);
  std::vector<double> a(kLength), b(kLength), out(kLength);
  for (std::size_t i = 0; i < kLength; ++i) {
    a[i] = value(generator);
    b[i] = std::max(0.0, a[i] + step(generator));
  }
  const __m256d invLn10 = _mm256_set1_pd(0.434294481903251828);
  double best = 1e300;
  for (int pass = 0; pass < 200; ++pass) {
    const auto start = std::chrono::steady_clock::now();
    for (std::size_t i = 0; i < kLength; i += 4) {
      const __m256d x = _mm256_loadu_pd(a.data() + i);
      const __m256d y = _mm256_loadu_pd(b.data() + i);
      const __m256d m = _mm256_max_pd(x, y);
      const __m256d power = Sleef_exp10d4_u10avx2(_mm256_sub_pd(_mm256_min_pd(x, y), m));
      _mm256_storeu_pd(out.data() + i, _mm256_fmadd_pd(Sleef_log1pd4_u10avx2(power), invLn10, m));
    }
    best = std::min(
        best, std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
  }
  return static_cast<double>(kLength) / best;
#else
  (void)magnitude;
  return 0.0;
#endif
}

}  // namespace brevandor::bench
