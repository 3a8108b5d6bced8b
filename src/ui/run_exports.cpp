#include "ui/run_exports.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace brevandor {

QString writeExportsBeside(const RunRecord* record, const QString& resultsPath,
                           const ExportFiles& files) {
  if (record == nullptr || !files.any()) {
    return {};
  }
  const QDir folder = QFileInfo(resultsPath).absoluteDir();
  const auto beside = [&folder](const std::string& name) {
    if (name.empty()) {
      return name;
    }
    return QFile::encodeName(folder.filePath(QFile::decodeName(name.c_str()))).toStdString();
  };
  const ExportFiles placed{beside(files.json), beside(files.csv), beside(files.spectrumCsv)};
  std::string failure = exportClash(QFile::encodeName(resultsPath).toStdString(), placed);
  if (failure.empty()) {
    failure = writeExportFiles(*record, placed);
  }
  return failure.empty() ? QString()
                         : QStringLiteral("\n -- %1 \n").arg(QFile::decodeName(failure.c_str()));
}

}  // namespace brevandor
