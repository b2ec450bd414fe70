#include "ReplacementEscape.h"

#include "SjisCharacters.h"

bool EscapeReplacementText(const std::string& text, std::string& escaped) {
  escaped.clear();
  escaped.reserve(text.size() + text.size() / 16 + 8);
  bool expressible = true;
  ForEachSjisCharacter(text, [&](std::size_t i, std::size_t width, bool afterLoneLead) {
    const char c = text[i];
    if (width == 1 && (c == '\\' || c == '$' || c == '/')) {
      if (afterLoneLead) expressible = false;
      escaped += '\\';
    }
    escaped.append(text, i, width);
  });
  return expressible;
}
