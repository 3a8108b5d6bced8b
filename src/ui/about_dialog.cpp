#include "ui/about_dialog.h"

#include <QGridLayout>
#include <QLabel>
#include <QPushButton>

#include "ui/app_icon.h"

namespace brevandor {

namespace {

QLabel* line(const char* name, const QString& text, Qt::Alignment alignment, QWidget* parent) {
  auto* label = new QLabel(text, parent);
  label->setObjectName(QLatin1String(name));
  label->setAlignment(alignment);
  return label;
}

}  // namespace

AboutDialog::AboutDialog(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("aboutDialog"));
  setWindowTitle(QStringLiteral("About Brevandor"));

  auto* icon = new QLabel(this);
  icon->setPixmap(applicationIcon().pixmap(32, 32));
  icon->setAlignment(Qt::AlignTop);
  auto* ok = new QPushButton(QStringLiteral("OK"), this);
  ok->setObjectName(QStringLiteral("okButton"));
  ok->setDefault(true);
  connect(ok, &QPushButton::clicked, this, &QDialog::accept);

  const Qt::Alignment left = Qt::AlignLeft | Qt::AlignVCenter;
  auto* layout = new QGridLayout(this);
  layout->addWidget(icon, 0, 0, 5, 1);
  layout->addWidget(line("versionLine", QStringLiteral("Brevandor  Version 1.2"), left, this), 0,
                    1);
  layout->addWidget(ok, 0, 2, Qt::AlignTop);
  layout->addWidget(
      line("authorLine", QStringLiteral("Written by the Brevandor developers, 2024"), left, this),
      1, 1, 1, 2);
  layout->addWidget(
      line("webLine", QStringLiteral("https://brevandor.example.org"), Qt::AlignCenter, this), 2, 1,
      1, 2);
  layout->addWidget(
      line("groupLine", QStringLiteral("The Open Turbo Code Workbench"), Qt::AlignCenter, this), 3,
      1, 1, 2);
  layout->addWidget(line("placeLine", QStringLiteral("Channel coding tools for teaching and study"),
                         Qt::AlignCenter, this),
                    4, 1, 1, 2);
  layout->setHorizontalSpacing(14);
  layout->setSizeConstraint(QLayout::SetFixedSize);
}

}  // namespace brevandor
