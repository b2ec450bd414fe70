#include "Font.h"

#include <cstring>

namespace gui {

int TFont::PointsToHeight(int points) {
    WindowDc screen(nullptr);
    return MulDiv(points, GetDeviceCaps(screen.get(), LOGPIXELSY), 72);
}

FontPtr TFont::CreateHandle() const {
    LOGFONTA log{};
    GetObjectA(GetStockObject(DEFAULT_GUI_FONT), sizeof(log), &log);
    if (!Name.empty()) {
        std::memset(log.lfFaceName, 0, sizeof(log.lfFaceName));
        Name.copy(log.lfFaceName, sizeof(log.lfFaceName) - 1);
        log.lfCharSet = Charset;
    }
    if (Height != 0) log.lfHeight = -Height;  // negative: character height, not cell height
    log.lfWidth = 0;
    log.lfWeight = Bold ? FW_BOLD : FW_NORMAL;
    log.lfItalic = Italic;
    log.lfUnderline = Underline;
    log.lfStrikeOut = StrikeOut;
    return FontPtr(CreateFontIndirectA(&log));
}

bool TFont::operator==(const TFont& other) const {
    return Name == other.Name && Height == other.Height && Charset == other.Charset && Color == other.Color &&
           Bold == other.Bold && Italic == other.Italic && Underline == other.Underline &&
           StrikeOut == other.StrikeOut;
}

}  // namespace gui
