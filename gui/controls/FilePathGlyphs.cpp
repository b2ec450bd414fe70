#include "FilePathGlyphs.h"

#include "Color.h"

#include <cstring>

namespace gui {
namespace {

constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr int kStdFileOpen = 7;             // STD_FILEOPEN in the standard set
constexpr int kHistAddToFavorites = 15 + 3;  // HIST_ADDTOFAVORITES after the fifteen standard images

class WorkBitmap {
public:
    WorkBitmap() {
        WindowDc screen(nullptr);
        dc_.reset(CreateCompatibleDC(screen.get()));
        bitmap_.reset(CreateCompatibleBitmap(screen.get(), kGlyphSize, kGlyphSize));
    }
    HDC dc() const { return dc_.get(); }

    // Runs a drawing step on the cleared bitmap, then adds it to the list with white as transparent.
    template <class Draw>
    void AddMasked(HIMAGELIST list, Draw draw) {
        {
            SelectGuard selected(dc_.get(), bitmap_.get());
            RECT all{0, 0, kGlyphSize, kGlyphSize};
            FillRect(dc_.get(), &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
            draw(dc_.get());
        }
        ImageList_AddMasked(list, bitmap_.get(), kWhite);
    }

private:
    MemoryDcPtr dc_;
    BitmapPtr bitmap_;
};

FontPtr InterfaceFont(int points) {
    LOGFONTA log{};
    GetObjectA(GetStockObject(DEFAULT_GUI_FONT), sizeof(log), &log);
    WindowDc screen(nullptr);
    log.lfHeight = -MulDiv(points, GetDeviceCaps(screen.get(), LOGPIXELSY), 72);
    log.lfWidth = 0;
    return FontPtr(CreateFontIndirectA(&log));
}

// DT_VCENTER acts only with DT_SINGLELINE, so the text starts at the top (y = 1).
void DrawTextGlyph(HDC dc, const char* text, int points) {
    FontPtr font = InterfaceFont(points);
    SelectGuard selected(dc, font.get());
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, RGB(0, 0, 0));
    RECT rect{0, 1, kGlyphSize, kGlyphSize};
    DrawTextA(dc, text, static_cast<int>(std::strlen(text)), &rect, DT_CENTER | DT_VCENTER);
}

// Stand-ins where the platform has no toolbar image sets.
void DrawFolder(HDC dc, bool open) {
    BrushPtr yellow(CreateSolidBrush(RGB(240, 200, 80)));
    HPEN pen = static_cast<HPEN>(GetStockObject(BLACK_PEN));
    SelectGuard penGuard(dc, pen);
    SelectGuard brushGuard(dc, yellow.get());
    POINT tab[] = {{1, 4}, {5, 4}, {6, 3}, {8, 3}, {8, 5}, {14, 5}, {14, 13}, {1, 13}};
    Polygon(dc, tab, 8);
    if (open) {
        POINT flap[] = {{3, 8}, {15, 8}, {13, 13}, {1, 13}};
        Polygon(dc, flap, 4);
    }
}

void DrawListImage(HDC dc, HIMAGELIST list, int index, bool isOpenFile) {
    if (list && ImageList_GetImageCount(list) > index) ImageList_Draw(list, index, dc, 0, 0, ILD_NORMAL);
    else DrawFolder(dc, isOpenFile);
}

// The drawn image greyed: every non-white pixel becomes a light grey of its
// own brightness, so the shape stays readable however much of the square it fills.
void DrawDisabled(HDC dc) {
    for (int y = 0; y < kGlyphSize; ++y)
        for (int x = 0; x < kGlyphSize; ++x) {
            COLORREF pixel = GetPixel(dc, x, y);
            if (pixel == kWhite) continue;
            int brightness = (GetRValue(pixel) * 30 + GetGValue(pixel) * 59 + GetBValue(pixel) * 11) / 100;
            auto grey = static_cast<BYTE>(112 + brightness * 128 / 255);
            SetPixel(dc, x, y, RGB(grey, grey, grey));
        }
}

}  // namespace

ImageListPtr BuildFilePathGlyphs() {
    ImageListPtr glyphs(ImageList_Create(kGlyphSize, kGlyphSize, ILC_COLOR24 | ILC_MASK, 4, 0));
    // The toolbar, the temporary list and the work bitmap are all released on
    // every path out, also when a step fails.
    WindowPtr toolbar(CreateWindowExA(0, TOOLBARCLASSNAMEA, nullptr, 0, 0, 0, 0, 0, nullptr, nullptr,
                                      GetModuleHandleA(nullptr), nullptr));
    // 32 bits: the system images carry an alpha channel that a 24-bit list would turn black.
    ImageListPtr system(ImageList_Create(kGlyphSize, kGlyphSize, ILC_COLOR32 | ILC_MASK, 0, 32));
    WorkBitmap work;

    work.AddMasked(glyphs.get(), [](HDC dc) { DrawTextGlyph(dc, "…", 9); });
    work.AddMasked(glyphs.get(), [](HDC dc) { DrawTextGlyph(dc, "▼", 7); });

    if (toolbar) {
        SendMessageA(toolbar.get(), TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
        SendMessageA(toolbar.get(), TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(system.get()));
        TBADDBITMAP standard{HINST_COMMCTRL, IDB_STD_SMALL_COLOR};
        SendMessageA(toolbar.get(), TB_ADDBITMAP, 0, reinterpret_cast<LPARAM>(&standard));
        TBADDBITMAP history{HINST_COMMCTRL, IDB_HIST_SMALL_COLOR};
        SendMessageA(toolbar.get(), TB_ADDBITMAP, 0, reinterpret_cast<LPARAM>(&history));
        SendMessageA(toolbar.get(), TB_SETIMAGELIST, 0, 0);
    }
    HIMAGELIST images = system.get();
    work.AddMasked(glyphs.get(), [images](HDC dc) { DrawListImage(dc, images, kStdFileOpen, true); });
    work.AddMasked(glyphs.get(), [images](HDC dc) { DrawListImage(dc, images, kHistAddToFavorites, false); });
    return glyphs;
}

BitmapPtr RenderGlyph(HIMAGELIST glyphs, int index, bool enabled) {
    WindowDc screen(nullptr);
    BitmapPtr glyph(CreateCompatibleBitmap(screen.get(), kGlyphSize, kGlyphSize));
    MemoryDcPtr dc(CreateCompatibleDC(screen.get()));
    SelectGuard selected(dc.get(), glyph.get());
    RECT all{0, 0, kGlyphSize, kGlyphSize};
    FillRect(dc.get(), &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    ImageList_Draw(glyphs, index, dc.get(), 0, 0, ILD_NORMAL);
    if (!enabled) DrawDisabled(dc.get());
    // The button takes the bottom-left pixel's colour as transparent; an image
    // reaching that corner would otherwise punch its own colour out of itself.
    SetPixel(dc.get(), 0, kGlyphSize - 1, kWhite);
    return glyph;
}

}  // namespace gui
