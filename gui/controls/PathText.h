// Drawing a path with the platform's path ellipsis.
#pragma once

#include <windows.h>

#include <cstddef>
#include <string>

namespace gui {

// Texts longer than this keep their first and last part around "..." before
// they are drawn: the path ellipsis cannot take long texts (under Wine it
// drops what lies past 1,024 characters, file name included, and overflows
// its stack on a few thousand). Any control is far narrower than either
// part, so what shows is the same.
constexpr std::size_t kLongestDrawnPath = 512;

std::string ShortenedForDrawing(const std::string& text);

// DrawTextA of the (shortened) text, NUL-terminated, in the rectangle.
void DrawPathText(HDC dc, const std::string& text, RECT& rect, UINT format);

}  // namespace gui
