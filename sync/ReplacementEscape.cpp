#include "ReplacementEscape.h"

#include "sjis.h"

bool EscapeReplacementText(const std::string& text, std::string& escaped) {
  escaped.clear();
  escaped.reserve(text.size() + text.size() / 16 + 8);
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
    if (c == '\\' || c == '$' || c == '/') {
      if (afterLoneLead) return false;
      escaped += '\\';
    }
    escaped += text[i];
    afterLoneLead = bregexp::is_lead_byte(c);
  }
  return true;
}
