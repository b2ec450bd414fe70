#include "FilePathEdit.h"

#include "FilePathGlyphs.h"
#include "PathText.h"
#include "Platform.h"

#include <windowsx.h>

namespace gui {
namespace {

constexpr int kMaxPathLength = 260;

int ButtonWidth() { return GetSystemMetrics(SM_CXVSCROLL); }

bool IsLineBreakOrTab(WPARAM character) { return character == '\r' || character == '\n' || character == '\t'; }

// Only the first line of pasted text is taken: the edit holds one path.
std::string ClipboardFirstLine(HWND owner) {
    std::string text;
    if (!IsClipboardFormatAvailable(CF_TEXT) || !OpenClipboard(owner)) return text;
    if (HANDLE data = GetClipboardData(CF_TEXT)) {
        if (auto* chars = static_cast<const char*>(GlobalLock(data))) {
            text = chars;
            GlobalUnlock(data);
        }
    }
    CloseClipboard();
    return text.substr(0, text.find_first_of("\r\n"));
}

}  // namespace

TFilePathEdit::TFilePathEdit(TControl& parent, const TRect& bounds)
    : TEdit(parent, bounds, ES_MULTILINE | ES_AUTOHSCROLL), faultColor_(clWindow) {
    glyphs_ = BuildFilePathGlyphs();
    CreateHandle();
    HandleCreated();
    SetReferType(rtDot);
}

TFilePathEdit::~TFilePathEdit() {
    surfaceDc_.reset();  // given back while the window still exists
}

void TFilePathEdit::HandleCreated() {
    Perform(EM_LIMITTEXT, kMaxPathLength);
    surfaceDc_ = WindowDc(Handle());
    surfaceFont_ = Font().CreateHandle();
    UpdateTextRect();
    buttonEnabled_ = Enabled();
}

void TFilePathEdit::DestroyingHandle() { surfaceDc_.reset(); }

void TFilePathEdit::SetFaultColor(TColor color) {
    faultColor_ = color;
    Invalidate();
}

void TFilePathEdit::SetCustomDraw(bool customDraw) {
    customDraw_ = customDraw;
    Invalidate();
}

void TFilePathEdit::SetReferType(TReferType type) {
    referType_ = type;
    DrawButtonGlyph();
}

int TFilePathEdit::GlyphIndex() const {
    switch (referType_) {
    case rtDot: return 0;
    case rtDropDown: return 1;
    case rtShowOpen: return 2;
    default: return 3;
    }
}

RECT TFilePathEdit::ButtonRect() const {
    RECT client = ClientRect();
    client.left = client.right - ButtonWidth();
    return client;
}

void TFilePathEdit::DrawButtonGlyph() {
    glyph_ = RenderGlyph(glyphs_.get(), GlyphIndex(), Enabled());
    if (HandleAllocated()) InvalidateRect(Handle(), nullptr, TRUE);
}

void TFilePathEdit::UpdateTextRect() {
    if (!HandleAllocated()) return;
    RECT area = ClientRect();
    area.right -= ButtonWidth();
    Perform(EM_SETRECTNP, 0, reinterpret_cast<LPARAM>(&area));
}

void TFilePathEdit::ClickButton() { ReferTo(this); }

void TFilePathEdit::KeyDown(WORD& key, TShiftState shift) {
    TEdit::KeyDown(key, shift);
    if (key == VK_RETURN && shift.None()) ClickButton();
}

void TFilePathEdit::FontChanged() {
    TEdit::FontChanged();
    surfaceFont_ = Font().CreateHandle();
    UpdateTextRect();
}

void TFilePathEdit::EnabledChanged() {
    TEdit::EnabledChanged();
    DrawButtonGlyph();
    buttonEnabled_ = Enabled();
}

void TFilePathEdit::PaintButton(HDC dc) {
    RECT button = ButtonRect();
    UINT state = DFCS_BUTTONPUSH | (buttonPressed_ ? DFCS_PUSHED : 0) | (buttonEnabled_ ? 0 : DFCS_INACTIVE);
    DrawFrameControl(dc, &button, DFC_BUTTON, state);
    MemoryDcPtr glyphDc(CreateCompatibleDC(dc));
    SelectGuard selected(glyphDc.get(), glyph_.get());
    // The glyph's bottom-left pixel gives the transparent colour.
    COLORREF transparent = GetPixel(glyphDc.get(), 0, kGlyphSize - 1);
    int offset = buttonPressed_ ? 1 : 0;
    int x = button.left + (button.right - button.left - kGlyphSize) / 2 + offset;
    int y = button.top + (button.bottom - button.top - kGlyphSize) / 2 + offset;
    TransparentBlt(dc, x, y, kGlyphSize, kGlyphSize, glyphDc.get(), 0, 0, kGlyphSize, kGlyphSize, transparent);
}

void TFilePathEdit::PaintUnfocused() {
    HDC dc = surfaceDc_.get();
    if (!dc) return;
    RECT area = ClientRect();
    area.right -= ButtonWidth();
    const std::string path = Text();
    const bool exists = !path.empty() && (platform::FileExists(path) || platform::DirectoryExists(path));
    BrushPtr background(CreateSolidBrush(ColorToRGB(exists ? clWindow : faultColor_)));
    FillRect(dc, &area, background.get());
    SelectGuard font(dc, surfaceFont_.get());
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, ColorToRGB(Enabled() ? clWindowText : clGrayText));
    // DT_NOPREFIX: an ampersand is part of the path, not a mnemonic, so the
    // painted path is the real one.
    DrawPathText(dc, path, area, DT_PATH_ELLIPSIS | DT_NOPREFIX);
}

