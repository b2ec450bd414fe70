// The text encodings the engine tells apart, their names for messages, and
// the byte rules that say whether a text is valid in one of them.
#pragma once

#include <cstddef>
#include <optional>
#include <string_view>

enum class TextEncoding {
  Any,      // ASCII only: the same bytes in every encoding below
  Utf8,
  ShiftJis,  // Microsoft's CP932
  EucJp,
  Utf16Le,  // lists only, and only with a byte-order mark
  Utf16Be,
  Unknown,  // none of the above fits, or a declared encoding the engine does not know
};

// "UTF-8", "Shift_JIS", "EUC-JP", "UTF-16LE", "UTF-16BE"; "ASCII" and "不明"
// for the other two.
const char* EncodingName(TextEncoding encoding);

// The encoding of the program's own texts and of the names it is given:
// Shift_JIS in the Windows build, UTF-8 natively.
constexpr TextEncoding NativeEncoding() {
#ifdef _WIN32
  return TextEncoding::ShiftJis;
#else
  return TextEncoding::Utf8;
#endif
}

// The encoding a byte-order mark at the start of the bytes names (UTF-8,
// UTF-16 LE or BE), or none.
std::optional<TextEncoding> ByteOrderMarkEncoding(std::string_view bytes);
std::size_t ByteOrderMarkLength(TextEncoding encoding);

// Whole-text checks. Shift_JIS is valid with CP932's lead bytes (81-84,
// 87-9F, E0-EA, ED-EE, FA-FC) and trail bytes and its half-width katakana;
// the user-defined rows (F0-F9) and the bytes 80, A0, FD-FF are not text.
// EUC-JP is valid with two-byte characters (A1-FE pairs), half-width
// katakana (8E A1-DF) and three-byte JIS X 0212 characters (8F, then two
// A1-FE bytes). UTF-8 is valid without overlong forms, surrogates or code
// points above U+10FFFF.
// Bytes before the first non-ASCII byte (the whole size for ASCII only).
std::size_t AsciiPrefixLength(std::string_view bytes);
bool IsValidUtf8(std::string_view bytes);
bool IsValidShiftJis(std::string_view bytes);
bool IsValidEucJp(std::string_view bytes);

// Bytes of the character at text[pos] (pos < size), for walking a text
// without splitting a character: 1 for ASCII and for a byte that starts no
// character. Shift_JIS pairs any lead byte (81-9F, E0-FC) with a trail
// byte, as the system's file API does; UTF-8 and EUC-JP walk by the rules
// above; Any and Unknown walk by bytes.
std::size_t CharacterLength(TextEncoding encoding, std::string_view text, std::size_t pos);
