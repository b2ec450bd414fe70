#include "ReplacementEscape.h"

bool IsShiftJisLeadByte(unsigned char c) { return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC); }

bool IsShiftJisTrailByte(unsigned char c) { return (c >= 0x40 && c <= 0x7E) || (c >= 0x80 && c <= 0xFC); }

bool EscapeReplacementText(const std::string& text, std::string& escaped) {
  escaped.clear();
  escaped.reserve(text.size() + text.size() / 16 + 8);
  bool afterLoneLead = false;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const auto c = static_cast<unsigned char>(text[i]);
    if (IsShiftJisLeadByte(c) && i + 1 < text.size() && IsShiftJisTrailByte(static_cast<unsigned char>(text[i + 1]))) {
      escaped.append(text, i, 2);
      ++i;
      afterLoneLead = false;
      continue;
    }
    if (c == '\\' || c == '$' || c == '/') {
      if (afterLoneLead) return false;
      escaped += '\\';
    }
    escaped += text[i];
    afterLoneLead = IsShiftJisLeadByte(c);
  }
  return true;
}
