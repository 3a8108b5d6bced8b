#pragma once

#include <QString>

#include "report/export_files.h"
#include "report/run_record.h"

namespace brevandor {

// Writes the export files of a completed run that the window's settings name; a relative
// name lies beside the results file at `resultsPath`. A file that would replace the results
// file or another export is not written. Returns an empty text, or the log line that says
// what could not be written. Nothing happens without a record or without export files.
QString writeExportsBeside(const RunRecord* record, const QString& resultsPath,
                           const ExportFiles& files);

// Why the export files that the window's settings name could not be written once the run is
// done (a missing folder, a name too long, a file that may not be replaced), found before the
// run starts: the log line that says so, or an empty text.
QString exportProblemsBeside(const QString& resultsPath, const ExportFiles& files);

// Removes the export files beside `resultsPath` of a run that ended without a record, so that
// they cannot pass for this run's; returns the log lines that say which were removed.
QString removeExportsBeside(const QString& resultsPath, const ExportFiles& files, const char* why);

}  // namespace brevandor
