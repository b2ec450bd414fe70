// Characters of file names and page texts as this build reads them: the
// Windows build's names and pages are Shift_JIS (code page 932), the native
// build's UTF-8. Walking by characters keeps a Shift_JIS trail byte (the 5C
// of "ソ", an ASCII letter) from being taken for a delimiter or a letter.
#pragma once

#include <cstddef>
#include <string>

enum class CharacterSet { ShiftJis, Utf8 };

#ifdef _WIN32
inline constexpr CharacterSet kBuildCharacterSet = CharacterSet::ShiftJis;
#else
inline constexpr CharacterSet kBuildCharacterSet = CharacterSet::Utf8;
#endif

// Bytes of the character at text[i] (i < text.size()); a byte that starts
// no complete character counts as one.
std::size_t CharacterWidth(const std::string& text, std::size_t i, CharacterSet set = kBuildCharacterSet);
