#include "progress/printable_text.h"

#include <cstdint>
#include <cstdio>

namespace brevandor {

namespace {

void appendHex(std::string& out, const char* prefix, unsigned value, int digits) {
  char text[16];
  std::snprintf(text, sizeof text, "%s%0*x", prefix, digits, value);
  out += text;
}

void appendControl(std::string& out, unsigned char c) {
  switch (c) {
    case '\n':
      out += "\\n";
      break;
    case '\r':
      out += "\\r";
      break;
    case '\t':
      out += "\\t";
      break;
    case 0x1b:
      out += "\\e";
      break;
    default:
      appendHex(out, "\\x", c, 2);
  }
}

// The length of the well-formed UTF-8 sequence at the start of `text` (shortest form, no
// surrogates, at most U+10FFFF), or 0.
std::size_t sequenceLength(std::string_view text, std::uint32_t& codePoint) {
  const auto lead = static_cast<unsigned char>(text[0]);
  std::size_t length = 0;
  if (lead >= 0xc2 && lead <= 0xdf) {
    length = 2;
    codePoint = lead & 0x1fu;
  } else if (lead >= 0xe0 && lead <= 0xef) {
    length = 3;
    codePoint = lead & 0x0fu;
  } else if (lead >= 0xf0 && lead <= 0xf4) {
    length = 4;
    codePoint = lead & 0x07u;
  } else {
    return 0;
  }
  if (text.size() < length) {
    return 0;
  }
  for (std::size_t i = 1; i < length; ++i) {
    const auto next = static_cast<unsigned char>(text[i]);
    if ((next & 0xc0u) != 0x80u) {
      return 0;
    }
    codePoint = (codePoint << 6) | (next & 0x3fu);
  }
  const bool overlong = (length == 3 && codePoint < 0x800) || (length == 4 && codePoint < 0x10000);
  const bool surrogate = codePoint >= 0xd800 && codePoint <= 0xdfff;
  if (overlong || surrogate || codePoint > 0x10ffff) {
    return 0;
  }
  return length;
}

}  // namespace

std::string printableText(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  while (!text.empty()) {
    const auto c = static_cast<unsigned char>(text[0]);
    if (c < 0x20 || c == 0x7f) {
      appendControl(out, c);
      text.remove_prefix(1);
      continue;
    }
    if (c < 0x80) {
      out += static_cast<char>(c);
      text.remove_prefix(1);
      continue;
    }
    std::uint32_t codePoint = 0;
    const std::size_t length = sequenceLength(text, codePoint);
    if (length == 0) {
      appendHex(out, "\\x", c, 2);
      text.remove_prefix(1);
    } else if (codePoint < 0xa0) {
      appendHex(out, "\\u", codePoint, 4);  // a C1 control, such as the one-byte CSI
      text.remove_prefix(length);
    } else {
      out.append(text.substr(0, length));
      text.remove_prefix(length);
    }
  }
  return out;
}

}  // namespace brevandor
