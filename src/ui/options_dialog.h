#pragma once

#include <QDialog>
#include <array>

#include "bounds/bound_catalogue.h"

class QCheckBox;

namespace brevandor {

// The Options window: one check box per bound of the "BER Bounds" section, from the bound
// catalogue. It opens with a bound selection and, when confirmed with "OK", yields the
// selection the boxes show.
class OptionsDialog : public QDialog {
  Q_OBJECT

 public:
  explicit OptionsDialog(BerBoundSet boundSelection, QWidget* parent = nullptr);

  // The selection the boxes show.
  BerBoundSet boundSelection() const;

  // Shows the dialog modally; the new selection when the user confirms, else `current`.
  static BerBoundSet choose(BerBoundSet current, QWidget* parent);

 private:
  std::array<QCheckBox*, kBoundCatalogue.size()> boxes_{};
};

}  // namespace brevandor
