#include "cli/export_files.h"

#include <functional>

#include "report/record_csv.h"
#include "report/record_files.h"
#include "report/run_record_json.h"

namespace brevandor::cli {

std::string writeExportFiles(const RunRecord& record, const ExportFiles& files) {
  using Writer = std::function<std::string(const RunRecord&)>;
  const std::pair<const std::string*, Writer> exports[] = {
      {&files.json, runRecordJson}, {&files.csv, boundsCsv}, {&files.spectrumCsv, spectrumCsv}};
  std::string failures;
  for (const auto& [path, write] : exports) {
    if (path->empty()) {
      continue;
    }
    const std::string failure = writeTextFile(*path, write(record));
    if (!failure.empty()) {
      failures += (failures.empty() ? "" : "; ") + failure;
    }
  }
  return failures;
}

}  // namespace brevandor::cli
