#include "ui/run_exports.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace brevandor {

ExportFiles exportsBeside(const QString& resultsPath, const ExportFiles& files) {
  const QDir folder = QFileInfo(resultsPath).absoluteDir();
  const auto beside = [&folder](const std::string& name) {
    if (name.empty()) {
      return name;
    }
    return QFile::encodeName(folder.filePath(QFile::decodeName(name.c_str()))).toStdString();
  };
  return ExportFiles{beside(files.json), beside(files.csv), beside(files.spectrumCsv)};
}

QString removeExportsBeside(const QString& resultsPath, const ExportFiles& files, const char* why) {
  const ExportFiles placed = exportsBeside(resultsPath, files);
  // Never the results file itself, should an export name it.
  if (!exportClash(QFile::encodeName(resultsPath).toStdString(), placed).empty()) {
    return {};
  }
  QString lines;
  for (const std::string& line : removeStaleExports(placed, why)) {
    lines += QStringLiteral("\n -- %1 \n").arg(QFile::decodeName(line.c_str()));
  }
  return lines;
}

QString writeExportsBeside(const RunRecord* record, const QString& resultsPath,
                           const ExportFiles& files) {
  if (record == nullptr || !files.any()) {
    return {};
  }
  const ExportFiles placed = exportsBeside(resultsPath, files);
  std::string failure = exportClash(QFile::encodeName(resultsPath).toStdString(), placed);
  if (failure.empty()) {
    failure = writeExportFiles(*record, placed);
  }
  return failure.empty() ? QString()
                         : QStringLiteral("\n -- %1 \n").arg(QFile::decodeName(failure.c_str()));
}

}  // namespace brevandor
