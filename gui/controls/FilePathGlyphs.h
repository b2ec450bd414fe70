// The browse button's four 16x16 glyphs: two drawn text glyphs ("…" and "▼")
// and the system toolbar's open-file and folder images.
#pragma once

#include "Handles.h"

namespace gui {

constexpr int kGlyphSize = 16;

// Images 0 (dots), 1 (down triangle), 2 (open file), 3 (folder).
ImageListPtr BuildFilePathGlyphs();

// The image drawn on a white 16x16 bitmap; grey and embossed when disabled.
BitmapPtr RenderGlyph(HIMAGELIST glyphs, int index, bool enabled);

}  // namespace gui
