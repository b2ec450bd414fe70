#include "NameCharacters.h"

#include "sjis.h"

std::size_t CharacterWidth(const std::string& text, std::size_t i, CharacterSet set) {
  const auto* bytes = reinterpret_cast<const unsigned char*>(text.data());
  if (set == CharacterSet::ShiftJis) return bregexp::char_width(bytes, i, text.size(), true);
  const unsigned char lead = bytes[i];
  const std::size_t width = lead >= 0xC2 && lead <= 0xDF ? 2 : lead >= 0xE0 && lead <= 0xEF ? 3
                            : lead >= 0xF0 && lead <= 0xF4                                 ? 4
                                                                                           : 1;
  if (i + width > text.size()) return 1;
  for (std::size_t k = 1; k < width; ++k)
    if ((bytes[i + k] & 0xC0) != 0x80) return 1;
  return width;
}
