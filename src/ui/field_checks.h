#pragma once

#include <QString>
#include <cstdint>
#include <optional>

namespace brevandor {

// The outcome of reading one field of the main window: the value, or the message that the
// window shows before it puts the focus back on the field.
struct FieldCheck {
  bool accepted = false;
  std::uint32_t value = 0;  // the number read, for numeric fields
  QString message;          // empty when accepted
};

// Reads an unsigned decimal number from at most the first 31 characters of a field: blanks
// before and after the digits are skipped; an empty field, a sign or any other character
// makes it no number. Numbers beyond the 32-bit range saturate at its largest value.
std::optional<std::uint32_t> readUnsignedField(const QString& field);

// Reads the input frame length: a number from `minimum` to `maximum`, else "Please enter a
// positive integer." or "Please enter an integer between %1 and %2.".
FieldCheck checkFrameLength(const QString& field, std::uint32_t minimum, std::uint32_t maximum);

// Accepts a text of at most `maximum` characters, else "Please enter no more than %1
// characters.".
FieldCheck checkTextLength(const QString& field, qsizetype maximum);

}  // namespace brevandor
