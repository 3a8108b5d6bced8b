#pragma once

#include <QMessageBox>
#include <QPointer>
#include <QStringList>
#include <QTimer>
#include <functional>

namespace brevandor::testing {

// Answers the modal dialogs that the code under test opens and waits on: every few
// milliseconds it looks at the application's active modal widget and hands each new one to
// the answer. Message boxes are recorded (caption and text) and closed with their button.
class ModalAnswerer : public QObject {
  Q_OBJECT

 public:
  using Answer = std::function<void(QWidget*)>;

  // Closes message boxes with their first button.
  ModalAnswerer();
  // Answers every modal widget with `answer`.
  explicit ModalAnswerer(Answer answer);

  // The number of modal widgets answered.
  int count() const { return count_; }
  // The texts and captions of the message boxes answered, in order.
  const QStringList& texts() const { return texts_; }
  const QStringList& captions() const { return captions_; }

 private:
  void look();

  Answer answer_;
  QTimer timer_;
  QPointer<QWidget> last_;
  int count_ = 0;
  QStringList texts_;
  QStringList captions_;
};

// Closes a message box with its first button.
void pressFirstButton(QMessageBox* box);

}  // namespace brevandor::testing
