#include "simulation/point_simulation.h"

#include <algorithm>
#include <chrono>
#include <memory>

#include "progress/parallel_for.h"
#include "simulation/awgn_channel.h"
#include "simulation/frame_trial.h"

namespace brevandor {

namespace {

// Frames handed to the threads at once, per thread: enough to keep them busy between the
// in-order tallies, few enough that a point overshoots its error count by little work.
constexpr std::int64_t kFramesPerThread = 8;

double rateOf(const TurboFrame& frame, const SimulationSettings& settings) {
  return settings.uncoded
             ? 1.0
             : static_cast<double>(frame.inputLength) / static_cast<double>(frame.channelBits());
}

// Adds one frame's outcome; returns whether the point has reached its frame errors.
bool tally(PointCounts& counts, const FrameOutcome& outcome, const SimulationLimits& limits) {
  ++counts.frames;
  counts.bitErrors += outcome.bitErrors;
  counts.frameErrors += outcome.frameError ? 1 : 0;
  counts.iterations += outcome.iterations;
  return !limits.hasWindow() && limits.minFrameErrors > 0 &&
         counts.frameErrors >= limits.minFrameErrors;
}

}  // namespace

PointCounts simulatePoint(const TurboFrame& frame, const SimulationSettings& settings,
                          const Permutation* fixedPermutation, double ebn0Db,
                          const RunContext& context, const PointProgress& progress) {
  const SimulationLimits& limits = settings.limits;
  // The reference engine decodes with the exact arithmetic.
  SimulationSettings decoding = settings;
  if (context.engine == Engine::Reference) {
    decoding.decoder.arithmetic = SisoArithmetic::Exact;
  }
  PointCounts counts;
  counts.ebn0Db = ebn0Db;
  counts.bitsPerFrame = frame.inputLength;
  const double deviation = noiseDeviation(ebn0Db, rateOf(frame, settings));
  const std::int32_t threads = context.workerThreads();
  std::vector<std::unique_ptr<FrameTrial>> trials(static_cast<std::size_t>(threads));
  std::vector<FrameOutcome> outcomes(static_cast<std::size_t>(threads * kFramesPerThread));
  const std::int64_t first = limits.hasWindow() ? limits.framesFrom : 0;
  const std::int64_t last = limits.hasWindow() ? limits.framesTo : limits.maxFrames;
  const auto started = std::chrono::steady_clock::now();
  std::int64_t next = first;
  bool reached = false;
  while (next < last && !reached) {
    if (context.cancelRequested()) {
      counts.complete = false;
      break;
    }
    const std::int64_t batch =
        std::min<std::int64_t>(static_cast<std::int64_t>(outcomes.size()), last - next);
    parallelFor(threads, batch, [&](std::int64_t item, std::int32_t thread) {
      auto& trial = trials[static_cast<std::size_t>(thread)];
      if (!trial) {
        trial = std::make_unique<FrameTrial>(frame, decoding, fixedPermutation);
      }
      outcomes[static_cast<std::size_t>(item)] =
          trial->run(frameSeed(settings.seed, ebn0Db, next + item), deviation);
    });
    for (std::int64_t item = 0; item < batch && !reached; ++item) {
      reached = tally(counts, outcomes[static_cast<std::size_t>(item)], limits);
    }
    next += batch;
    if (progress) {
      progress(counts);
    }
    const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - started;
    if (limits.maxSeconds > 0.0 && elapsed.count() >= limits.maxSeconds) {
      break;
    }
  }
  return counts;
}

SweepOutcome simulateSweep(const TurboFrame& frame, const SimulationSettings& settings,
                           std::span<const double> ebn0Db, const RunContext& context,
                           const PointProgress& progress) {
  SweepOutcome outcome;
  std::optional<Permutation> fixed;
  if (!settings.uncoded && !settings.interleaver.isEnsemble()) {
    PermutationOutcome made = makePermutation(settings.interleaver, frame.interleaverLength());
    if (!made) {
      outcome.failure = made.failure;
      return outcome;
    }
    fixed = std::move(made.permutation);
  }
  for (const double point : ebn0Db) {
    PointCounts counts =
        simulatePoint(frame, settings, fixed ? &*fixed : nullptr, point, context, progress);
    const bool stop = !settings.limits.hasWindow() && counts.frameErrors == 0;
    outcome.result.points.push_back(counts);
    if (!counts.complete) {
      outcome.result.cancelled = true;
      break;
    }
    if (stop) {
      break;  // the next points, at higher Eb/N0, would see no error either
    }
  }
  return outcome;
}

void mergeCounts(std::vector<PointCounts>& into, std::span<const PointCounts> more) {
  for (const PointCounts& point : more) {
    const auto match = std::find_if(into.begin(), into.end(), [&](const PointCounts& known) {
      return known.ebn0Db == point.ebn0Db;
    });
    if (match == into.end()) {
      into.push_back(point);
      continue;
    }
    match->frames += point.frames;
    match->bitErrors += point.bitErrors;
    match->frameErrors += point.frameErrors;
    match->iterations += point.iterations;
    match->complete = match->complete && point.complete;
  }
  std::sort(into.begin(), into.end(),
            [](const PointCounts& a, const PointCounts& b) { return a.ebn0Db < b.ebn0Db; });
}

}  // namespace brevandor
