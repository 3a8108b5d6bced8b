#include "ui/results_file_view.h"

#include <QFile>
#include <QFileInfo>
#include <QFontDatabase>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QShortcut>
#include <QTextCursor>
#include <QVBoxLayout>

namespace brevandor {

ResultsFileView::ResultsFileView(QWidget* parent)
    : QWidget(parent),
      pathLabel_(new QLabel(this)),
      note_(new QLabel(this)),
      view_(new QPlainTextEdit(this)),
      findBar_(new QWidget(this)),
      findField_(new QLineEdit(findBar_)),
      findStatus_(new QLabel(findBar_)) {
  setObjectName(QStringLiteral("resultsFileView"));
  pathLabel_->setObjectName(QStringLiteral("resultsPath"));
  pathLabel_->setTextInteractionFlags(Qt::TextSelectableByMouse);
  view_->setObjectName(QStringLiteral("resultsText"));
  view_->setReadOnly(true);
  view_->setLineWrapMode(QPlainTextEdit::NoWrap);
  view_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));

  findField_->setObjectName(QStringLiteral("findField"));
  findField_->setPlaceholderText(tr("Find in the results file"));
  findField_->installEventFilter(this);
  findStatus_->setObjectName(QStringLiteral("findStatus"));
  auto* next = new QPushButton(tr("Next"), findBar_);
  auto* previous = new QPushButton(tr("Previous"), findBar_);
  connect(next, &QPushButton::clicked, this, [this]() { findNext(false); });
  connect(previous, &QPushButton::clicked, this, [this]() { findNext(true); });
  auto* findLayout = new QHBoxLayout(findBar_);
  findLayout->setContentsMargins(0, 0, 0, 0);
  findLayout->addWidget(new QLabel(tr("Find:"), findBar_));
  findLayout->addWidget(findField_, 1);
  findLayout->addWidget(next);
  findLayout->addWidget(previous);
  findLayout->addWidget(findStatus_);
  findBar_->setObjectName(QStringLiteral("findBar"));
  findBar_->hide();
  auto* find = new QShortcut(QKeySequence::Find, this, this, &ResultsFileView::openFind);
  find->setContext(Qt::WidgetWithChildrenShortcut);

  auto* reloadButton = new QPushButton(tr("Reload"), this);
  reloadButton->setObjectName(QStringLiteral("reloadButton"));
  connect(reloadButton, &QPushButton::clicked, this, &ResultsFileView::reload);
  auto* pathRow = new QHBoxLayout;
  pathRow->addWidget(pathLabel_, 1);
  pathRow->addWidget(reloadButton);
  note_->setObjectName(QStringLiteral("resultsNote"));
  note_->setWordWrap(true);
  note_->setStyleSheet(QStringLiteral("color: #b00000"));
  note_->hide();
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(note_);
  layout->addWidget(view_, 1);
  layout->addWidget(findBar_);
  layout->addLayout(pathRow);
}

void ResultsFileView::showFile(const QString& path) {
  path_ = path;
  setNote({});
  reload();
}

void ResultsFileView::setNote(const QString& note) {
  note_->setText(note);
  note_->setVisible(!note.isEmpty());
}

QString ResultsFileView::note() const {
  return note_->text();
}

QString ResultsFileView::text() const {
  return view_->toPlainText();
}

void ResultsFileView::reload() {
  const QFileInfo info(path_);
  pathLabel_->setText(info.absoluteFilePath());
  QFile file(path_);
  if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) {
    view_->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    view_->setPlainText(tr("Cannot open the results file '%1': %2")
                            .arg(info.absoluteFilePath(), file.errorString()));
    return;
  }
  view_->setLineWrapMode(QPlainTextEdit::NoWrap);
  view_->setPlainText(QString::fromLocal8Bit(file.readAll()));
}

void ResultsFileView::openFind() {
  findBar_->show();
  findField_->setFocus();
  findField_->selectAll();
}

bool ResultsFileView::findNext(bool backward) {
  const QString wanted = findField_->text();
  if (wanted.isEmpty()) {
    findStatus_->clear();
    return false;
  }
  const QTextDocument::FindFlags flags =
      backward ? QTextDocument::FindBackward : QTextDocument::FindFlags();
  bool found = view_->find(wanted, flags);
  if (!found) {
    // Wrap around: start again from the other end.
    QTextCursor cursor = view_->textCursor();
    cursor.movePosition(backward ? QTextCursor::End : QTextCursor::Start);
    view_->setTextCursor(cursor);
    found = view_->find(wanted, flags);
  }
  findStatus_->setText(found ? QString() : tr("Not found"));
  return found;
}

bool ResultsFileView::eventFilter(QObject* watched, QEvent* event) {
  if (watched == findField_ &&
      (event->type() == QEvent::KeyPress || event->type() == QEvent::ShortcutOverride)) {
    const auto* key = static_cast<QKeyEvent*>(event);
    const bool enter = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
    if (key->key() == Qt::Key_Escape || enter) {
      // Claimed before any window shortcut, so Escape closes the bar and not the window.
      if (event->type() == QEvent::KeyPress) {
        if (enter) {
          findNext(key->modifiers().testFlag(Qt::ShiftModifier));
        } else {
          findBar_->hide();
          view_->setFocus();
        }
      }
      event->accept();
      return event->type() == QEvent::KeyPress;
    }
  }
  return QWidget::eventFilter(watched, event);
}

}  // namespace brevandor
