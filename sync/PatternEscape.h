// Turns a text into a pattern that matches exactly that text, so that a
// variable name such as "a.b" or "x(1)" is found as it is written.
#pragma once

#include <string>

// Every ASCII punctuation byte gets a backslash before it. The text is
// walked by characters under the library's Shift_JIS ("k") rule, so the 5C
// trail byte of "ソ" or "表" is left alone; after a lone lead byte the
// escape is wrapped in "(?:...)", because the backslash would pair with it.
std::string EscapePatternText(const std::string& text);
