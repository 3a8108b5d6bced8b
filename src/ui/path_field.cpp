#include "ui/path_field.h"

#include <QDir>
#include <QFileInfo>
#include <QFontMetrics>
#include <QStyle>
#include <QStyleOptionFrame>
#include <QToolButton>

namespace brevandor {

PathField::PathField(QWidget* parent) : QLineEdit(parent) {
  setReadOnly(true);
}

void PathField::setPath(const QString& path) {
  path_ = QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath());
  setToolTip(path_);
  elide();
}

void PathField::resizeEvent(QResizeEvent* event) {
  QLineEdit::resizeEvent(event);
  elide();
}

void PathField::elide() {
  // The room for text inside the frame and the margins.
  QStyleOptionFrame option;
  initStyleOption(&option);
  const QRect room = style()->subElementRect(QStyle::SE_LineEditContents, &option, this);
  int margin = 2 * fontMetrics().horizontalAdvance(QLatin1Char('x'));
  // The buttons of the field's actions sit inside it, over the text's room.
  for (const QToolButton* button : findChildren<QToolButton*>()) {
    if (button->isVisibleTo(this)) {
      margin += button->width();
    }
  }
  setText(fontMetrics().elidedText(path_, Qt::ElideMiddle, std::max(room.width() - margin, 0)));
  setCursorPosition(0);
}

}  // namespace brevandor
