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

// Start of the character that ends at pos. Both lower and pos must be
// character boundaries and lower < pos. Only the run of lead-range bytes in
// front of pos is inspected: the byte before such a run always ends a
// character, so the run pairs up from its start.
inline size_t previous_char_start(const unsigned char *text, size_t lower, size_t pos, bool sjis) {
    const size_t last = pos - 1;
    if (!sjis || last == lower) return last;
    if (is_lead_byte(text[last])) {
        size_t run = last;
        while (run > lower && is_lead_byte(text[run - 1])) --run;
        return ((pos - run) % 2 == 0) ? pos - 2 : last;
    }
    if (!is_trail_byte(text[last])) return last;
    size_t run = last;
    while (run > lower && is_lead_byte(text[run - 1])) --run;
    return ((last - run) % 2 == 1) ? last - 1 : last;
}

}  // namespace bregexp

#endif
