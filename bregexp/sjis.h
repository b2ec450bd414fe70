// Character splitting shared by the command parser, the pattern parser and
// the matcher. Under Shift_JIS mode a lead byte followed by a trail byte is
// one character; any other byte is a character of its own, so ASCII bytes
// such as '%' or '/' are never swallowed by a stray lead byte.
#ifndef BREGEXP_SJIS_H
#define BREGEXP_SJIS_H

#include <cstddef>
#include <cstdint>

namespace bregexp {

inline bool is_lead_byte(unsigned char b) { return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC); }
inline bool is_trail_byte(unsigned char b) { return (b >= 0x40 && b <= 0x7E) || (b >= 0x80 && b <= 0xFC); }

// Bytes of the character starting at text[pos] (pos < size).
inline size_t char_width(const unsigned char *text, size_t pos, size_t size, bool sjis) {
    return (sjis && is_lead_byte(text[pos]) && pos + 1 < size && is_trail_byte(text[pos + 1])) ? 2 : 1;
}

// Character code: the byte itself, or lead * 256 + trail for a double-byte character.
inline uint32_t char_code(const unsigned char *text, size_t pos, size_t width) {
    return width == 2 ? (uint32_t(text[pos]) << 8) | text[pos + 1] : text[pos];
}

}  // namespace bregexp

#endif
