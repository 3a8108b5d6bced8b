#pragma once

#include <QDialog>

namespace brevandor {

// The About box: the program's name and version, and its credits.
class AboutDialog : public QDialog {
  Q_OBJECT

 public:
  explicit AboutDialog(QWidget* parent = nullptr);
};

}  // namespace brevandor
