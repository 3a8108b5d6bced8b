#pragma once

#include <QDialog>

namespace brevandor {

// The About box: the program's name and version, its credits, and a short help: what each
// field means, what the bounds are and where the results go.
class AboutDialog : public QDialog {
  Q_OBJECT

 public:
  explicit AboutDialog(QWidget* parent = nullptr);
};

}  // namespace brevandor
