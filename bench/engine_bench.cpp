// brevandor-engine-bench: the fast engine against the reference engine, side by side in one
// process on the same inputs. Prints markdown tables: the log-add kernels, the hot stages
// (CWEF, parallel and serial spectrum, BER bounds) at chosen frame lengths, and whole
// calculation runs.
//
//   brevandor-engine-bench [--kernels] [--row-kernels] [--stages=512,1000] [--serial=512]
//   [--runs=1000]
//                          [--fast-runs=10000] [--low-weight=1000,100000]
//                          [--punctured=1000,4000] [--precision=1000,4000] [--threads=2]
//                          [--tail-biting=256,512] [--repeat=5] [--processor-time]
//
// --row-kernels times every row kernel of every set, both table precisions, against the
// portable set timed in the same rounds.
// --precision compares the fast engine with double-precision tables against single ones
// (CWEF, parallel spectrum, whole PCCC runs), side by side, each pair timed in turn; with
// --processor-time by the processor time of the process instead of wall time.
// --tail-biting times the CWEF of tail-biting frames (one recursion per start state) on both
// engines, with the terminated frame's fast CWEF for scale.
// Without options: --kernels --stages=512 --serial=512 --runs=1000. With --repeat=R every
// fast timing is the median of R runs (the reference is timed once: it is long and steady).

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "bench/bench_support.h"
#include "bench/cwef_cells.h"
#include "bench/kernel_throughput.h"
#include "bench/low_weight_bench.h"
#include "bench/row_kernel_rates.h"
#include "bounds/ber_bounds.h"
#include "code/code_description.h"
#include "code/conv_code.h"
#include "code/polynomial.h"
#include "code/termination.h"
#include "enumerators/weight_enumerator.h"
#include "logmath/simd_log_add.h"
#include "run/calculation_run.h"
#include "run/run_inputs.h"
#include "turbo/concatenation_type.h"
#include "turbo/turbo_code.h"

