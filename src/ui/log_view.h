#pragma once

#include <QPlainTextEdit>

namespace brevandor {

// The calculation log: read-only plain text that keeps its newest line in view. Texts go in
// at the end, wherever the caret is; a log that shows its end keeps showing it when it grows
// shorter (the progress bar appearing below it, a smaller window), where a plain text view
// would keep its top line and hide the newest ones.
class LogView : public QPlainTextEdit {
 public:
  explicit LogView(QWidget* parent = nullptr);

  // Appends `text` as it is at the end of the log and scrolls to its newest line.
  void appendAtEnd(const QString& text);

 protected:
  void resizeEvent(QResizeEvent* event) override;

 private:
  bool showsEnd() const;
  void showEnd();
};

}  // namespace brevandor
