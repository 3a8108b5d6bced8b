#include "ui/notice_bridge.h"

#include <QMetaObject>

namespace brevandor {

void NoticeBridge::receiveNotice(RunNotice notice) {
  // Queued, never blocking: the run's thread must not wait for the window, which may itself
  // be waiting for the run to end.
  QMetaObject::invokeMethod(
      this, [this, queued = std::move(notice)]() { deliver(queued); }, Qt::QueuedConnection);
}

void NoticeBridge::deliver(const RunNotice& notice) {
  switch (notice.kind) {
    case NoticeKind::LogLine:
      emit logLine(QString::fromStdString(notice.text));
      break;
    case NoticeKind::StatusLine:
      emit statusLine(QString::fromStdString(notice.text));
      break;
    case NoticeKind::Progress:
      emit progress(notice.progress);
      break;
    case NoticeKind::RunFinished:
      emit runFinished();
      break;
  }
}

}  // namespace brevandor
