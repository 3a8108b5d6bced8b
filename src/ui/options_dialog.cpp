#include "ui/options_dialog.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

namespace brevandor {

namespace {

// The object names of the check boxes, in catalogue order, as the window tests find them.
constexpr std::array<const char*, kBoundCatalogue.size()> kBoxNames = {
    "unionBoundQ", "unionBoundExp", "viterbiBound"};

QString fromView(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// The tool tip of a bound: its description from the catalogue, as a sentence.
QString toolTipOf(std::string_view meaning) {
  QString tip = fromView(meaning);
  tip[0] = tip[0].toUpper();
  return tip;
}

}  // namespace

OptionsDialog::OptionsDialog(BerBoundSet boundSelection, QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("optionsDialog"));
  setWindowTitle(QStringLiteral("Options"));
  auto* layout = new QVBoxLayout(this);
  for (std::size_t i = 0; i < kBoundCatalogue.size(); ++i) {
    const auto& bound = kBoundCatalogue[i];
    auto* box = new QCheckBox(fromView(bound.title), this);
    box->setObjectName(QLatin1String(kBoxNames[i]));
    box->setChecked(boundSelection.contains(bound.bit));
    box->setToolTip(toolTipOf(bound.meaning));
    layout->addWidget(box);
    boxes_[i] = box;
  }

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
  layout->addSpacing(6);
  layout->addLayout(buttons);
  layout->setSizeConstraint(QLayout::SetFixedSize);
}

BerBoundSet OptionsDialog::boundSelection() const {
  BerBoundSet selection;
  for (std::size_t i = 0; i < kBoundCatalogue.size(); ++i) {
    if (boxes_[i]->isChecked()) {
      selection.insert(kBoundCatalogue[i].bit);
    }
  }
  return selection;
}

BerBoundSet OptionsDialog::choose(BerBoundSet current, QWidget* parent) {
  OptionsDialog dialog(current, parent);
  if (dialog.exec() != QDialog::Accepted) {
    return current;
  }
  return dialog.boundSelection();
}

}  // namespace brevandor
