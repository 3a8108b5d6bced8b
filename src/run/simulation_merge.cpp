#include "run/simulation_merge.h"

#include <cmath>
#include <vector>

#include "simulation/error_statistics.h"
#include "simulation/point_simulation.h"

namespace brevandor {

namespace {

// The fields that a point's counts and its record both hold, from one to the other.
template <typename From, typename To>
void copySharedFields(const From& from, To& to) {
  to.ebn0Db = from.ebn0Db;
  to.frames = from.frames;
  to.bitErrors = from.bitErrors;
  to.frameErrors = from.frameErrors;
  to.bitsPerFrame = from.bitsPerFrame;
  to.complete = from.complete;
}

PointCounts countsOf(const SimulatedPoint& point) {
  PointCounts counts;
  copySharedFields(point, counts);
  // The mean was the exact sum over the frames divided by them; the sum is an integer.
  counts.iterations = std::llround(point.meanIterations * static_cast<double>(point.frames));
  return counts;
}

}  // namespace

SimulatedPoint simulatedPointOf(const PointCounts& counts) {
  const PointStatistics statistics = statisticsOf(counts);
  SimulatedPoint point;
  copySharedFields(counts, point);
  point.ber = statistics.ber;
  point.fer = statistics.fer;
  point.berInterval = {statistics.berInterval.low, statistics.berInterval.high};
  point.ferInterval = {statistics.ferInterval.low, statistics.ferInterval.high};
  point.meanIterations = statistics.meanIterations;
  return point;
}

namespace {

bool sameSimulation(const RecordSimulation& a, const RecordSimulation& b) {
  return a.decoder == b.decoder && a.extrinsicScale == b.extrinsicScale &&
         a.iterations == b.iterations && a.earlyStop == b.earlyStop &&
         a.interleaver == b.interleaver && a.seed == b.seed;
}

bool sameCode(const RunRecord& a, const RunRecord& b) {
  RecordInputs first = a.inputs;
  RecordInputs second = b.inputs;
  first.resultsFile = second.resultsFile;  // each machine writes a file of its own
  return first == second && a.code == b.code && a.turbo == b.turbo;
}

}  // namespace

std::string mergeSimulatedRecord(RunRecord& into, const RunRecord& more) {
  if (!into.simulation || !more.simulation) {
    return "a record without a simulation (run with --simulate) cannot be merged";
  }
  if (!sameCode(into, more)) {
    return "the records are of different codes or inputs";
  }
  if (!sameSimulation(*into.simulation, *more.simulation)) {
    return "the records were simulated with different decoders, interleavers or seeds";
  }
  std::vector<PointCounts> merged;
  for (const SimulatedPoint& point : into.simulation->points) {
    merged.push_back(countsOf(point));
  }
  std::vector<PointCounts> added;
  for (const SimulatedPoint& point : more.simulation->points) {
    added.push_back(countsOf(point));
  }
  mergeCounts(merged, added);
  into.simulation->points.clear();
  for (const PointCounts& counts : merged) {
    into.simulation->points.push_back(simulatedPointOf(counts));
  }
  return {};
}

}  // namespace brevandor
