#include "ui/field_marks.h"

#include <QLabel>
#include <QPalette>
#include <QVariant>
#include <QWidget>

namespace brevandor {

namespace {

constexpr const char* kRefusedProperty = "refused";
const QColor kRefusedBackground(255, 222, 222);
const QColor kMessageColour(170, 0, 0);

}  // namespace

void markRefused(QWidget* field, bool refused) {
  if (isMarkedRefused(field) == refused) {
    return;
  }
  field->setProperty(kRefusedProperty, refused);
  if (refused) {
    QPalette palette = field->palette();
    palette.setColor(QPalette::Base, kRefusedBackground);
    field->setPalette(palette);
  } else {
    field->setPalette(QPalette());  // nothing set of its own: the field looks as before
  }
}

bool isMarkedRefused(const QWidget* field) {
  return field->property(kRefusedProperty).toBool();
}

QLabel* createFieldMessage(const char* name, QWidget* parent) {
  auto* message = new QLabel(parent);
  message->setObjectName(QLatin1String(name));
  message->setWordWrap(true);
  QPalette palette = message->palette();
  palette.setColor(QPalette::WindowText, kMessageColour);
  message->setPalette(palette);
  message->setVisible(false);
  return message;
}

void showFieldMessage(QLabel* message, const QString& text) {
  message->setText(text);
  message->setVisible(!text.isEmpty());
}

}  // namespace brevandor
