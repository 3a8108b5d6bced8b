// Arbitrary text into brevandor-plot's reading of saved runs and its overlay of several of
// them: the input is split at NUL bytes into up to four records, each read as the program
// reads a file. No crash, no undefined behaviour, a refusal always says why, and the curves
// drawn from the accepted records hold only finite points, bounds above 0 within the grid's
// reach, one curve per run and bound (bounds) or two per run (spectrum).

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "plot/run_charts.h"
#include "report/run_record_json.h"

namespace {

using namespace brevandor;

constexpr std::size_t kMostRuns = 4;

std::vector<RunRecord> acceptedRecords(std::string_view text) {
  std::vector<RunRecord> records;
  for (std::size_t part = 0; part < kMostRuns && !text.empty(); ++part) {
    const std::size_t end = text.find('\0');
    const RecordReading reading = readRunRecordJson(text.substr(0, end));
    if (!reading && reading.error.empty()) {
      __builtin_trap();
    }
    if (reading) {
      records.push_back(*reading.record);
    }
    text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
  }
  return records;
}

void checkCurves(plot::Figure figure, const std::vector<const RunRecord*>& runs,
                 plot::SpectrumRange range) {
  plot::ChartOptions options;
  options.range = range;
  std::size_t expected = 0;
  for (const RunRecord* run : runs) {
    expected += figure == plot::Figure::Bounds ? run->bounds.columns.size() : 2;
  }
  const std::vector<plot::Curve> curves = plot::figureCurves(figure, runs, options);
  if (curves.size() != expected) {
    __builtin_trap();
  }
  for (const plot::Curve& curve : curves) {
    if (curve.name.isEmpty()) {
      __builtin_trap();
    }
    for (const QPointF& point : curve.points) {
      const bool finite = std::isfinite(point.x()) && std::isfinite(point.y());
      const bool bound =
          figure != plot::Figure::Bounds || (point.y() > 0.0 && std::abs(point.x()) <= 1000.0);
      if (!finite || !bound) {
        __builtin_trap();
      }
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::vector<RunRecord> records =
      acceptedRecords(std::string_view(reinterpret_cast<const char*>(data), size));
  std::vector<const RunRecord*> runs;
  for (const RunRecord& record : records) {
    runs.push_back(&record);
  }
  for (const plot::Figure figure : {plot::Figure::Bounds, plot::Figure::Spectrum}) {
    for (const auto range : {plot::SpectrumRange::FirstWeights, plot::SpectrumRange::AllWeights}) {
      checkCurves(figure, runs, range);
    }
  }
  return 0;
}
