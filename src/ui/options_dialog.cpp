#include "ui/options_dialog.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

namespace brevandor {

namespace {

QCheckBox* boundBox(const char* name, const QString& text, const QString& tip, bool ticked,
                    QWidget* parent) {
  auto* box = new QCheckBox(text, parent);
  box->setObjectName(QLatin1String(name));
  box->setChecked(ticked);
  box->setToolTip(tip);
  return box;
}

}  // namespace

OptionsDialog::OptionsDialog(std::int32_t boundSelection, QWidget* parent)
    : QDialog(parent),
      unionBoundQ_(boundBox("unionBoundQ", QStringLiteral("Union Bound (Q function)"),
                            QStringLiteral("The union bound on the bit error rate, each term "
                                           "with the Gaussian tail function Q"),
                            (boundSelection & kUnionBoundQBit) != 0, this)),
      unionBoundExp_(boundBox("unionBoundExp", QStringLiteral("Union Bound (Exp)"),
                              QStringLiteral("The union bound in its exponential (Chernoff) "
                                             "form: simpler and a little looser"),
                              (boundSelection & kUnionBoundExpBit) != 0, this)),
      viterbiBound_(boundBox("viterbiBound", QStringLiteral("Viterbi Bound"),
                             QStringLiteral("An improved union bound, tighter at low "
                                            "signal-to-noise ratios"),
                             (boundSelection & kViterbiBoundBit) != 0, this)) {
  setObjectName(QStringLiteral("optionsDialog"));
  setWindowTitle(QStringLiteral("Options"));

  auto* ok = new QPushButton(QStringLiteral("OK"), this);
  ok->setObjectName(QStringLiteral("okButton"));
  ok->setDefault(true);
  ok->setToolTip(QStringLiteral("Compute the ticked bounds in the next calculations"));
  connect(ok, &QPushButton::clicked, this, &QDialog::accept);
  auto* cancel = new QPushButton(QStringLiteral("Cancel"), this);
  cancel->setObjectName(QStringLiteral("cancelButton"));
  cancel->setToolTip(QStringLiteral("Close without changing the bounds"));
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

  auto* buttons = new QHBoxLayout;
  buttons->addWidget(ok);
  buttons->addWidget(cancel);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(unionBoundQ_);
  layout->addWidget(unionBoundExp_);
  layout->addWidget(viterbiBound_);
  layout->addSpacing(6);
  layout->addLayout(buttons);
  layout->setSizeConstraint(QLayout::SetFixedSize);
}

std::int32_t OptionsDialog::boundSelection() const {
  return (viterbiBound_->isChecked() ? kViterbiBoundBit : 0) +
         (unionBoundExp_->isChecked() ? kUnionBoundExpBit : 0) +
         (unionBoundQ_->isChecked() ? kUnionBoundQBit : 0);
}

std::int32_t OptionsDialog::choose(std::int32_t current, QWidget* parent) {
  OptionsDialog dialog(current, parent);
  if (dialog.exec() != QDialog::Accepted) {
    return current;
  }
  return dialog.boundSelection();
}

}  // namespace brevandor