namespace brevandor::bench {
namespace {

struct Options {
  bool kernels = false;
  bool rowKernels = false;
  std::vector<int> stages;
  std::vector<int> serial;
  std::vector<int> runs;
  std::vector<int> fastRuns;
  std::vector<int> precision;
  std::vector<int> lowWeight;
  std::vector<int> punctured;
  std::vector<int> tailBiting;
  bool processorTime = false;
  int threads = 0;
  int repeat = 1;
};

Options parse(int argc, char** argv) {
  Options options;
  if (argc == 1) {
    return Options{true, false, {512}, {512}, {1000}, {}, {}, {}, {}, {}, false, 0, 1};
  }
  for (int i = 1; i < argc; ++i) {
    const std::string_view argument(argv[i]);
    const auto value = [&](std::string_view name) { return argument.substr(name.size()); };
    if (argument == "--kernels") {
      options.kernels = true;
    } else if (argument == "--row-kernels") {
      options.rowKernels = true;
    } else if (argument.starts_with("--stages=")) {
      options.stages = numbers(value("--stages="));
    } else if (argument.starts_with("--serial=")) {
      options.serial = numbers(value("--serial="));
    } else if (argument.starts_with("--runs=")) {
      options.runs = numbers(value("--runs="));
    } else if (argument.starts_with("--fast-runs=")) {
      options.fastRuns = numbers(value("--fast-runs="));
    } else if (argument.starts_with("--precision=")) {
      options.precision = numbers(value("--precision="));
    } else if (argument.starts_with("--low-weight=")) {
      options.lowWeight = numbers(value("--low-weight="));
    } else if (argument.starts_with("--punctured=")) {
      options.punctured = numbers(value("--punctured="));
    } else if (argument.starts_with("--tail-biting=")) {
      options.tailBiting = numbers(value("--tail-biting="));
    } else if (argument.starts_with("--repeat=")) {
      options.repeat = std::max(1, std::atoi(std::string(value("--repeat=")).c_str()));
    } else if (argument == "--processor-time") {
      options.processorTime = true;
    } else if (argument.starts_with("--threads=")) {
      options.threads = std::atoi(std::string(value("--threads=")).c_str());
    } else {
      std::fprintf(stderr, "unknown option %s\n", argv[i]);
      std::exit(2);
    }
  }
  return options;
}

// How many times each fast timing is repeated (its median is reported).
int gRepeat = 1;

// The reference once, the fast engine gRepeat times (median).
double timed(Engine engine, const std::function<void()>& work) {
  return medianSeconds(engine == Engine::Fast ? gRepeat : 1, work);
}

void printRow(const char* stage, int n, double reference, double fast, const std::string& note) {
  std::printf("| %-22s | %6d | %10.3f | %9.4f | %8.1f | %s |\n", stage, n, reference, fast,
              reference / fast, note.c_str());
}

void printKernels() {
  std::printf("\n### Log-add kernels (one thread, rows of neighbouring counts)\n\n");
  std::printf("| Kernel | magnitude 100 (M/s) | magnitude 1500 (M/s) |\n|---|---|---|\n");
  const std::vector<KernelRate> small = measureLogAddRates(100.0f);
  const std::vector<KernelRate> large = measureLogAddRates(1500.0f);
  for (std::size_t k = 0; k < small.size(); ++k) {
    std::printf("| %s | %.0f | %.0f |\n", small[k].name.c_str(), small[k].perSecond / 1e6,
                large[k].perSecond / 1e6);
  }
}

// Every row kernel's rate and its ratio to the portable kernel's, timed in the same rounds.
void printRowKernels() {
  std::printf("\n### Row kernels (one thread, rows of neighbouring counts, best of 200)\n\n");
  std::printf("| Kernel | cells | set | M/s at 100 | x portable | M/s at 1500 | x portable |\n");
  std::printf("|---|---|---|---|---|---|---|\n");
  const std::vector<RowKernelRate> small = measureRowKernelRates(100.0f, 200);
  const std::vector<RowKernelRate> large = measureRowKernelRates(1500.0f, 200);
  double portableSmall = 0.0;
  double portableLarge = 0.0;
  for (std::size_t k = 0; k < small.size(); ++k) {
    if (small[k].set == "portable") {
      portableSmall = small[k].perSecond;
      portableLarge = large[k].perSecond;
    }
    std::printf("| %s | %s | %s | %.0f | %.1f | %.0f | %.1f |\n", small[k].kernel.c_str(),
                small[k].precision.c_str(), small[k].set.c_str(), small[k].perSecond / 1e6,
                small[k].perSecond / portableSmall, large[k].perSecond / 1e6,
                large[k].perSecond / portableLarge);
  }
}

// The rate of the chosen row kernels on rows of counts of the size a frame of N produces.
double chosenKernelRate(int n) {
  const float magnitude = 0.15f * static_cast<float>(n);
  for (const KernelRate& rate : measureLogAddRates(magnitude)) {
    if (rate.name.starts_with(std::string(rowKernels<float>().name) + " sumPairs")) {
      return rate.perSecond;
    }
  }
  return 0.0;
}

// A parallel or serial turbo code of the default code with its CWEF tables computed.
struct Configured {
  ConvCode code{defaultCode()};
  WeightEnumerator enumerators[2];
  TurboCode turbo;
  std::vector<double> codeword;
  std::vector<double> weighted;

