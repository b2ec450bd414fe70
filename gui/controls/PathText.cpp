#include "PathText.h"

#include <algorithm>

namespace gui {
namespace {

// The first character boundary at or after `at`: a double-byte character's
// trail byte is never cut from its lead byte.
std::size_t CharacterBoundary(const std::string& text, std::size_t at) {
    std::size_t i = 0;
    while (i < at && i < text.size()) i += IsDBCSLeadByte(static_cast<BYTE>(text[i])) ? 2 : 1;
    return std::min(i, text.size());
}

}  // namespace

std::string ShortenedForDrawing(const std::string& text) {
    if (text.size() <= kLongestDrawnPath) return text;
    const std::size_t part = kLongestDrawnPath / 2;
    const std::size_t headEnd = CharacterBoundary(text, part);
    const std::size_t tailStart = CharacterBoundary(text, text.size() - part);
    return text.substr(0, headEnd) + "..." + text.substr(tailStart);
}

void DrawPathText(HDC dc, const std::string& text, RECT& rect, UINT format) {
    const std::string shown = ShortenedForDrawing(text);
    DrawTextA(dc, shown.c_str(), -1, &rect, format);
}

}  // namespace gui
