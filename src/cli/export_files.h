#pragma once

#include <string>

#include "cli/cli_options.h"
#include "report/run_record.h"

namespace brevandor::cli {

// Writes the files the command line asked for beside the results file: the record as JSON,
// the bound table and the spectrum as CSV. Returns an empty text, or why a file could not be
// written (the others are still attempted).
std::string writeExportFiles(const RunRecord& record, const ExportFiles& files);

}  // namespace brevandor::cli
