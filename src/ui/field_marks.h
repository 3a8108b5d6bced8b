#pragma once

#include <QString>

class QLabel;
class QWidget;

namespace brevandor {

// Marks an entry field whose value was refused (a light red background, and the dynamic
// property "refused" set to true), or clears the mark.
void markRefused(QWidget* field, bool refused);

// True while the field carries the mark.
bool isMarkedRefused(const QWidget* field);

// A line for the message beside a refused field: dark red, word-wrapped, hidden while empty.
QLabel* createFieldMessage(const char* name, QWidget* parent);

// Shows `text` in a field-message line, or hides the line when `text` is empty.
void showFieldMessage(QLabel* message, const QString& text);

}  // namespace brevandor
