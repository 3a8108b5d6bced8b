#include "bench/low_weight_bench.h"

#include <cstdio>

#include "bench/bench_support.h"
#include "code/conv_code.h"
#include "enumerators/low_weight/low_weight_cwef.h"
#include "run/calculation_run.h"
#include "run/run_inputs.h"
#include "turbo/concatenation_type.h"

namespace brevandor::bench {

namespace {

constexpr std::int32_t kMaxWeight = 20;

// The low-weight CWEF of one parallel constituent (parity bits counted), d + w ≤ 20.
double timeCwef(int n, Engine engine, int threads, int repeat) {
  const ConvCode code(defaultCode());
  const RunContext context = contextFor(engine, threads);
  return medianSeconds(repeat, [&] {
    WeightEnumerator enumerator;
    enumerator.frameLength = n;
    const LowWeightCut cut = lowWeightCut(enumerator, code, kMaxWeight);
    allocateLowWeightTables(enumerator, code, cut);
    enumerator.computeTransferMatrix(code);
    computeLowWeightCwef(enumerator, code, cut, context);
  });
}

// A whole PCCC run with all three bounds, of the full spectrum or of d ≤ 20 only.
double timeRun(int n, std::int32_t maxWeight, int threads, int repeat) {
  RunInputs inputs;
  inputs.inputFrameLength = n;
  inputs.selectedType = ConcatenationType::Parallel;
  inputs.boundSelection = kAllBerBounds;
  inputs.maxWeight = maxWeight;
  inputs.resultsFileName = "/tmp/brevandor-bench-low-weight.txt";
  inputs.code = defaultCode();
  const RunContext context = contextFor(Engine::Fast, threads);
  return medianSeconds(repeat, [&] { CalculationRun(inputs, context).execute(); });
}

void printRow(const char* what, int n, const char* slowName, double slow, double fast) {
  std::printf("| %-34s | %7d | %-11s %9.3f | %9.4f | %8.1f |\n", what, n, slowName, slow, fast,
              slow / fast);
}

}  // namespace

void printLowWeightTable(const std::vector<int>& frameLengths, int threads, int repeat) {
  std::printf("\n### Low-weight mode, d <= %d, default code \"1+D+D^2\" over \"1+D^2\"\n\n",
              kMaxWeight);
  std::printf("| %-34s | %7s | %-21s | %9s | %8s |\n|---|---|---|---|---|\n", "Stage or run", "N",
              "slower one, s", "fast s", "ratio");
  for (const int n : frameLengths) {
    printRow("low-weight CWEF (parity only)", n, "reference",
             timeCwef(n, Engine::Reference, threads, 1),
             timeCwef(n, Engine::Fast, threads, repeat));
    if (n <= kMaxFrameLength) {
      printRow("PCCC run: low-weight against whole", n, "whole run", timeRun(n, 0, threads, 1),
               timeRun(n, kMaxWeight, threads, repeat));
    }
  }
}

}  // namespace brevandor::bench
