#include "PatternEscape.h"

#include "SjisCharacters.h"

namespace {

bool IsAsciiPunctuation(unsigned char c) {
  return (c >= 0x21 && c <= 0x2F) || (c >= 0x3A && c <= 0x40) || (c >= 0x5B && c <= 0x60) ||
         (c >= 0x7B && c <= 0x7E);
}

}  // namespace

std::string EscapePatternText(const std::string& text) {
  std::string escaped;
  escaped.reserve(text.size() * 2);
  ForEachSjisCharacter(text, [&](std::size_t i, std::size_t width, bool afterLoneLead) {
    const auto c = static_cast<unsigned char>(text[i]);
    if (width == 1 && IsAsciiPunctuation(c)) {
      escaped += afterLoneLead ? "(?:\\" : "\\";
      escaped += text[i];
      if (afterLoneLead) escaped += ')';
    } else {
      escaped.append(text, i, width);
    }
  });
  return escaped;
}