  Configured(ConcatenationType type, int n, int threads,
             TablePrecision precision = TablePrecision::Single)
      : turbo(type, 2) {
    turbo.attachConstituent(0, code, enumerators[0]);
    turbo.attachConstituent(1, code, enumerators[1]);
    turbo.setFrameLength(n, 3);
    const RunContext fast = contextFor(Engine::Fast, threads);
    for (WeightEnumerator& enumerator : enumerators) {
      enumerator.precision = precision;
      enumerator.allocate(code);
      enumerator.computeTransferMatrix(code);
    }
    enumerators[0].computeCwef(code, fast);
    if (type == ConcatenationType::Parallel) {
      enumerators[0].copyTo(enumerators[1], code);
    } else {
      enumerators[1].computeCwef(code, fast);
    }
    codeword.assign(static_cast<std::size_t>(turbo.outputFrameLength) + 1, 0.0);
    weighted.assign(codeword.size(), 0.0);
  }
  ~Configured() {
    for (WeightEnumerator& enumerator : enumerators) {
      enumerator.release(code);
    }
  }
};

void timeCwef(int n, int threads) {
  const ConvCode code(defaultCode());
  double time[2] = {0.0, 0.0};
  for (const Engine engine : {Engine::Reference, Engine::Fast}) {
    const RunContext context = contextFor(engine, threads);
    std::vector<double> times;
    for (int i = 0; i < (engine == Engine::Fast ? gRepeat : 1); ++i) {
      WeightEnumerator enumerator;
      enumerator.frameLength = n;
      enumerator.countsInputBits = 0;  // a parallel constituent of systematic codes
      enumerator.allocate(code);
      enumerator.computeTransferMatrix(code);
      times.push_back(seconds([&] { enumerator.computeCwef(code, context); }));
      enumerator.release(code);
    }
    std::sort(times.begin(), times.end());
    time[engine == Engine::Fast ? 1 : 0] = times[times.size() / 2];
  }
  const double cells = static_cast<double>(cwefCellUpdates(code, n, 0));
  const double rate = cells / time[1];
  const int used = contextFor(Engine::Fast, threads).workerThreads();
  const double peak = chosenKernelRate(n) * used;
  char note[160];
  std::snprintf(note, sizeof note, "%.3g cells, %.0f M cells/s = %.0f%% of %s sumPairs x %d", cells,
                rate / 1e6, 100.0 * rate / peak, rowKernels<float>().name, used);
  printRow("CWEF (parity only)", n, time[0], time[1], note);
}

void timeParallelAndBounds(int n, int threads) {
  Configured parallel(ConcatenationType::Parallel, n, threads);
  double spectrum[2] = {0.0, 0.0};
  double bounds[2] = {0.0, 0.0};
  for (const Engine engine : {Engine::Reference, Engine::Fast}) {
    const RunContext context = contextFor(engine, threads);
    const int index = engine == Engine::Fast ? 1 : 0;
    spectrum[index] = timed(engine, [&] {
      parallel.turbo.computeParallelSpectrum(parallel.codeword, parallel.weighted, context);
    });
    bounds[index] = timed(engine, [&] {
      computeBerBoundsFromLog10(parallel.turbo.rate, parallel.weighted,
                                parallel.turbo.outputFrameLength, kAllBerBounds, context);
    });
  }
  printRow("TWEF parallel", n, spectrum[0], spectrum[1], "from the same tables");
  printRow("BER bounds (all three)", n, bounds[0], bounds[1], "from the parallel spectrum");
}

void timeSerial(int n, int threads) {
  Configured serial(ConcatenationType::Serial, n, threads);
  double time[2] = {0.0, 0.0};
  for (const Engine engine : {Engine::Reference, Engine::Fast}) {
    const RunContext context = contextFor(engine, threads);
    time[engine == Engine::Fast ? 1 : 0] = timed(engine, [&] {
      serial.turbo.computeSerialSpectrum(serial.codeword, serial.weighted, context);
    });
  }
  printRow("TWEF serial", n, time[0], time[1], "from the same tables");
}

// The CWEF (parity only) of code `numerator` over `denominator` for one frame ending on one
// engine: the reference once, the fast engine gRepeat times (median).
double timeEndingCwef(const char* numerator, const char* denominator, int n, Engine engine,
                      int threads, Termination termination) {
  const ConvCode code(codeFromTexts(numerator, denominator).description.value());
  const RunContext context = contextFor(engine, threads);
  return timed(engine, [&] {
    WeightEnumerator enumerator;
    enumerator.frameLength = n;
    enumerator.ending = frameEndingOf(termination, {}, 0);
    enumerator.allocate(code);
    enumerator.computeTransferMatrix(code);
    enumerator.computeCwef(code, context);
    enumerator.release(code);
  });
}

// Tail-biting CWEF on both engines, and the terminated frame's fast CWEF: the trace runs
// the recursion once per start state.
void timeTailBiting(const char* numerator, const char* denominator, int n, int threads) {
  const double reference = timeEndingCwef(numerator, denominator, n, Engine::Reference, threads,
                                          Termination::TailBiting);
  const double fast =
      timeEndingCwef(numerator, denominator, n, Engine::Fast, threads, Termination::TailBiting);
  const double terminated =
      timeEndingCwef(numerator, denominator, n, Engine::Fast, threads, Termination::Both);
  const std::string name = std::string(numerator) + " / " + denominator;
  std::printf("| %-24s | %6d | %10.3f | %9.4f | %8.1f | %13.4f |\n", name.c_str(), n, reference,
              fast, reference / fast, terminated);
}

// One whole calculation run of N with all three bounds, its results file written.
void runOnce(int n, Engine engine, int threads, ConcatenationType type,
             const std::string& puncture = "", TablePrecision precision = TablePrecision::Single) {
  RunInputs inputs;
  inputs.puncture = puncture;
  inputs.precision = precision;
  inputs.inputFrameLength = n;
  inputs.selectedType = type;
  inputs.boundSelection = kAllBerBounds;
  inputs.resultsFileName = "/tmp/brevandor-bench-results.txt";
  inputs.code = defaultCode();
  const RunResult result = CalculationRun(inputs, contextFor(engine, threads)).execute();
  if (result.outcome != RunOutcome::Finished) {
    std::fprintf(stderr, "run of N = %d failed: %s\n", n, result.failure.c_str());
  }
}

double timeRun(int n, Engine engine, int threads, ConcatenationType type,
               const std::string& puncture = "") {
  return timed(engine, [&] { runOnce(n, engine, threads, type, puncture); });
}

// The clock of the precision comparison: wall time, or with --processor-time the processor
// time of the whole process (all its threads), which other work on a shared machine stretches
// far less.
double (*gPrecisionClock)(const std::function<void()>&) = seconds;

constexpr TablePrecision kBothPrecisions[] = {TablePrecision::Single, TablePrecision::Double};

// The median times of `work` on single- and on double-precision tables, timed in turn (single,
// double, single, …) so that a change in the machine's load falls on both alike.
std::array<double, 2> timedInTurn(const std::function<void(TablePrecision)>& work) {
  std::vector<double> times[2];
  for (int r = 0; r < gRepeat; ++r) {
    for (int i = 0; i < 2; ++i) {
      times[i].push_back(gPrecisionClock([&] { work(kBothPrecisions[i]); }));
    }
  }
  std::array<double, 2> medians{};
  for (int i = 0; i < 2; ++i) {
    std::sort(times[i].begin(), times[i].end());
    medians[static_cast<std::size_t>(i)] = times[i][times[i].size() / 2];
  }
  return medians;
}

// The fast engine on double-precision tables against single ones, stage by stage and for a
// whole PCCC run, each pair timed in turn.
void comparePrecisions(int n, int threads) {
  const RunContext context = contextFor(Engine::Fast, threads);
  const ConvCode code(defaultCode());
  const std::array<double, 2> cwef = timedInTurn([&](TablePrecision precision) {
    WeightEnumerator enumerator;
    enumerator.frameLength = n;
    enumerator.precision = precision;
    enumerator.allocate(code);
    enumerator.computeTransferMatrix(code);
    enumerator.computeCwef(code, context);
    enumerator.release(code);
  });
  std::array<double, 2> spectrum{};
  {
    Configured single(ConcatenationType::Parallel, n, threads, TablePrecision::Single);
    Configured wide(ConcatenationType::Parallel, n, threads, TablePrecision::Double);
    spectrum = timedInTurn([&](TablePrecision precision) {
      Configured& parallel = precision == TablePrecision::Single ? single : wide;
      parallel.turbo.computeParallelSpectrum(parallel.codeword, parallel.weighted, context);
    });
  }
  const std::array<double, 2> run = timedInTurn([&](TablePrecision precision) {
    runOnce(n, Engine::Fast, threads, ConcatenationType::Parallel, "", precision);
  });
  const char* names[] = {"CWEF (parity only)", "TWEF parallel", "PCCC run, all bounds"};
  const std::array<double, 2>* times[] = {&cwef, &spectrum, &run};
  for (int row = 0; row < 3; ++row) {
    const std::array<double, 2>& t = *times[row];
    std::printf("| %-22s | %6d | %9.3f | %9.3f | %8.2f |\n", names[row], n, t[0], t[1],
                t[1] / t[0]);
  }
}

// Whole PCCC runs on the fast engine, the rate-1/2 pattern "11,10,01" against the same code
// unpunctured, side by side: the punctured run computes two tables (PAR1 and PAR2 leave out
// different sections) of about half the weights each.
void timePunctured(int n, int threads) {
  const double plain = timeRun(n, Engine::Fast, threads, ConcatenationType::Parallel);
  const double punctured =
      timeRun(n, Engine::Fast, threads, ConcatenationType::Parallel, "11,10,01");
  std::printf("| %-22s | %6d | %13.3f | %10.3f | %9.2f |\n", "PCCC run, 11,10,01", n, plain,
              punctured, punctured / plain);
}

}  // namespace
}  // namespace brevandor::bench

