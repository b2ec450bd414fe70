// A font description that controls copy and turn into their own HFONT.
#pragma once

#include "Color.h"
#include "Handles.h"

#include <string>

namespace gui {

struct TFont {
    std::string Name;            // empty: the system's default interface font
    int Height = 0;              // character height in pixels; 0: the default font's size
    BYTE Charset = DEFAULT_CHARSET;
    TColor Color = clWindowText;
    bool Bold = false;
    bool Italic = false;
    bool Underline = false;
    bool StrikeOut = false;

    // Character height for a size in points on the screen.
    static int PointsToHeight(int points);
    FontPtr CreateHandle() const;

    bool operator==(const TFont& other) const;
    bool operator!=(const TFont& other) const { return !(*this == other); }
};

}  // namespace gui
