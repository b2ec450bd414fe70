#include "UnicodeText.h"

namespace {

bool IsHighSurrogate(char32_t unit) { return unit >= 0xD800 && unit <= 0xDBFF; }
bool IsLowSurrogate(char32_t unit) { return unit >= 0xDC00 && unit <= 0xDFFF; }

}  // namespace

char32_t CodePointOfUtf8(std::string_view character) {
  const auto lead = static_cast<unsigned char>(character[0]);
  if (character.size() == 1) return lead;
  // The lead byte keeps 7 - size bits; every continuation byte 6.
  char32_t codePoint = lead & (0x7Fu >> character.size());
  for (std::size_t i = 1; i < character.size(); ++i)
    codePoint = (codePoint << 6) | (static_cast<unsigned char>(character[i]) & 0x3Fu);
  return codePoint;
}

void AppendUtf8(std::string& out, char32_t codePoint) {
  if (codePoint < 0x80) {
    out += static_cast<char>(codePoint);
    return;
  }
  const int continuations = codePoint < 0x800 ? 1 : codePoint < 0x10000 ? 2 : 3;
  static const unsigned char kLeadMarks[] = {0, 0xC0, 0xE0, 0xF0};
  out += static_cast<char>(kLeadMarks[continuations] | (codePoint >> (6 * continuations)));
  for (int shift = 6 * (continuations - 1); shift >= 0; shift -= 6)
    out += static_cast<char>(0x80 | ((codePoint >> shift) & 0x3F));
}

bool Utf16ToUtf8(std::string_view bytes, bool bigEndian, std::string& out, std::size_t& badOffset) {
  out.clear();
  out.reserve(bytes.size() + bytes.size() / 2);
  const auto unitAt = [&](std::size_t pos) -> char32_t {
    const auto first = static_cast<unsigned char>(bytes[pos]);
    const auto second = static_cast<unsigned char>(bytes[pos + 1]);
    return bigEndian ? (char32_t{first} << 8) | second : (char32_t{second} << 8) | first;
  };
  std::size_t pos = 0;
  for (; pos + 1 < bytes.size(); pos += 2) {
    const char32_t unit = unitAt(pos);
    if (IsLowSurrogate(unit)) break;
    if (!IsHighSurrogate(unit)) {
      AppendUtf8(out, unit);
      continue;
    }
    if (pos + 3 >= bytes.size() || !IsLowSurrogate(unitAt(pos + 2))) break;
    AppendUtf8(out, 0x10000 + ((unit - 0xD800) << 10) + (unitAt(pos + 2) - 0xDC00));
    pos += 2;
  }
  badOffset = pos;
  return pos == bytes.size();
}
