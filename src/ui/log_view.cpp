#include "ui/log_view.h"

#include <QScrollBar>
#include <QTextCursor>

namespace brevandor {

LogView::LogView(QWidget* parent) : QPlainTextEdit(parent) {
  setReadOnly(true);
  setUndoRedoEnabled(false);
}

void LogView::appendAtEnd(const QString& text) {
  QTextCursor cursor(document());
  cursor.movePosition(QTextCursor::End);
  cursor.insertText(text);
  showEnd();
}

void LogView::resizeEvent(QResizeEvent* event) {
  // The scroll range still belongs to the old size here; the base class adjusts it.
  const bool followed = showsEnd();
  QPlainTextEdit::resizeEvent(event);
  if (followed) {
    showEnd();
  }
}

bool LogView::showsEnd() const {
  const QScrollBar* bar = verticalScrollBar();
  return bar->value() == bar->maximum();
}

void LogView::showEnd() {
  QScrollBar* bar = verticalScrollBar();
  bar->setValue(bar->maximum());
}

}  // namespace brevandor
