#include "ui/options_dialog.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

namespace brevandor {

namespace {

QCheckBox* boundBox(const char* name, const QString& text, bool ticked, QWidget* parent) {
  auto* box = new QCheckBox(text, parent);
  box->setObjectName(QLatin1String(name));
  box->setChecked(ticked);
  return box;
}

}  // namespace

OptionsDialog::OptionsDialog(std::int32_t boundSelection, QWidget* parent)
    : QDialog(parent),
      unionBoundQ_(boundBox("unionBoundQ", QStringLiteral("Union Bound (Q function)"),
                            (boundSelection & kUnionBoundQBit) != 0, this)),
      unionBoundExp_(boundBox("unionBoundExp", QStringLiteral("Union Bound (Exp)"),
                              (boundSelection & kUnionBoundExpBit) != 0, this)),
      viterbiBound_(boundBox("viterbiBound", QStringLiteral("Viterbi Bound"),
                             (boundSelection & kViterbiBoundBit) != 0, this)) {
  setObjectName(QStringLiteral("optionsDialog"));
  setWindowTitle(QStringLiteral("Options"));

  auto* ok = new QPushButton(QStringLiteral("OK"), this);
  ok->setObjectName(QStringLiteral("okButton"));
  ok->setDefault(true);
  connect(ok, &QPushButton::clicked, this, &QDialog::accept);
  auto* cancel = new QPushButton(QStringLiteral("Cancel"), this);
  cancel->setObjectName(QStringLiteral("cancelButton"));
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
