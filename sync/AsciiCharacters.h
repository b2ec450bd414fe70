// Byte classes of the ASCII range, free of the C locale (whose <cctype>
// would class bytes of double-byte characters as letters in some locales).
#pragma once

inline bool IsAsciiLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }
inline bool IsAsciiDigit(char c) { return c >= '0' && c <= '9'; }
inline char FoldAsciiCase(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }
// The white space of HTML and CSS.
inline bool IsHtmlSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f'; }
// True when c is one of the bytes of set (never for the byte 0).
inline bool IsOneOf(char c, const char* set) {
  for (; *set; ++set)
    if (*set == c) return true;
  return false;
}
