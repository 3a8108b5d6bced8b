#include "modal_answerer.h"

#include <QAbstractButton>
#include <QApplication>

namespace brevandor::testing {

void pressFirstButton(QMessageBox* box) {
  const QList<QAbstractButton*> buttons = box->buttons();
  if (buttons.isEmpty()) {
    box->reject();
  } else {
    buttons.front()->click();
  }
}

ModalAnswerer::ModalAnswerer() : ModalAnswerer(Answer{}) {}

ModalAnswerer::ModalAnswerer(Answer answer) : answer_(std::move(answer)) {
  connect(&timer_, &QTimer::timeout, this, &ModalAnswerer::look);
  timer_.start(5);
}

void ModalAnswerer::look() {
  QWidget* modal = QApplication::activeModalWidget();
  if (modal == nullptr || modal == last_ || !modal->isVisible()) {
    return;
  }
  last_ = modal;
  ++count_;
  auto* box = qobject_cast<QMessageBox*>(modal);
  if (box != nullptr) {
    texts_.append(box->text());
    captions_.append(box->windowTitle());
  }
  if (answer_) {
    answer_(modal);
  } else if (box != nullptr) {
    pressFirstButton(box);
  } else {
    modal->close();
  }
}

}  // namespace brevandor::testing
