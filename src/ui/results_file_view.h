#pragma once

#include <QString>
#include <QWidget>

class QLabel;
class QLineEdit;
class QPlainTextEdit;

namespace brevandor {

// The results file as text: read-only, in a fixed-width font, without line wrapping so that
// the columns stay aligned, with Reload and a find bar (Ctrl+F; Enter finds the next match,
// Shift+Enter the one before, Escape closes the bar). It starts no other program and hands
// the path to nothing but a file read, so any file name is safe.
class ResultsFileView : public QWidget {
  Q_OBJECT

 public:
  explicit ResultsFileView(QWidget* parent = nullptr);

  // Reads the file at `path` (relative paths from the current directory) and shows it. A
  // file that cannot be read is named in the view.
  void showFile(const QString& path);
  // Reads the shown file again.
  void reload();
  // A line above the text about the file (that it changed since its run wrote it); empty
  // hides it. Showing another file clears it.
  void setNote(const QString& note);
  QString note() const;
  // The path last shown.
  const QString& path() const { return path_; }
  // The text on display.
  QString text() const;
  // Opens the find bar with its field focused.
  void openFind();
  // Selects the next (or previous) match of the find field's text, wrapping around the
  // ends; false when the text does not occur.
  bool findNext(bool backward = false);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QString path_;
  QLabel* pathLabel_;
  QLabel* note_;
  QPlainTextEdit* view_;
  QWidget* findBar_;
  QLineEdit* findField_;
  QLabel* findStatus_;
};

}  // namespace brevandor
