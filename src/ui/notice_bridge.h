#pragma once

#include <QObject>
#include <QString>

#include "progress/notices.h"

namespace brevandor {

// Carries a run's notices from its thread to the window's thread: each notice, with its own
// copy of the text, is queued to the thread this object lives on and comes out there as a
// signal, in the order in which it was posted. No text is ever lost or shared between threads.
class NoticeBridge : public QObject, public NoticeTarget {
  Q_OBJECT

 public:
  explicit NoticeBridge(QObject* parent = nullptr) : QObject(parent) {}

  // Called on the run's thread: queues the notice to this object's thread.
  void receiveNotice(RunNotice notice) override;

 signals:
  // A text for the log.
  void logLine(const QString& text);
  // A text for the status line.
  void statusLine(const QString& text);
  // How far the run is across its stages.
  void progress(const brevandor::RunProgress& progress);
  // The run completed and has closed its results file.
  void runFinished();

 private:
  void deliver(const RunNotice& notice);
};

}  // namespace brevandor

Q_DECLARE_METATYPE(brevandor::RunProgress)
