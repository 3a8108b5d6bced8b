#include "code/polynomial.h"

#include <array>

namespace brevandor {

std::int32_t digitValue(char character) {
  if (character >= '0' && character <= '9') {
    return character - '0';
  }
  return -1;
}

namespace {

constexpr int kMaxExponent = 9;

// Reading state of one parse: the text without blanks, the position and one counter per
// exponent.
class PolynomialReader {
 public:
  explicit PolynomialReader(std::string_view text) {
    for (const char c : text) {
      if (c != ' ') {  // only the space character is a blank; tabs stay and are refused
        text_.push_back(c);
      }
    }
  }

  std::int32_t parse() {
    while (position_ < text_.size()) {
      const std::int32_t flags = readItem();
      if (flags != 0) {
        return -flags;
      }
    }
    std::int32_t mask = 0;
    for (int exponent = 0; exponent <= kMaxExponent; ++exponent) {
      if (counters_[exponent] == 1) {
        mask += 1 << exponent;
      }
    }
    return mask;
  }

 private:
  // The character at `index`, or '\0' past the end of the text.
  char at(std::size_t index) const { return index < text_.size() ? text_[index] : '\0'; }

  bool isEnd(std::size_t index) const { return index >= text_.size(); }

  std::int32_t countTerm(int exponent) { return ++counters_[exponent] > 1 ? DuplicateTerm : 0; }

  // Reads one item at the current position and returns the flags it raised.
  std::int32_t readItem() {
    const char c = text_[position_];
    if (c == '+') {
      ++position_;
      return 0;
    }
    if (c == '1') {
      std::int32_t flags = countTerm(0);
      ++position_;
      if (!isEnd(position_) && at(position_) != '+') {
        flags |= IllegalGrammar;
      }
      return flags;
    }
    if (c == 'D') {
      return readPowerOfD();
    }
    ++position_;
    return IllegalGrammar;
  }

  // Reads "D", "D^d" or the short form "Dd" (d = 1 … 9) at the current position.
  std::int32_t readPowerOfD() {
    const std::size_t next = position_ + 1;
    const char c = at(next);
    if (isEnd(next) || c == '+') {
      position_ = next;
      return countTerm(1);
    }
    if (c == '^') {
      const std::int32_t exponent = digitValue(at(next + 1));
      if (isEnd(next + 1) || exponent < 0) {
        position_ = next + 1;
        return IllegalGrammar;
      }
      return readExponentDigit(exponent, next + 1);
    }
    const std::int32_t shortExponent = digitValue(c);
    if (shortExponent >= 1) {
      return readExponentDigit(shortExponent, next);
    }
    position_ = next;
    return IllegalGrammar;
  }

  // Counts D^exponent whose digit stands at `digitIndex`; a second digit makes it too large.
  std::int32_t readExponentDigit(std::int32_t exponent, std::size_t digitIndex) {
    std::int32_t flags = countTerm(exponent);
    if (digitValue(at(digitIndex + 1)) >= 0) {
      flags |= ExponentTooLarge;
    }
    position_ = digitIndex + 1;
    return flags;
  }

  std::string text_;
  std::size_t position_ = 0;
  std::array<std::int32_t, kMaxExponent + 1> counters_{};
};

}  // namespace

std::int32_t parsePolynomial(std::string_view text) {
  return PolynomialReader(text).parse();
}

std::string polynomialMessage(std::int32_t flags) {
  if (flags == 0) {
    return " Error : No Polynomial ";
  }
  std::string message = " ";
  if ((flags & DuplicateTerm) != 0) {
    message += " Coefficient of D^n for all n should be 0 or 1 ";
  }
  if ((flags & IllegalGrammar) != 0) {
    message += " Illegal Grammar ";
  }
  if ((flags & ExponentTooLarge) != 0) {
    message += " Exponent n (in D^n) larger than or equal to 10 not supported ";
  }
  return message;
}

std::string polynomialText(std::int32_t mask) {
  std::string text;
  for (int exponent = 0; exponent < 31; ++exponent) {
    if (((mask >> exponent) & 1) == 0) {
      continue;
    }
    if (!text.empty()) {
      text += '+';
    }
    text += exponent == 0 ? "1" : exponent == 1 ? "D" : "D^" + std::to_string(exponent);
  }
  return text.empty() ? "0" : text;
}

}  // namespace brevandor
