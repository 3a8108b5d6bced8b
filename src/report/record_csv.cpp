#include "report/record_csv.h"

#include <optional>

#include "logmath/log_domain.h"
#include "report/number_text.h"

namespace brevandor {

namespace {

// A bound or estimate: every digit of its value, or, below the extended range, ten digits
// from its logarithm.
std::string boundText(const std::vector<long double>& values,
                      const std::vector<double>& log10Beyond, std::size_t point) {
  const std::optional<double> beyond = log10BeyondRange(log10Beyond, point);
  return beyond ? decimalFromLog10(*beyond, kCountTextDigits) : exactText(values[point]);
}

std::string log10Text(double log10Value) {
  return isLogZero(log10Value) ? std::string() : exactText(log10Value);
}

}  // namespace

std::string boundsCsv(const RunRecord& record) {
  const RecordBounds& bounds = record.bounds;
  // The given permutation's error-floor estimate, where there is one, comes last, named apart
  // from the average's bounds.
  const std::vector<long double>* given =
      record.givenInterleaver && !record.givenInterleaver->bitErrorEstimates.empty()
          ? &record.givenInterleaver->bitErrorEstimates
          : nullptr;
  std::string csv = "ebn0_db";
  for (const BoundColumn& column : bounds.columns) {
    // An estimate's head says so, so that a plotted column never passes for a bound.
    csv += "," + column.name + (column.estimate ? "_estimate" : "");
  }
  csv += given != nullptr ? ",UB_Q_given_estimate\n" : "\n";
  for (std::size_t point = 0; point < bounds.ebn0Db.size(); ++point) {
    csv += exactText(bounds.ebn0Db[point]);
    for (const BoundColumn& column : bounds.columns) {
      csv += "," + boundText(column.values, column.log10Beyond, point);
    }
    if (given != nullptr) {
      csv += "," + boundText(*given, record.givenInterleaver->log10EstimatesBeyond, point);
    }
    csv += '\n';
  }
  return csv;
}

namespace {

// The given permutation's columns of weight d: its exact A_d and B_d (0 where it has none).
std::string givenColumns(const RecordGivenInterleaver& given, std::int32_t weight) {
  for (const GivenSpectrumLine& line : given.lines) {
    if (line.weight == weight) {
      return "," + std::to_string(line.codewords) + "," + exactText(line.bitMultiplicity);
    }
  }
  return ",0,0";
}

}  // namespace

std::string spectrumCsv(const RunRecord& record) {
  // With a given permutation, its exact counts follow the average's: A_given, B_given.
  const auto& given = record.givenInterleaver;
  std::string csv = given ? "d,log10_A,log10_B,A,B,A_given,B_given\n" : "d,log10_A,log10_B,A,B\n";
  for (const SpectrumLine& line : record.spectrum.lines) {
    csv += std::to_string(line.weight) + "," + log10Text(line.log10Codewords) + "," +
           log10Text(line.log10Weighted) + "," +
           decimalFromLog10(line.log10Codewords, kCountTextDigits) + "," +
           decimalFromLog10(line.log10Weighted, kCountTextDigits) +
           (given ? givenColumns(*given, line.weight) : "") + "\n";
  }
  return csv;
}

std::string simulationCsv(const RunRecord& record) {
  std::string csv =
      "ebn0_db,frames,bit_errors,frame_errors,bits_per_frame,ber,fer,ber_ci_low,ber_ci_high,"
      "fer_ci_low,fer_ci_high,mean_iterations,complete\n";
  if (!record.simulation) {
    return csv;
  }
  for (const SimulatedPoint& point : record.simulation->points) {
    csv += exactText(point.ebn0Db) + "," + std::to_string(point.frames) + "," +
           std::to_string(point.bitErrors) + "," + std::to_string(point.frameErrors) + "," +
           std::to_string(point.bitsPerFrame) + "," + exactText(point.ber) + "," +
           exactText(point.fer) + "," + exactText(point.berInterval[0]) + "," +
           exactText(point.berInterval[1]) + "," + exactText(point.ferInterval[0]) + "," +
           exactText(point.ferInterval[1]) + "," + exactText(point.meanIterations) + "," +
           (point.complete ? "1" : "0") + "\n";
  }
  return csv;
}

}  // namespace brevandor
