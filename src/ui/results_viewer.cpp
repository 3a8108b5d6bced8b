#include "ui/results_viewer.h"

#include <QFile>
#include <QFileInfo>
#include <QFontDatabase>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QShortcut>
#include <QVBoxLayout>

#include "ui/app_icon.h"

namespace brevandor {

ResultsViewer::ResultsViewer(QWidget* parent)
    : QWidget(parent, Qt::Window), pathLabel_(new QLabel(this)), view_(new QPlainTextEdit(this)) {
  setObjectName(QStringLiteral("resultsViewer"));
  setWindowIcon(applicationIcon());
  pathLabel_->setObjectName(QStringLiteral("resultsPath"));
  pathLabel_->setTextInteractionFlags(Qt::TextSelectableByMouse);
  view_->setObjectName(QStringLiteral("resultsText"));
  view_->setReadOnly(true);
  view_->setLineWrapMode(QPlainTextEdit::NoWrap);
  view_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));

  auto* reload = new QPushButton(tr("Reload"), this);
  reload->setObjectName(QStringLiteral("reloadButton"));
  connect(reload, &QPushButton::clicked, this, &ResultsViewer::load);
  auto* close = new QPushButton(tr("Close"), this);
  close->setObjectName(QStringLiteral("closeButton"));
  connect(close, &QPushButton::clicked, this, &QWidget::close);
  new QShortcut(QKeySequence::Cancel, this, this, &QWidget::close);

  auto* buttons = new QHBoxLayout;
  buttons->addWidget(pathLabel_, 1);
  buttons->addWidget(reload);
  buttons->addWidget(close);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(view_, 1);
  layout->addLayout(buttons);

  // Wide enough for the results file's widest lines at the fixed-width font.
  const QFontMetrics metrics(view_->font());
  resize(metrics.horizontalAdvance(QLatin1Char('0')) * 100, metrics.height() * 36);
}

void ResultsViewer::showFile(const QString& path) {
  path_ = path;
  load();
  show();
  raise();
  activateWindow();
}

QString ResultsViewer::text() const {
  return view_->toPlainText();
}

void ResultsViewer::load() {
  const QFileInfo info(path_);
  setWindowTitle(tr("Brevandor - %1").arg(info.fileName()));
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

}  // namespace brevandor
