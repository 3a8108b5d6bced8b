#pragma once

#include <QDialog>
#include <cstdint>

class QCheckBox;

namespace brevandor {

// Bits of the bound selection, one per error-rate bound the run may evaluate.
enum BoundBit : std::int32_t {
  kUnionBoundQBit = 1,
  kUnionBoundExpBit = 2,
  kViterbiBoundBit = 4,
};

// The Options window: one check box per error-rate bound. It opens with a bound selection
// and, when confirmed with "OK", yields the selection the boxes show.
class OptionsDialog : public QDialog {
  Q_OBJECT

 public:
  explicit OptionsDialog(std::int32_t boundSelection, QWidget* parent = nullptr);

  // The selection the boxes show: 1 "Union Bound (Q function)", 2 "Union Bound (Exp)",
  // 4 "Viterbi Bound".
  std::int32_t boundSelection() const;

  // Shows the dialog modally; the new selection when the user confirms, else `current`.
  static std::int32_t choose(std::int32_t current, QWidget* parent);

 private:
  QCheckBox* unionBoundQ_;
  QCheckBox* unionBoundExp_;
  QCheckBox* viterbiBound_;
};

}  // namespace brevandor