int main(int argc, char** argv) {
  using namespace brevandor;
  using namespace brevandor::bench;
  const Options options = parse(argc, argv);
  gRepeat = options.repeat;
  std::printf("Kernels in use: %s; fast-engine threads: %d; fast timings: median of %d\n",
              rowKernels<float>().name, contextFor(Engine::Fast, options.threads).workerThreads(),
              options.repeat);
  if (options.kernels) {
    printKernels();
  }
  if (options.rowKernels) {
    printRowKernels();
  }
  if (!options.stages.empty() || !options.serial.empty()) {
    std::printf("\n### Stages, default code \"1+D+D^2\" over \"1+D^2\"\n\n");
    std::printf("| %-22s | %6s | %10s | %9s | %8s | %s |\n|---|---|---|---|---|---|\n", "Stage",
                "N", "reference s", "fast s", "ratio", "notes");
    for (const int n : options.stages) {
      timeCwef(n, options.threads);
      timeParallelAndBounds(n, options.threads);
    }
    for (const int n : options.serial) {
      timeSerial(n, options.threads);
    }
  }
  if (!options.runs.empty() || !options.fastRuns.empty()) {
    std::printf("\n### Whole runs (PCCC, all three bounds, results file written)\n\n");
    std::printf("| %-22s | %6s | %10s | %9s | %8s | %s |\n|---|---|---|---|---|---|\n", "Run", "N",
                "reference s", "fast s", "ratio", "notes");
    for (const int n : options.runs) {
      const double reference =
          timeRun(n, Engine::Reference, options.threads, ConcatenationType::Parallel);
      const double fast = timeRun(n, Engine::Fast, options.threads, ConcatenationType::Parallel);
      printRow("PCCC run", n, reference, fast, "");
    }
    gRepeat = 1;  // runs of the fast engine alone are long: timed once
    for (const int n : options.fastRuns) {
      const double fast = timeRun(n, Engine::Fast, options.threads, ConcatenationType::Parallel);
      std::printf("| %-22s | %6d | %10s | %9.1f | %8s | fast engine only |\n", "PCCC run", n, "-",
                  fast, "-");
    }
  }
  if (!options.precision.empty()) {
    std::printf("\n### Double-precision tables against single (fast engine, %s / %s kernels)\n\n",
                rowKernels<float>().name, rowKernels<double>().name);
    std::printf("| %-22s | %6s | %9s | %9s | %8s |\n|---|---|---|---|---|\n", "Stage", "N",
                "single s", "double s", "double / single");
    if (options.processorTime) {
      gPrecisionClock = processorSeconds;
    }
    for (const int n : options.precision) {
      comparePrecisions(n, options.threads);
    }
  }
  if (!options.lowWeight.empty()) {
    printLowWeightTable(options.lowWeight, options.threads, options.repeat);
  }
  if (!options.punctured.empty()) {
    std::printf("\n### Punctured runs (PCCC, fast engine, all three bounds)\n\n");
    std::printf("| %-22s | %6s | %13s | %10s | %9s |\n|---|---|---|---|---|\n", "Run", "N",
                "unpunctured s", "rate 1/2 s", "ratio");
    for (const int n : options.punctured) {
      timePunctured(n, options.threads);
    }
  }
  if (!options.tailBiting.empty()) {
    std::printf("\n### Tail-biting CWEF (parity only)\n\n");
    std::printf("| %-24s | %6s | %10s | %9s | %8s | %13s |\n|---|---|---|---|---|---|\n", "Code",
                "N", "reference s", "fast s", "ratio", "terminated s");
    for (const int n : options.tailBiting) {
      timeTailBiting("1+D^2", "1+D+D^2", n, options.threads);
      timeTailBiting("1+D+D^3", "1+D^2+D^3", n, options.threads);
    }
  }
  return 0;
}
