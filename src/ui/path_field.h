#pragma once

#include <QLineEdit>
#include <QString>

namespace brevandor {

// A read-only field that shows a file's full path, elided in the middle when it is too long
// for the field (so both the folder's start and the file's name stay visible), with the
// whole path as its tooltip.
class PathField : public QLineEdit {
  Q_OBJECT

 public:
  explicit PathField(QWidget* parent = nullptr);

  // Shows `path` (made absolute against the current folder, in the system's separators).
  void setPath(const QString& path);
  // The full path shown.
  const QString& path() const { return path_; }

 protected:
  void resizeEvent(QResizeEvent* event) override;

 private:
  void elide();

  QString path_;
};

}  // namespace brevandor
