// Walking a text by characters under the pattern library's Shift_JIS ("k")
// rule, as the library itself reads commands, so that the 5C trail byte of
// "ソ" or "表" is never taken for a backslash.
#pragma once

#include <cstddef>
#include <string>

#include "sjis.h"

// Calls onCharacter(position, width, afterLoneLead) for each character;
// afterLoneLead tells that the previous character was a lead byte standing
// alone, which a following backslash would pair with.
template <typename OnCharacter>
void ForEachSjisCharacter(const std::string& text, OnCharacter onCharacter) {
  const auto* bytes = reinterpret_cast<const unsigned char*>(text.data());
  bool afterLoneLead = false;
  for (std::size_t i = 0; i < text.size();) {
    const std::size_t width = bregexp::char_width(bytes, i, text.size(), true);
    onCharacter(i, width, afterLoneLead);
    afterLoneLead = width == 1 && bregexp::is_lead_byte(bytes[i]);
    i += width;
  }
}
