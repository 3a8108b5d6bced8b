#include "report/export_files.h"

#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <filesystem>
#include <functional>
#include <iterator>
#include <utility>

#include "report/output_target.h"
#include "report/record_csv.h"
#include "report/record_files.h"
#include "report/run_record_json.h"

namespace brevandor {

namespace {

// The files of a run with the options that name them: the results file, then the exports.
std::array<std::pair<const char*, const std::string*>, 5> namedOutputs(
    const std::string& resultsFile, const ExportFiles& files) {
  return {{{"--output", &resultsFile},
           {"--json", &files.json},
           {"--csv", &files.csv},
           {"--spectrum-csv", &files.spectrumCsv},
           {"--simulation-csv", &files.simulationCsv}}};
}

// Whether two paths name the same file, as far as can be told before either exists.
bool sameFile(const std::string& a, const std::string& b) {
  namespace fs = std::filesystem;
  const auto resolved = [](const std::string& path) {
    std::error_code error;
    const fs::path full = fs::weakly_canonical(fs::absolute(path, error), error);
    return error ? fs::path(path) : full;
  };
  return a == b || resolved(a) == resolved(b);
}

}  // namespace

std::string exportClash(const std::string& resultsFile, const ExportFiles& files) {
  const auto named = namedOutputs(resultsFile, files);
  for (std::size_t i = 1; i < std::size(named); ++i) {
    const auto& [option, path] = named[i];
    for (std::size_t j = 0; j < i && !path->empty(); ++j) {
      if (!named[j].second->empty() && sameFile(*path, *named[j].second)) {
        return std::string(option) + ": '" + *path + "' is also the file of " + named[j].first;
      }
    }
  }
  return {};
}

std::string exportWithoutContent(const ExportFiles& files, bool simulates) {
  if (!files.simulationCsv.empty() && !simulates) {
    return "--simulation-csv: '" + files.simulationCsv +
           "' would hold the simulated points; give --simulate as well";
  }
  return {};
}

namespace {

// Whether two paths name one existing regular file.
bool sameRegularFile(const std::string& a, const std::string& b) {
  struct stat first {};
  struct stat second {};
  return ::stat(a.c_str(), &first) == 0 && ::stat(b.c_str(), &second) == 0 &&
         S_ISREG(first.st_mode) && first.st_dev == second.st_dev && first.st_ino == second.st_ino;
}

}  // namespace

std::string outputIsInput(const std::string& inputOption, const std::string& inputPath,
                          const std::string& resultsFile, const ExportFiles& files) {
  for (const auto& [option, path] : namedOutputs(resultsFile, files)) {
    if (!path->empty() && sameRegularFile(*path, inputPath)) {
      return std::string(option) + ": '" + *path + "' is the input file of " + inputOption +
             "; name another file";
    }
  }
  return {};
}

std::string exportProblems(const ExportFiles& files) {
  std::string problems;
  for (const std::string* path :
       {&files.json, &files.csv, &files.spectrumCsv, &files.simulationCsv}) {
    if (path->empty()) {
      continue;
    }
    const OutputTargetCheck check = resolveOutputTarget(*path);
    std::optional<std::string> problem =
        check.target ? replaceProblem(*check.target) : std::optional(check.reason);
    if (problem) {
      problems += (problems.empty() ? "" : "; ") + ("cannot write '" + *path + "': " + *problem);
    }
  }
  return problems;
}

std::string removeStaleExport(const std::string& path) {
  const OutputTargetCheck check = resolveOutputTarget(path);
  if (!check.target || check.target->special || !check.target->exists ||
      unlink(check.target->path.c_str()) != 0) {
    return {};
  }
  return " (the earlier '" + path + "' was removed)";
}

std::string writeExportFiles(const RunRecord& record, const ExportFiles& files) {
  using Writer = std::function<std::string(const RunRecord&)>;
  const std::pair<const std::string*, Writer> exports[] = {{&files.json, runRecordJson},
                                                           {&files.csv, boundsCsv},
                                                           {&files.spectrumCsv, spectrumCsv},
                                                           {&files.simulationCsv, simulationCsv}};
  std::string failures;
  for (const auto& [path, write] : exports) {
    if (path->empty()) {
      continue;
    }
    const std::string failure = writeTextFile(*path, write(record));
    if (!failure.empty()) {
      failures += (failures.empty() ? "" : "; ") + failure + removeStaleExport(*path);
    }
  }
  return failures;
}

std::vector<std::string> removeStaleExports(const ExportFiles& files, std::string_view why) {
  std::vector<std::string> lines;
  for (const std::string* path :
       {&files.json, &files.csv, &files.spectrumCsv, &files.simulationCsv}) {
    std::error_code error;
    if (path->empty() || !std::filesystem::exists(*path, error)) {
      continue;
    }
    lines.push_back(!removeStaleExport(*path).empty()
                        ? "removed '" + *path + "': " + std::string(why) +
                              ", and the file described an earlier run"
                        : "left '" + *path + "' (not a plain file, or it cannot be removed): " +
                              std::string(why) + ", and the file describes an earlier run");
  }
  return lines;
}

}  // namespace brevandor
