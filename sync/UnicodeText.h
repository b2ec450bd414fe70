// UTF-8 and UTF-16 by arithmetic: the code point of a UTF-8 character,
// UTF-8 from code points, and UTF-16 decoded into UTF-8.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// The code point of the valid UTF-8 character that the bytes hold.
char32_t CodePointOfUtf8(std::string_view character);

void AppendUtf8(std::string& out, char32_t codePoint);

// UTF-16 without its byte-order mark, in the given byte order, as UTF-8.
// False, with the offset of the first code unit that is no character (a
// lone surrogate, or an odd last byte), when it is not UTF-16.
bool Utf16ToUtf8(std::string_view bytes, bool bigEndian, std::string& out, std::size_t& badOffset);
