#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "report/run_record.h"

namespace brevandor {

// The files a completed run writes beside its results file: the record as JSON, the bound
// table, the spectrum and the simulated points as CSV. An empty path: that file is not written.
struct ExportFiles {
  std::string json;
  std::string csv;
  std::string spectrumCsv;
  std::string simulationCsv;

  bool any() const {
    return !json.empty() || !csv.empty() || !spectrumCsv.empty() || !simulationCsv.empty();
  }
  friend bool operator==(const ExportFiles&, const ExportFiles&) = default;
};

// Why the export files cannot be written as named: one of them is the results file or names
// the same file as another ("--json: 'r.txt' is also the file of --output"); empty when they
// are all distinct. Paths are compared as the file system resolves them.
std::string exportClash(const std::string& resultsFile, const ExportFiles& files);

// Why the run cannot fill an export it is asked for: the simulated points' CSV of a run that
// does not simulate would hold no point; empty when it can fill them all.
std::string exportWithoutContent(const ExportFiles& files, bool simulates);

// Why an output (the results file or an export) cannot be written as named because it is the
// input file of `inputOption` itself (the same device and inode, by whatever name); empty when
// none is. Writing it would replace the input with the results.
std::string outputIsInput(const std::string& inputOption, const std::string& inputPath,
                          const std::string& resultsFile, const ExportFiles& files = {});

// Why an export file could not be written once the run is done, found before the run starts
// (see replaceProblem): "cannot write 'x/r.json': No such file or directory"; empty when each
// one can be. The results file makes the same checks when it is opened, before any stage.
std::string exportProblems(const ExportFiles& files);

// Writes each export file that has a path. Returns an empty text, or why files could not be
// written ("cannot write 'x/r.json': No space left on device"); the others are still written.
// The earlier file of an export that fails is removed (and the message says so), so that a
// folder never holds an earlier run's file under this run's names.
std::string writeExportFiles(const RunRecord& record, const ExportFiles& files);

// Removes the earlier file at `path` (a regular file only; a special file is left alone), so
// that it is not taken for the current run's. Returns " (the earlier 'PATH' was removed)", or
// an empty text when there was none or it could not be removed.
std::string removeStaleExport(const std::string& path);

// Removes the export files of a run that ended without a complete record (cancelled or
// failed), so that no file named for this run still describes an earlier one beside this run's
// partial results file. Returns one log line per file removed (or that could not be removed),
// naming it and why; empty when none existed.
std::vector<std::string> removeStaleExports(const ExportFiles& files, std::string_view why);

}  // namespace brevandor
