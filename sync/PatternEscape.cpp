#include "PatternEscape.h"

#include "sjis.h"

namespace {

bool IsAsciiPunctuation(unsigned char c) {
  return (c >= 0x21 && c <= 0x2F) || (c >= 0x3A && c <= 0x40) || (c >= 0x5B && c <= 0x60) ||
         (c >= 0x7B && c <= 0x7E);
}

}  // namespace

std::string EscapePatternText(const std::string& text) {
  std::string escaped;
  escaped.reserve(text.size() * 2);
  const auto* bytes = reinterpret_cast<const unsigned char*>(text.data());
  bool afterLoneLead = false;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (bregexp::char_width(bytes, i, text.size(), true) == 2) {
      escaped.append(text, i, 2);
      ++i;
      afterLoneLead = false;
      continue;
    }
    const unsigned char c = bytes[i];
    if (IsAsciiPunctuation(c)) {
      escaped += afterLoneLead ? "(?:\\" : "\\";
      escaped += text[i];
      if (afterLoneLead) escaped += ')';
    } else {
      escaped += text[i];
    }
    afterLoneLead = bregexp::is_lead_byte(c);
  }
  return escaped;
}
