#include "ui/run_exports.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace brevandor {

namespace {

// The export files with a relative name placed beside the results file.
ExportFiles placedBeside(const QString& resultsPath, const ExportFiles& files) {
  const QDir folder = QFileInfo(resultsPath).absoluteDir();
  const auto beside = [&folder](const std::string& name) {
    if (name.empty()) {
      return name;
    }
    return QFile::encodeName(folder.filePath(QFile::decodeName(name.c_str()))).toStdString();
  };
  return {beside(files.json), beside(files.csv), beside(files.spectrumCsv),
          beside(files.simulationCsv)};
}

QString logLine(const std::string& text) {
  return QStringLiteral("\n -- %1 \n").arg(QFile::decodeName(text.c_str()));
}

}  // namespace

QString exportProblemsBeside(const QString& resultsPath, const ExportFiles& files) {
  if (!files.any()) {
    return {};
  }
  const std::string problems = exportProblems(placedBeside(resultsPath, files));
  return problems.empty() ? QString() : logLine(problems);
}

QString removeExportsBeside(const QString& resultsPath, const ExportFiles& files, const char* why) {
  const ExportFiles placed = placedBeside(resultsPath, files);
  // Never the results file itself, should an export name it.
  if (!exportClash(QFile::encodeName(resultsPath).toStdString(), placed).empty()) {
    return {};
  }
  QString lines;
  for (const std::string& line : removeStaleExports(placed, why)) {
    lines += logLine(line);
  }
  return lines;
}

QString writeExportsBeside(const RunRecord* record, const QString& resultsPath,
                           const ExportFiles& files) {
  if (record == nullptr || !files.any()) {
    return {};
  }
  const ExportFiles placed = placedBeside(resultsPath, files);
  std::string failure = exportClash(QFile::encodeName(resultsPath).toStdString(), placed);
  if (failure.empty()) {
    failure = writeExportFiles(*record, placed);
  }
  return failure.empty() ? QString() : logLine(failure);
}

}  // namespace brevandor
