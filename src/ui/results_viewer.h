#pragma once

#include <QString>
#include <QWidget>

class QLabel;
class QPlainTextEdit;

namespace brevandor {

// The program's own window for a results file: the file's text, read-only, in a fixed-width
// font, without line wrapping so that the columns stay aligned. Non-modal; every showFile
// reads the file again. It starts no other program and hands the path to nothing but a file
// read, so any file name is safe.
class ResultsViewer : public QWidget {
  Q_OBJECT

 public:
  explicit ResultsViewer(QWidget* parent = nullptr);

  // Reads the file at `path` (relative paths from the current directory), shows it and
  // brings the window to the front. A file that cannot be read is named in the window.
  void showFile(const QString& path);
  // The path last shown.
  const QString& path() const { return path_; }
  // The text on display.
  QString text() const;

 private:
  void load();

  QString path_;
  QLabel* pathLabel_;
  QPlainTextEdit* view_;
};

}  // namespace brevandor
