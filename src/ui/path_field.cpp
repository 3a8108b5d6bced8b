#include "ui/path_field.h"

#include <QDir>
#include <QFileInfo>
#include <QFontMetrics>
#include <QStyle>
#include <QStyleOptionFrame>

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
  const int margin = 2 * fontMetrics().horizontalAdvance(QLatin1Char('x'));
  setText(fontMetrics().elidedText(path_, Qt::ElideMiddle, std::max(room.width() - margin, 0)));
  setCursorPosition(0);
}

}  // namespace brevandor