LRESULT TFilePathEdit::WndProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_PAINT: {
        LRESULT result = TEdit::WndProc(message, wParam, lParam);
        if (!Focused() && customDraw_) PaintUnfocused();
        if (surfaceDc_) PaintButton(surfaceDc_.get());
        return result;
    }
    case WM_SIZE: {
        LRESULT result = TEdit::WndProc(message, wParam, lParam);
        UpdateTextRect();
        return result;
    }
    case WM_SETFOCUS: {
        LRESULT result = TEdit::WndProc(message, wParam, lParam);
        if (AutoSelect) SelectAll();
        Invalidate();
        return result;
    }
    case WM_KILLFOCUS: {
        LRESULT result = TEdit::WndProc(message, wParam, lParam);
        Invalidate();
        return result;
    }
    case WM_GETDLGCODE:
        // Return and Tab stay with the window's dialog-key handling.
        return TEdit::WndProc(message, wParam, lParam) & ~static_cast<LRESULT>(DLGC_WANTALLKEYS | DLGC_WANTTAB | DLGC_WANTMESSAGE);
    case WM_CHAR:
        if (IsLineBreakOrTab(wParam)) return 0;
        break;
    case WM_PASTE: {
        std::string line = ClipboardFirstLine(Handle());
        if (!ReadOnly()) Perform(EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(line.c_str()));
        return 0;
    }
    case WM_SETCURSOR: {
        POINT point;
        GetCursorPos(&point);
        ScreenToClient(Handle(), &point);
        RECT button = ButtonRect();
        if (PtInRect(&button, point)) {
            SetCursor(LoadCursor(nullptr, IDC_ARROW));
            return TRUE;
        }
        break;
    }
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: {
        POINT point{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
        RECT button = ButtonRect();
        if (!PtInRect(&button, point)) break;
        if (buttonEnabled_) {
            buttonTracking_ = buttonPressed_ = true;
            SetCapture(Handle());
            InvalidateRect(Handle(), &button, FALSE);
        }
        return 0;
    }
    case WM_MOUSEMOVE:
        if (buttonTracking_) {
            POINT point{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
            RECT button = ButtonRect();
            bool inside = PtInRect(&button, point) != FALSE;
            if (inside != buttonPressed_) {
                buttonPressed_ = inside;
                InvalidateRect(Handle(), &button, FALSE);
            }
            return 0;
        }
        break;
    case WM_LBUTTONUP:
        if (buttonTracking_) {
            bool clicked = buttonPressed_;
            buttonTracking_ = buttonPressed_ = false;
            ReleaseCapture();
            Invalidate();
            if (clicked) ReferTo(this);
            return 0;
        }
        break;
    case WM_CAPTURECHANGED:
        if (buttonTracking_) {
            buttonTracking_ = buttonPressed_ = false;
            Invalidate();
        }
        break;
    default:
        break;
    }
    return TEdit::WndProc(message, wParam, lParam);
}

}  // namespace gui
