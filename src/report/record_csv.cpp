#include "report/record_csv.h"

#include "logmath/log_domain.h"
#include "report/number_text.h"

namespace brevandor {

namespace {

std::string log10Text(double log10Value) {
  return log10Value > LogZero ? exactText(log10Value) : std::string();
}

}  // namespace

std::string boundsCsv(const RunRecord& record) {
  const RecordBounds& bounds = record.bounds;
  std::string csv = "ebn0_db";
  for (const BoundColumn& column : bounds.columns) {
    // An estimate's head says so, so that a plotted column never passes for a bound.
    csv += "," + column.name + (column.estimate ? "_estimate" : "");
  }
  csv += '\n';
  for (std::size_t point = 0; point < bounds.ebn0Db.size(); ++point) {
    csv += exactText(bounds.ebn0Db[point]);
    for (const BoundColumn& column : bounds.columns) {
      csv += "," + exactText(column.values[point]);
    }
    csv += '\n';
  }
  return csv;
}

std::string spectrumCsv(const RunRecord& record) {
  std::string csv = "d,log10_A,log10_B,A,B\n";
  for (const SpectrumLine& line : record.spectrum.lines) {
    csv += std::to_string(line.weight) + "," + log10Text(line.log10Codewords) + "," +
           log10Text(line.log10Weighted) + "," +
           decimalFromLog10(line.log10Codewords, kCountTextDigits) + "," +
           decimalFromLog10(line.log10Weighted, kCountTextDigits) + "\n";
  }
  return csv;
}

}  // namespace brevandor
