// Throughput of the simulation: information bits decoded per second per core for the LTE
// code (K = 6144, its QPP interleaver, 8 iterations), max-log-MAP and log-MAP, with the exact
// SISO arithmetic on 1 thread and the fast one on 1 thread and on all, and how much of a frame's
// time the SISO decoders take (see README.md).

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string>
#include <thread>
#include <vector>

#include "code/polynomial.h"
#include "decoding/siso_decoder.h"
#include "interleavers/random_bits.h"
#include "simulation/point_simulation.h"

namespace {

using namespace brevandor;

double seconds(std::chrono::steady_clock::time_point start) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// Frames of the point at 1.5 dB (past the waterfall: the decoder runs all its iterations).
// Decoded bits per second of wall time, and per second of processor time summed over the
// threads (what one core gives when it is not shared with other work).
struct Rates {
  double wall = 0.0;
  double perCpuSecond = 0.0;
};

Rates bitsPerSecond(const TurboFrame& frame, const SimulationSettings& settings,
                    const Permutation& permutation, int threads, std::int64_t frames) {
  SimulationSettings timed = settings;
  timed.limits.minFrameErrors = frames + 1;
  timed.limits.maxFrames = frames;
  RunContext context;
  context.threads = threads;
  const auto start = std::chrono::steady_clock::now();
  const std::clock_t cpuStart = std::clock();
  const PointCounts counts = simulatePoint(frame, timed, &permutation, 1.5, context);
  const double cpuSeconds = static_cast<double>(std::clock() - cpuStart) / CLOCKS_PER_SEC;
  const auto bits = static_cast<double>(counts.frames * frame.inputLength);
  return {bits / seconds(start), bits / cpuSeconds};
}

// The SISO decoder alone (in the row's arithmetic): the 2 × 8 runs of one frame's
// decoding, in processor time over `frames`, against a frame's processor time at
// `frameBitsPerSecond`.
double sisoShare(const TurboFrame& frame, SisoAlgorithm algorithm, SisoArithmetic arithmetic,
                 std::int64_t frames, double frameBitsPerSecond) {
  SisoDecoder decoder(frame.first.code->forwardTrellis, algorithm, TrellisEnd::Terminated,
                      arithmetic);
  const auto sections = static_cast<std::size_t>(frame.first.sections());
  std::vector<double> channel(sections * 2), apriori(sections), app(sections);
  RandomBits bits(1);
  for (double& value : channel) {
    value = 4.0 * bits.openUnit() - 1.0;
  }
  const std::clock_t start = std::clock();
  for (std::int64_t f = 0; f < frames * 16; ++f) {
    decoder.decode(frame.first.sections(), {channel, apriori}, {app, {}});
  }
  const double sisoSecondsPerFrame =
      static_cast<double>(std::clock() - start) / CLOCKS_PER_SEC / static_cast<double>(frames);
  const double frameSeconds = frame.inputLength / frameBitsPerSecond;
  return sisoSecondsPerFrame / frameSeconds;
}

}  // namespace

int main(int argc, char** argv) {
  const std::int64_t frames = argc > 1 ? std::atoll(argv[1]) : 40;
  // A second argument picks rows, for profiling: "fast" leaves out the exact decoder's,
  // "max-log-map" or "log-map" keeps only that algorithm's fast rows.
  const std::string only = argc > 2 ? argv[2] : "";
  const int cores = static_cast<int>(std::thread::hardware_concurrency());
  const ConvCode code(
      describeCode(parsePolynomial("1+D+D^3"), parsePolynomial("1+D^2+D^3")).description.value());
  const TurboFrame frame = parallelFrame(code, code, 6144);
  SimulationSettings settings;
  settings.interleaver = *parseInterleaverSpec("lte").spec;
  const Permutation permutation = *makePermutation(settings.interleaver, 6144).permutation;
  std::printf("LTE code, K = 6144, 8 iterations, %lld frames at 1.5 dB, %d cores\n\n",
              static_cast<long long>(frames), cores);
  std::printf(
      "| Decoder | arithmetic | threads | Mbit/s (wall) | Mbit/s per core (wall) | Mbit/s per CPU "
      "second | SISO share of a frame |\n");
  std::printf("|---|---|---|---|---|---|---|\n");
  for (const SisoAlgorithm algorithm : {SisoAlgorithm::MaxLogMap, SisoAlgorithm::LogMap}) {
    settings.decoder.algorithm = algorithm;
    // The exact decoder on one thread, as a yardstick; the fast one on one thread and on all.
    for (const SisoArithmetic arithmetic : {SisoArithmetic::Exact, SisoArithmetic::Fast}) {
      const bool kept = only.empty() || (arithmetic == SisoArithmetic::Fast &&
                                         (only == "fast" || only == sisoAlgorithmName(algorithm)));
      if (!kept) {
        continue;
      }
      settings.decoder.arithmetic = arithmetic;
      for (const int threads : {1, cores}) {
        const Rates rates = bitsPerSecond(frame, settings, permutation, threads, frames);
        const double rate = rates.perCpuSecond;
        const std::string share =
            threads == 1
                ? std::to_string(static_cast<int>(
                      100.0 * sisoShare(frame, algorithm, arithmetic, frames / 4 + 1, rate))) +
                      " %"
                : "";
        std::printf("| %s | %s | %d | %.2f | %.2f | %.2f | %s |\n",
                    std::string(sisoAlgorithmName(algorithm)).c_str(),
                    arithmetic == SisoArithmetic::Fast ? "fast" : "exact", threads,
                    rates.wall / 1e6, rates.wall / 1e6 / threads, rates.perCpuSecond / 1e6,
                    share.c_str());
        if (cores == 1 || arithmetic == SisoArithmetic::Exact) {
          break;
        }
      }
    }
  }
  return 0;
}
