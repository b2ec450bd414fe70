// Turns a text into a replacement that the pattern library copies byte for
// byte: every "\", "$" and "/" gets a backslash before it. The text is
// walked by characters under the library's Shift_JIS ("k") rule, so the 5C
// trail byte of a double-byte character (as in "ソ" or "表") is left alone.
#pragma once

#include <string>

// False when the text cannot be expressed as a replacement: a lone lead
// byte directly before "$" or "/" would pair with the escaping backslash.
bool EscapeReplacementText(const std::string& text, std::string& escaped);
