#include "ui/field_checks.h"

#include <limits>

namespace brevandor {

namespace {

// The window reads a number field through a buffer of 32 characters with its terminator.
constexpr qsizetype kNumberFieldCharacters = 31;

bool isBlank(QChar character) {
  return character == u' ' || character == u'\t';
}

}  // namespace

std::optional<std::uint32_t> readUnsignedField(const QString& field) {
  const QString text = field.left(kNumberFieldCharacters);
  qsizetype position = 0;
  while (position < text.size() && isBlank(text[position])) {
    ++position;
  }
  const qsizetype firstDigit = position;
  std::uint64_t value = 0;
  constexpr std::uint64_t kLargest = std::numeric_limits<std::uint32_t>::max();
  while (position < text.size() && text[position] >= u'0' && text[position] <= u'9') {
    value = value * 10 + static_cast<std::uint64_t>(text[position].unicode() - u'0');
    if (value > kLargest) {
      value = kLargest;  // stays there: further digits only make it larger
    }
    ++position;
  }
  if (position == firstDigit) {
    return std::nullopt;
  }
  while (position < text.size() && isBlank(text[position])) {
    ++position;
  }
  if (position != text.size()) {
    return std::nullopt;
  }
  return static_cast<std::uint32_t>(value);
}

FieldCheck checkFrameLength(const QString& field, std::uint32_t minimum, std::uint32_t maximum) {
  const std::optional<std::uint32_t> number = readUnsignedField(field);
  if (!number) {
    return {false, 0, QStringLiteral("Please enter a positive integer.")};
  }
  if (*number < minimum || *number > maximum) {
    return {false, *number,
            QStringLiteral("Please enter an integer between %1 and %2.").arg(minimum).arg(maximum)};
  }
  return {true, *number, {}};
}

FieldCheck checkTextLength(const QString& field, qsizetype maximum) {
  if (field.size() > maximum) {
    return {false, 0, QStringLiteral("Please enter no more than %1 characters.").arg(maximum)};
  }
  return {true, 0, {}};
}

}  // namespace brevandor
